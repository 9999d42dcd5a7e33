#include "settings/Variant.h"

#include "settings/DateText.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace merivane {

std::optional<double> ParseNumberText(const QString& input) {
    static const QRegularExpression kDecimal(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    static const QRegularExpression kHex(QStringLiteral(R"(^&[Hh]([0-9A-Fa-f]{1,8})$)"));
    QString text = input.trimmed();
    // A number is a hex literal, or digits with at most a sign, a point and an exponent:
    // most texts asked about (four letters of each catalogued file's name) are neither, and
    // need no pattern match.
    if (!text.startsWith(u'&') &&
        (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) ||
         std::any_of(text.begin(), text.end(), [](QChar c) {
             return !c.isDigit() && c != u'+' && c != u'-' && c != u'.' && c != u'e' && c != u'E';
         }))) {
        return std::nullopt;
    }
    if (kDecimal.match(text).hasMatch()) {
        bool ok = false;
        double value = text.toDouble(&ok);
        if (ok && std::isfinite(value)) {
            return value;
        }
        return std::nullopt;
    }
    auto hex = kHex.match(text);
    if (hex.hasMatch()) {
        auto bits = static_cast<std::uint32_t>(hex.captured(1).toULongLong(nullptr, 16));
        // Hex literals of up to 4 digits are 16-bit, longer ones 32-bit, both signed.
        if (hex.capturedLength(1) <= 4) {
            return static_cast<double>(static_cast<std::int16_t>(bits));
        }
        return static_cast<double>(static_cast<std::int32_t>(bits));
    }
    return std::nullopt;
}

namespace {
// Half to even (the default rounding mode), as the original's integer conversions round;
// nothing when the result does not fit T.
template <class T>
std::optional<T> RoundInto(std::optional<double> number) {
    if (!number) {
        return std::nullopt;
    }
    double rounded = std::nearbyint(*number);
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(rounded);
}

QString NumberText(double value) {
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        return QString::number(static_cast<long long>(value));
    }
    return QString::number(value, 'g', 15);
}
}  // namespace

std::optional<double> Variant::ToNumber() const {
    switch (m_kind) {
        case Kind::Integer:
        case Kind::Long:
            return static_cast<double>(std::get<std::int32_t>(m_payload));
        case Kind::Boolean:
            return std::get<bool>(m_payload) ? -1.0 : 0.0;
        case Kind::Date:
        case Kind::Double:
            return std::get<double>(m_payload);
        case Kind::Text:
            return ParseNumberText(std::get<QString>(m_payload));
        case Kind::Empty:
            return 0.0;
        case Kind::TextArray:
            return std::nullopt;
    }
    return std::nullopt;
}

bool Variant::IsNumeric() const {
    switch (m_kind) {
        case Kind::Integer:
        case Kind::Long:
        case Kind::Double:
            return true;
        case Kind::Text:
            return ParseNumberText(std::get<QString>(m_payload)).has_value();
        default:
            return false;
    }
}

QString Variant::ToText() const {
    switch (m_kind) {
        case Kind::Empty:
            return QString();
        case Kind::Integer:
        case Kind::Long:
            return QString::number(std::get<std::int32_t>(m_payload));
        case Kind::Boolean:
            return std::get<bool>(m_payload) ? QStringLiteral("True") : QStringLiteral("False");
        case Kind::Date:
            return GeneralDateText(std::get<double>(m_payload));
        case Kind::Double:
            return NumberText(std::get<double>(m_payload));
        case Kind::Text:
            return std::get<QString>(m_payload);
        case Kind::TextArray:
            return std::get<QStringList>(m_payload).join(QChar(0));
    }
    return QString();
}

QStringList Variant::ToTextArray() const {
    if (m_kind == Kind::TextArray) {
        return std::get<QStringList>(m_payload);
    }
    return IsEmpty() ? QStringList() : QStringList{ToText()};
}

std::optional<std::int32_t> Variant::ToLong() const {
    return RoundInto<std::int32_t>(ToNumber());
}

std::optional<std::int16_t> Variant::ToInteger() const {
    return RoundInto<std::int16_t>(ToNumber());
}

std::optional<bool> Variant::ToBoolean() const {
    if (m_kind == Kind::Text) {
        QString text = std::get<QString>(m_payload).trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            return true;
        }
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    if (m_kind == Kind::Date) {
        return std::nullopt;
    }
    auto number = ToNumber();
    return number ? std::optional<bool>(*number != 0.0) : std::nullopt;
}

std::optional<SerialDate> Variant::ToDate() const {
    switch (m_kind) {
        case Kind::Text:
            return ParseDateText(std::get<QString>(m_payload));
        case Kind::Boolean:
        case Kind::TextArray:
            return std::nullopt;
        default:
            return ToNumber();
    }
}

}  // namespace merivane
