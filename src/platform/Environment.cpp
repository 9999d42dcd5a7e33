#include "platform/Environment.h"

namespace merivane {

namespace {
const QPair<QString, QString>* FindIgnoringCase(const QList<QPair<QString, QString>>& entries,
                                                const QString& name) {
    for (const auto& entry : entries) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
            return &entry;
        }
    }
    return nullptr;
}
}  // namespace

QString ExpandEnvironmentText(const Environment& env, const QString& text) {
    const QList<QPair<QString, QString>> entries = env.Entries();
    QString result;
    int pos = 0;
    while (pos < text.size()) {
        int open = text.indexOf(u'%', pos);
        int close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            result += text.mid(pos);
            break;
        }
        result += text.mid(pos, open - pos);
        const auto* entry = FindIgnoringCase(entries, text.mid(open + 1, close - open - 1));
        if (close > open + 1 && entry != nullptr) {
            result += entry->second;
            pos = close + 1;
        } else {
            // The closing '%' may open the next name, as Windows reads "%x%NAME%".
            result += text.mid(open, close - open);
            pos = close;
        }
    }
    return result;
}

}  // namespace merivane
