#include "calendar/Words.h"

namespace merivane {

namespace {
bool KeptSingleByte(char16_t c) {
    return c == 46 || (c >= 48 && c <= 57) || (c >= 65 && c <= 90) || (c >= 97 && c <= 122) ||
           (c >= 192 && c <= 214) || (c >= 216 && c <= 246) || (c >= 249 && c <= 253);
}
}  // namespace

QString NormalizeWords(const QString& text) {
    QString out = text;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        char16_t c = text[i].unicode();
        if (c < 256) {
            if (!KeptSingleByte(c)) {
                out[i] = u' ';
            }
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            char32_t code = QChar::surrogateToUcs4(c, text[i + 1].unicode());
            if (!QChar::isLetterOrNumber(code)) {
                out[i] = u' ';
                out[i + 1] = u' ';
            }
            ++i;
            continue;
        }
        if (!QChar::isLetterOrNumber(char32_t{c}) || QChar::isSurrogate(c)) {
            out[i] = u' ';
        }
    }
    return out;
}

QString TrimBlanks(const QString& text) {
    int start = 0;
    int end = text.size();
    while (start < end && text[start] == u' ') {
        ++start;
    }
    while (end > start && text[end - 1] == u' ') {
        --end;
    }
    return text.mid(start, end - start);
}

}  // namespace merivane
