#include "settings/RegFile.h"

#include "platform/TextFile.h"

#include <QRegularExpression>
#include <QStringConverter>

#include <vector>

namespace merivane {

namespace {

constexpr int kHexLineWidth = 77;

QString Quote(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

// A string value fits the quoted form when it is one line of valid text ending in its NUL.
bool FitsQuotedForm(const QByteArray& data) {
    if (data.isEmpty() || data.back() != '\0' || data.indexOf('\0') != data.size() - 1) {
        return false;
    }
    QByteArray body = data.left(data.size() - 1);
    if (body.contains('\r') || body.contains('\n')) {
        return false;
    }
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder.decode(body);
    return !decoder.hasError();
}

QString HexValue(const QString& prefix, const QByteArray& data) {
    QString out = prefix;
    int column = static_cast<int>(prefix.size());
    for (int i = 0; i < data.size(); ++i) {
        QString byte = QStringLiteral("%1").arg(static_cast<unsigned char>(data[i]), 2, 16, QChar(u'0'));
        bool last = i + 1 == data.size();
        if (column + 3 > kHexLineWidth && !last) {
            out += QStringLiteral("\\\n  ");
            column = 2;
        }
        out += byte;
        column += 2;
        if (!last) {
            out += u',';
            ++column;
        }
    }
    return out;
}

QString ValueLine(const RegStoredValue& value) {
    QString line = value.Name.isEmpty() ? QStringLiteral("@=") : Quote(value.Name) + u'=';
    if (value.Type == kRegSz && FitsQuotedForm(value.Data)) {
        return line + Quote(QString::fromUtf8(value.Data.left(value.Data.size() - 1)));
    }
    if (value.Type == kRegDword && value.Data.size() == 4) {
        quint32 number = static_cast<unsigned char>(value.Data[0]) |
                         (static_cast<quint32>(static_cast<unsigned char>(value.Data[1])) << 8) |
                         (static_cast<quint32>(static_cast<unsigned char>(value.Data[2])) << 16) |
                         (static_cast<quint32>(static_cast<unsigned char>(value.Data[3])) << 24);
        return line + QStringLiteral("dword:%1").arg(number, 8, 16, QChar(u'0'));
    }
    QString prefix =
        value.Type == kRegBinary ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(value.Type, 0, 16);
    return HexValue(line + prefix, value.Data);
}

void ExportKey(RegistryStore& store, RegRoot root, const QString& path, QString& out, bool always) {
    auto values = store.Values(root, path);
    if (always || !values.empty()) {
        out += u'[' + RootName(root) + (path.isEmpty() ? QString() : u'\\' + path) + QStringLiteral("]\n");
        for (const auto& value : values) {
            out += ValueLine(value) + u'\n';
        }
        out += u'\n';
    }
    for (const QString& sub : store.Subkeys(root, path)) {
        ExportKey(store, root, path.isEmpty() ? sub : path + u'\\' + sub, out, true);
    }
}

// The first spelling of each component, as the store keeps it.
QString StoredSpelling(RegistryStore& store, RegRoot root, const QStringList& parts) {
    QString path;
    for (const QString& part : parts) {
        QString spelt = part;
        for (const QString& sub : store.Subkeys(root, path)) {
            if (sub.compare(part, Qt::CaseInsensitive) == 0) {
                spelt = sub;
                break;
            }
        }
        path = path.isEmpty() ? spelt : path + u'\\' + spelt;
    }
    return path;
}

// --- import ---

struct PendingValue {
    RegRoot Root;
    QString Path;
    RegStoredValue Value;
};

struct Cursor {
    const QString& text;
    int pos = 0;
    bool AtEnd() const { return pos >= text.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : text[pos]; }
};

// A quoted string with \\ and \" escapes; the cursor stands on the opening quote.
std::optional<QString> ReadQuoted(Cursor& c) {
    if (c.Peek() != u'"') {
        return std::nullopt;
    }
    ++c.pos;
    QString out;
    while (!c.AtEnd()) {
        QChar ch = c.text[c.pos++];
        if (ch == u'"') {
            return out;
        }
        if (ch == u'\\' && !c.AtEnd()) {
            ch = c.text[c.pos++];
        }
        out += ch;
    }
    return std::nullopt;
}

std::optional<QByteArray> ReadHexBytes(const QString& list, QString* error) {
    QByteArray bytes;
    const QStringList items = list.split(u',');
    if (list.trimmed().isEmpty()) {
        return bytes;
    }
    for (const QString& item : items) {
        bool ok = false;
        QString digits = item.trimmed();
        uint value = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 2 || value > 255) {
            *error = QStringLiteral("\"%1\" is not a byte in hexadecimal").arg(CutForMessage(digits));
            return std::nullopt;
        }
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

std::optional<RegStoredValue> ParseValueLine(const QString& line, QString* error) {
    Cursor c{line};
    RegStoredValue value;
    if (c.Peek() == u'@') {
        ++c.pos;
    } else if (auto name = ReadQuoted(c)) {
        value.Name = *name;
    } else {
        *error = QStringLiteral("expected a quoted value name or @");
        return std::nullopt;
    }
    if (c.Peek() != u'=') {
        *error = QStringLiteral("expected = after the value name");
        return std::nullopt;
    }
    ++c.pos;
    QString rest = line.mid(c.pos).trimmed();
    if (rest.startsWith(u'"')) {
        Cursor s{rest};
        auto text = ReadQuoted(s);
        if (!text || !rest.mid(s.pos).trimmed().isEmpty()) {
            *error = QStringLiteral("the quoted text is not closed, or text follows it");
            return std::nullopt;
        }
        value.Type = kRegSz;
        value.Data = text->toUtf8() + QByteArray(1, '\0');
        return value;
    }
    static const QRegularExpression kDword(QStringLiteral(R"(^dword:([0-9A-Fa-f]{1,8})$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression kHex(QStringLiteral(R"(^hex(?:\(([0-9A-Fa-f]{1,8})\))?:(.*)$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (auto m = kDword.match(rest); m.hasMatch()) {
        quint32 number = m.captured(1).toUInt(nullptr, 16);
        value.Type = kRegDword;
        value.Data = QByteArray(4, '\0');
        for (int i = 0; i < 4; ++i) {
            value.Data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        }
        return value;
    }
    if (auto m = kHex.match(rest); m.hasMatch()) {
        value.Type = m.captured(1).isEmpty() ? kRegBinary : m.captured(1).toUInt(nullptr, 16);
        auto bytes = ReadHexBytes(m.captured(2), error);
        if (!bytes) {
            return std::nullopt;
        }
        value.Data = *bytes;
        return value;
    }
    if (rest == QLatin1String("-")) {
        *error =
            QStringLiteral("deleting values is not supported; only additions and replacements are imported");
        return std::nullopt;
    }
    *error = QStringLiteral("expected \"text\", dword:, hex: or hex(N): after =");
    return std::nullopt;
}

// Logical lines with their first physical line number; a line ending in '\' goes on.
std::vector<std::pair<int, QString>> LogicalLines(const QString& text) {
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    const QStringList lines = normal.split(u'\n');
    std::vector<std::pair<int, QString>> logical;
    for (int i = 0; i < lines.size(); ++i) {
        int first = i + 1;
        QString line = lines[i].trimmed();
        while (line.endsWith(u'\\') && !line.startsWith(u'[') && i + 1 < lines.size() &&
               line.contains(QStringLiteral("=hex"), Qt::CaseInsensitive)) {
            line.chop(1);
            line += lines[++i].trimmed();
        }
        logical.emplace_back(first, line);
    }
    return logical;
}

}  // namespace

std::optional<QString> ExportRegistry(RegistryStore& store, const QString& key, QString* error) {
    QString out = QStringLiteral("REGEDIT4\n\n");
    if (key.trimmed().isEmpty()) {
        for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine}) {
            ExportKey(store, root, QString(), out, false);
        }
        return out;
    }
    QString rootName = key.section(u'\\', 0, 0);
    auto root = RootFromName(rootName);
    auto parts = KeyPathComponents(key.mid(rootName.size() + 1));
    if (!root || !parts) {
        *error = QStringLiteral(
                     "%1 does not begin with HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE")
                     .arg(CutForMessage(key));
        return std::nullopt;
    }
    QString path = parts->join(u'\\');
    if (!store.KeyExists(*root, path)) {
        *error = QStringLiteral("the key %1 does not exist").arg(CutForMessage(key));
        return std::nullopt;
    }
    ExportKey(store, *root, StoredSpelling(store, *root, *parts), out, true);
    return out;
}

bool ImportRegistry(RegistryStore& store, const QString& input, QString* error) {
    QString text = input;
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    std::vector<std::pair<RegRoot, QString>> keys;
    std::vector<PendingValue> values;
    bool sawHeader = false;
    for (const auto& [number, line] : LogicalLines(text)) {
        auto fail = [&, number = number](const QString& why) {
            *error = QStringLiteral("line %1: %2").arg(number).arg(why);
            return false;
        };
        if (line.isEmpty() || line.startsWith(u';')) {
            continue;
        }
        if (!sawHeader) {
            if (line != QLatin1String("REGEDIT4")) {
                return fail(QStringLiteral("the file must begin with REGEDIT4"));
            }
            sawHeader = true;
            continue;
        }
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                return fail(QStringLiteral("a key line must end with ]"));
            }
            QString full = line.mid(1, line.size() - 2);
            if (full.startsWith(u'-')) {
                return fail(QStringLiteral(
                    "deleting keys is not supported; only additions and replacements are imported"));
            }
            QString rootName = full.section(u'\\', 0, 0);
            auto root = RootFromName(rootName);
            if (!root) {
                return fail(
                    QStringLiteral("%1 is not HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE")
                        .arg(CutForMessage(rootName)));
            }
            auto parts = KeyPathComponents(full.mid(rootName.size() + 1));
            if (!parts) {
                return fail(QStringLiteral("a key path must not begin with a backslash"));
            }
            keys.emplace_back(*root, parts->join(u'\\'));
            continue;
        }
        if (keys.empty()) {
            return fail(QStringLiteral("a value comes before any [key] line"));
        }
        QString why;
        auto value = ParseValueLine(line, &why);
        if (!value) {
            return fail(why);
        }
        values.push_back({keys.back().first, keys.back().second, *value});
    }
    if (!sawHeader) {
        *error = QStringLiteral("line 1: the file must begin with REGEDIT4");
        return false;
    }
    bool ok = store.Batch([&] {
        for (const auto& [root, path] : keys) {
            if (!store.CreateKey(root, path)) {
                return false;
            }
        }
        for (const auto& pending : values) {
            if (!store.SetValue(pending.Root, pending.Path, pending.Value.Name, pending.Value.Type,
                                pending.Value.Data)) {
                return false;
            }
        }
        return true;
    });
    if (!ok) {
        *error = QStringLiteral("the settings store could not be written; nothing was changed");
    }
    return ok;
}

}  // namespace merivane
