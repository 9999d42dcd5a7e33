#include "platform/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace merivane {

namespace {
// Windows-1252 differs from Latin-1 in 0x80..0x9F; the five unused codes map to themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }
    QString ansi(bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        ansi[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return ansi;
}

QByteArray EncodeWindows1252(const QString& text, bool* ok) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    *ok = true;
    for (int i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes[i] = static_cast<char>(c);
            continue;
        }
        const char16_t* found = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
        if (found == std::end(kCp1252High)) {
            *ok = false;
            return {};
        }
        bytes[i] = static_cast<char>(0x80 + (found - std::begin(kCp1252High)));
    }
    return bytes;
}

std::optional<QString> ReadTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return DecodeText(file.readAll());
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        lines << text.mid(start);
    }
    return lines;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

QString CutForMessage(const QString& text) {
    constexpr int kMost = 120;
    constexpr int kEnds = 40;
    if (text.size() <= kMost) {
        return text;
    }
    return text.left(kEnds) + QStringLiteral("...(%1 characters)...").arg(text.size()) + text.right(kEnds);
}

QString LowerCase(const QString& text) {
    QString lower(text.size(), Qt::Uninitialized);
    QChar* out = lower.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 128) {
            return text.toLower();
        }
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return lower;
}

void SetHidden(const QString& path, bool hidden) {
    const QFileDevice::Permissions readable =
        QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(path,
                          hidden ? readable : readable | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

}  // namespace merivane
