#include "settings/Variant.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(VariantConversions, TextForms) {
    EXPECT_EQ(Variant::Boolean(true).ToText(), "True");
    EXPECT_EQ(Variant::Boolean(false).ToText(), "False");
    EXPECT_EQ(Variant::Integer(-5).ToText(), "-5");
    EXPECT_EQ(Variant::Long(100000).ToText(), "100000");
    EXPECT_EQ(Variant::Double(2.5).ToText(), "2.5");
    EXPECT_EQ(Variant::Double(1234.0).ToText(), "1234");
    EXPECT_EQ(Variant::Date(46365.75).ToText(), "12/9/2026 6:00:00 PM");
    EXPECT_EQ(Variant::TextArray({"a", "b"}).ToText(), QString("a") + QChar(0) + "b");
    EXPECT_EQ(Variant().ToText(), "");
}

struct IntegerCase {
    Variant Input;
    std::optional<std::int16_t> AsInteger;
    std::optional<std::int32_t> AsLong;
};

TEST(VariantConversions, IntegersRoundHalfToEvenAndRefuseWhatDoesNotFit) {
    const IntegerCase cases[] = {
        {Variant::Text("42"), 42, 42},
        {Variant::Text("  -7 "), -7, -7},
        {Variant::Text("2.5"), 2, 2},
        {Variant::Text("3.5"), 4, 4},
        {Variant::Text("-2.5"), -2, -2},
        {Variant::Text("40000"), std::nullopt, 40000},
        {Variant::Text("-32768"), -32768, -32768},
        {Variant::Text("32768"), std::nullopt, 32768},
        {Variant::Text("3000000000"), std::nullopt, std::nullopt},
        {Variant::Text("&HFFFF"), -1, -1},
        {Variant::Text("1e3"), 1000, 1000},
        {Variant::Text("twelve"), std::nullopt, std::nullopt},
        {Variant::Text(""), std::nullopt, std::nullopt},
        {Variant::Text("12abc"), std::nullopt, std::nullopt},
        {Variant::Boolean(true), -1, -1},
        {Variant::Long(70000), std::nullopt, 70000},
        {Variant(), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Input.ToText().toStdString());
        EXPECT_EQ(c.Input.ToInteger(), c.AsInteger);
        EXPECT_EQ(c.Input.ToLong(), c.AsLong);
    }
}

TEST(VariantConversions, Booleans) {
    EXPECT_EQ(Variant::Text("True").ToBoolean(), true);
    EXPECT_EQ(Variant::Text("false").ToBoolean(), false);
    EXPECT_EQ(Variant::Text(" TRUE ").ToBoolean(), true);
    EXPECT_EQ(Variant::Text("1").ToBoolean(), true);
    EXPECT_EQ(Variant::Text("0").ToBoolean(), false);
    EXPECT_EQ(Variant::Long(-1).ToBoolean(), true);
    EXPECT_EQ(Variant::Text("yes").ToBoolean(), std::nullopt);
    EXPECT_EQ(Variant::Text("").ToBoolean(), std::nullopt);
}

TEST(VariantConversions, NumericMeansANumberOrATextThatReadsAsOne) {
    EXPECT_TRUE(Variant::Integer(1).IsNumeric());
    EXPECT_TRUE(Variant::Double(1.5).IsNumeric());
    EXPECT_TRUE(Variant::Text(" 12.5 ").IsNumeric());
    EXPECT_FALSE(Variant::Text("12 monkeys").IsNumeric());
    EXPECT_FALSE(Variant::Boolean(true).IsNumeric());
    EXPECT_FALSE(Variant::Date(1.0).IsNumeric());
}

}  // namespace
}  // namespace merivane
