#include "platform/ProfileFile.h"

#include "platform/TextFile.h"

#include <QFile>
#include <QHash>

#include <optional>
#include <vector>

namespace merivane {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool IsBlankOrTab(QChar c) {
    return c == u' ' || c == u'\t';
}

QString TrimBlanksAndTabs(const QString& text) {
    int start = 0;
    int end = text.size();
    while (start < end && IsBlankOrTab(text[start])) {
        ++start;
    }
    while (end > start && IsBlankOrTab(text[end - 1])) {
        --end;
    }
    return text.mid(start, end - start);
}

QString WithoutLeadingBlanks(const QString& text) {
    int start = 0;
    while (start < text.size() && IsBlankOrTab(text[start])) {
        ++start;
    }
    return text.mid(start);
}

enum class Encoding { Utf8, Utf8Bom, Ansi };

struct Line {
    QString Text;
    QString End;  // the line's own line end ("" for a last line without one)
};

enum class Kind { Blank, Comment, Header, Entry };

struct Parsed {
    Kind What;
    QString Name;  // the section name of a header, the trimmed key of an entry
    bool HasEquals = false;
};

Parsed Classify(const QString& text) {
    QString trimmed = TrimBlanksAndTabs(text);
    if (trimmed.isEmpty()) {
        return {Kind::Blank, QString()};
    }
    if (trimmed.startsWith(u';')) {
        return {Kind::Comment, QString()};
    }
    if (trimmed.startsWith(u'[')) {
        int close = trimmed.lastIndexOf(u']');
        if (close > 0) {
            return {Kind::Header, TrimBlanksAndTabs(trimmed.mid(1, close - 1))};
        }
    }
    int eq = trimmed.indexOf(u'=');
    if (eq < 0) {
        return {Kind::Entry, trimmed, false};
    }
    return {Kind::Entry, TrimBlanksAndTabs(trimmed.left(eq)), true};
}

QString ValueOf(const QString& text) {
    QString trimmed = TrimBlanksAndTabs(text);
    QString value = TrimBlanksAndTabs(trimmed.mid(trimmed.indexOf(u'=') + 1));
    int nul = value.indexOf(QChar(0));
    if (nul >= 0) {
        value = value.left(nul);
    }
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    return value;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A profile file in memory, line by line, as it will be written back.
class Document {
  public:
    static Document Load(const QString& path) {
        Document doc;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return doc;
        }
        doc.m_exists = true;
        QByteArray bytes = file.readAll();
        QString text = DecodeText(bytes);
        doc.m_encoding = bytes.startsWith("\xEF\xBB\xBF") ? Encoding::Utf8Bom
                         : (text.toUtf8() == bytes)       ? Encoding::Utf8
                                                          : Encoding::Ansi;
        int start = 0;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' || text[i] == u'\n') {
                int endLength = (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
                doc.m_lines.push_back({text.mid(start, i - start), text.mid(i, endLength)});
                i += endLength - 1;
                start = i + 1;
            }
        }
        if (start < text.size()) {
            doc.m_lines.push_back({text.mid(start), QString()});
        }
        return doc;
    }

    bool Exists() const { return m_exists; }
    std::vector<Line>& Lines() { return m_lines; }
    const std::vector<Line>& Lines() const { return m_lines; }

    // [first, end) of the lines that belong to each copy of the section (headers excluded).
    std::vector<std::pair<int, int>> SectionCopies(const QString& section) const {
        std::vector<std::pair<int, int>> copies;
        const int n = static_cast<int>(m_lines.size());
        for (int i = 0; i < n; ++i) {
            Parsed p = Classify(m_lines[i].Text);
            if (p.What == Kind::Header && SameName(p.Name, section)) {
                int end = i + 1;
                while (end < n && Classify(m_lines[end].Text).What != Kind::Header) {
                    ++end;
                }
                copies.emplace_back(i + 1, end);
                i = end - 1;
            }
        }
        return copies;
    }

    // Where a line added to the section goes: after its last non-blank line.
    int InsertionPoint(std::pair<int, int> copy) const {
        int at = copy.second;
        while (at > copy.first && Classify(m_lines[at - 1].Text).What == Kind::Blank) {
            --at;
        }
        return at;
    }

