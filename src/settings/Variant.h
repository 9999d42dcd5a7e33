#pragma once

#include "platform/SerialDate.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>

namespace merivane {

// A value as the registry class reads and writes it: the kind decides how it is stored,
// and the conversions follow the original's rules (16-bit integers, the words True and
// False, dates in their fixed text form).
class Variant {
  public:
    enum class Kind { Empty, Integer, Long, Boolean, Date, Double, Text, TextArray };

    Variant() = default;
    static Variant Integer(std::int16_t value) {
        return Variant(Kind::Integer, Payload{static_cast<std::int32_t>(value)});
    }
    static Variant Long(std::int32_t value) { return Variant(Kind::Long, Payload{value}); }
    static Variant Boolean(bool value) { return Variant(Kind::Boolean, Payload{value}); }
    static Variant Date(SerialDate value) { return Variant(Kind::Date, Payload{value}); }
    static Variant Double(double value) { return Variant(Kind::Double, Payload{value}); }
    static Variant Text(const QString& value) { return Variant(Kind::Text, Payload{value}); }
    static Variant TextArray(const QStringList& value) { return Variant(Kind::TextArray, Payload{value}); }

    Kind kind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == Kind::Empty; }
    bool IsInteger() const { return m_kind == Kind::Integer || m_kind == Kind::Long; }
    // A number, or a text that reads as one.
    bool IsNumeric() const;

    // The text form: "True"/"False", a date in its fixed form, a number in decimal, an
    // array's elements joined by NUL. Empty gives "".
    QString ToText() const;
    QStringList ToTextArray() const;
    // Conversions that fail (a text that is no number, a number out of range) give nothing.
    std::optional<std::int32_t> ToLong() const;
    std::optional<std::int16_t> ToInteger() const;
    std::optional<bool> ToBoolean() const;
    std::optional<SerialDate> ToDate() const;

    bool operator==(const Variant& other) const = default;

  private:
    using Payload = std::variant<std::monostate, std::int32_t, bool, double, QString, QStringList>;
    Variant(Kind kind, Payload payload) : m_kind(kind), m_payload(std::move(payload)) {}
    std::optional<double> ToNumber() const;

    Kind m_kind = Kind::Empty;
    Payload m_payload;
};

// A decimal number as text (with optional sign, fraction and exponent, blanks around);
// "&H" hexadecimal is read too.
std::optional<double> ParseNumberText(const QString& text);

}  // namespace merivane
