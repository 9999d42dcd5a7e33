#pragma once

#include "settings/Variant.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for Qt text types.
inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown = text;
    shown.replace(QChar(0), QStringLiteral("\\0"));
    *os << '"' << shown.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (int i = 0; i < list.size(); ++i) {
        *os << (i ? ", " : "");
        PrintTo(list[i], os);
    }
    *os << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << "bytes(" << bytes.toHex(' ').toStdString() << ')';
}

namespace merivane {
inline void PrintTo(const Variant& value, std::ostream* os) {
    *os << "Variant(kind " << static_cast<int>(value.kind()) << ", ";
    ::PrintTo(value.ToText(), os);
    *os << ')';
}
}  // namespace merivane