    void Insert(int at, const QStringList& texts) {
        // A last line without its own line end gets one before anything follows it.
        if (at > 0 && m_lines[at - 1].End.isEmpty()) {
            m_lines[at - 1].End = kCrLf;
        }
        std::vector<Line> added;
        for (const QString& text : texts) {
            added.push_back({text, kCrLf});
        }
        m_lines.insert(m_lines.begin() + at, added.begin(), added.end());
    }

    void Append(const QStringList& texts) { Insert(static_cast<int>(m_lines.size()), texts); }

    bool Save(const QString& path) const {
        QString text;
        for (const Line& line : m_lines) {
            text += line.Text + line.End;
        }
        QByteArray bytes;
        bool encoded = false;
        if (m_encoding == Encoding::Ansi) {
            bytes = EncodeWindows1252(text, &encoded);
        }
        if (!encoded) {
            // UTF-8 files stay UTF-8; text the old code page cannot hold makes the whole file UTF-8.
            bytes =
                (m_encoding == Encoding::Utf8Bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
        }
        return WriteFileAtomically(path, bytes, nullptr);
    }

  private:
    bool m_exists = false;
    Encoding m_encoding = Encoding::Utf8;
    std::vector<Line> m_lines;
};

QString CutTo(const QString& text, int bufferSize) {
    return bufferSize <= 0 ? QString() : text.left(bufferSize - 1);
}

QString OneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

}  // namespace

namespace ProfileFile {

QString Fallback(const QString& defaultValue, int bufferSize);

QString ReadString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize) {
    return Snapshot(path).ReadString(section, key, defaultValue, bufferSize);
}

struct Snapshot::Data {
    Document Doc;
    QHash<QString, std::pair<int, int>> FirstCopies;  // lower-case section name -> its lines
};

Snapshot::Snapshot(const QString& path) : m_data(std::make_unique<Data>()) {
    m_data->Doc = Document::Load(path);
    const auto& lines = m_data->Doc.Lines();
    const int n = static_cast<int>(lines.size());
    QString current;
    int start = -1;
    auto close = [&](int end) {
        if (start >= 0 && !m_data->FirstCopies.contains(current)) {
            m_data->FirstCopies.insert(current, {start, end});
        }
    };
    for (int i = 0; i < n; ++i) {
        Parsed p = Classify(lines[i].Text);
        if (p.What == Kind::Header) {
            close(i);
            current = p.Name.toLower();
            start = i + 1;
        }
    }
    close(n);
}

Snapshot::~Snapshot() = default;
Snapshot::Snapshot(Snapshot&&) noexcept = default;

QString Snapshot::ReadString(const QString& section, const QString& key, const QString& defaultValue,
                             int bufferSize) const {
    if (m_data->FirstCopies.isEmpty()) {
        return Fallback(defaultValue, bufferSize);  // no file, or no section: asked once per catalogued file
    }
    const QString wantedKey = TrimBlanksAndTabs(key);
    auto copy = m_data->FirstCopies.constFind(TrimBlanksAndTabs(section).toLower());
    if (copy != m_data->FirstCopies.constEnd() && !wantedKey.isEmpty()) {
        const auto& lines = m_data->Doc.Lines();
        for (int i = copy->first; i < copy->second; ++i) {
            Parsed p = Classify(lines[i].Text);
            if (p.What == Kind::Entry && p.HasEquals && SameName(p.Name, wantedKey)) {
                return CutTo(ValueOf(lines[i].Text), bufferSize);
            }
        }
    }
    return Fallback(defaultValue, bufferSize);
}

// The default is read like a value: trailing blanks go, quotes around it go.
QString Fallback(const QString& defaultValue, int bufferSize) {
    QString fallback = defaultValue;
    while (!fallback.isEmpty() && IsBlankOrTab(fallback.back())) {
        fallback.chop(1);
    }
    if (fallback.size() >= 2 && (fallback.front() == u'"' || fallback.front() == u'\'') &&
        fallback.back() == fallback.front()) {
        fallback = fallback.mid(1, fallback.size() - 2);
    }
    return CutTo(fallback, bufferSize);
}

QStringList ReadSection(const QString& path, const QString& section, int bufferSize) {
    Document doc = Document::Load(path);
    auto copies = doc.SectionCopies(TrimBlanksAndTabs(section));
    QStringList entries;
    if (copies.empty()) {
        return entries;
    }
    for (int i = copies[0].first; i < copies[0].second; ++i) {
        const QString& text = doc.Lines()[i].Text;
        Parsed p = Classify(text);
        if (p.What != Kind::Entry) {
            continue;
        }
        if (!p.HasEquals) {
            entries << p.Name;
            continue;
        }
        QString trimmed = TrimBlanksAndTabs(text);
        entries << p.Name + u'=' + TrimBlanksAndTabs(trimmed.mid(trimmed.indexOf(u'=') + 1));
    }
    // Each entry is followed by a NUL and the list by one more; what does not fit is cut
    // after bufferSize - 2 characters, which may leave a shortened or an empty last entry.
    QString flat = entries.join(QChar(0)) + QChar(0);
    if (entries.isEmpty() || flat.size() + 1 <= bufferSize) {
        return entries;
    }
    if (bufferSize < 2) {
        return {};
    }
    return flat.left(bufferSize - 2).split(QChar(0));
}

bool WriteString(const QString& path, const QString& section, const QString& key, const QString& value) {
    const QString wantedSection = TrimBlanksAndTabs(section);
    const QString wantedKey = TrimBlanksAndTabs(key);
    if (wantedKey.isEmpty()) {
        return false;
    }
    const QString newValue = WithoutLeadingBlanks(OneLine(value));
    Document doc = Document::Load(path);
    auto copies = doc.SectionCopies(wantedSection);
    if (copies.empty()) {
        doc.Append({u'[' + OneLine(wantedSection) + u']', OneLine(wantedKey) + u'=' + newValue});
        return doc.Save(path);
    }
    for (int i = copies[0].first; i < copies[0].second; ++i) {
        Line& line = doc.Lines()[i];
        Parsed p = Classify(line.Text);
        if (p.What == Kind::Entry && SameName(p.Name, wantedKey)) {
            if (p.HasEquals && ValueOf(line.Text) == TrimBlanksAndTabs(newValue)) {
                return true;  // already so: the line keeps its spacing
            }
            line.Text = p.Name + u'=' + newValue;
            return doc.Save(path);
        }
    }
    doc.Insert(doc.InsertionPoint(copies[0]), {OneLine(wantedKey) + u'=' + newValue});
    return doc.Save(path);
}

bool WriteSection(const QString& path, const QString& section, const QStringList& lines) {
    const QString wantedSection = TrimBlanksAndTabs(section);
    QStringList entries;
    for (const QString& line : lines) {
        QString one = OneLine(line);
        int eq = one.indexOf(u'=');
        if (eq >= 0) {
            entries << TrimBlanksAndTabs(one.left(eq)) + u'=' + WithoutLeadingBlanks(one.mid(eq + 1));
        }
    }
    Document doc = Document::Load(path);
    auto copies = doc.SectionCopies(wantedSection);
    if (copies.empty()) {
        if (entries.isEmpty()) {
            return true;
        }
        doc.Append(QStringList{u'[' + OneLine(wantedSection) + u']'} + entries);
        return doc.Save(path);
    }
    // Remove the key lines of every copy, from the last copy back so the indexes hold.
    std::optional<int> firstKeyLine;
    auto& all = doc.Lines();
    for (auto copy = copies.rbegin(); copy != copies.rend(); ++copy) {
        for (int i = copy->second - 1; i >= copy->first; --i) {
            if (Classify(all[i].Text).What == Kind::Entry) {
                if (copy == std::prev(copies.rend())) {
                    firstKeyLine = i;
                }
                all.erase(all.begin() + i);
            }
        }
    }
    if (!entries.isEmpty()) {
        // Where the first key was; else after what the section still holds.
        std::pair<int, int> first = doc.SectionCopies(wantedSection)[0];
        int at = firstKeyLine && *firstKeyLine <= first.second ? *firstKeyLine : doc.InsertionPoint(first);
        doc.Insert(at, entries);
    }
    return doc.Save(path);
}

}  // namespace ProfileFile

}  // namespace merivane
