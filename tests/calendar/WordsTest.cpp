#include "calendar/Words.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(NormalizeWords, KeepsLettersDigitsAndDotsOnly) {
    const std::pair<QString, QString> cases[] = {
        {"New Year's Day", "New Year s Day"},
        {"St. Patrick's Day", "St. Patrick s Day"},
        {"Eid al-Fitr_2026", "Eid al Fitr 2026"},
        {"a\tb(c)[d]{e}", "a b c  d  e "},
        {"", ""},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(input.toStdString());
        EXPECT_EQ(NormalizeWords(input), expected);
    }
}

TEST(NormalizeWords, SingleByteRangeFollowsTheCodeTable) {
    QString kept;
    QString blanked;
    for (char16_t c = 0; c < 256; ++c) {
        bool keep = NormalizeWords(QString(QChar(c))) != QStringLiteral(" ");
        (keep ? kept : blanked) += QChar(c);
    }
    QString expectedKept = QStringLiteral(".0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    for (char16_t c = 192; c <= 253; ++c) {
        if (c != 215 && c != 247 && c != 248 && c != 254) {
            expectedKept += QChar(c);
        }
    }
    EXPECT_EQ(kept, expectedKept);
    // The few letters the code table leaves out: multiplication and division signs, ø, þ, ÿ.
    for (char16_t c : {u'\u00D7', u'\u00F7', u'\u00F8', u'\u00FE', u'\u00FF', u'\u00AA', u'\u00B5'}) {
        EXPECT_TRUE(blanked.contains(QChar(c))) << int(c);
    }
}

TEST(NormalizeWords, BeyondSingleBytesEveryLetterAndDigitStays) {
    EXPECT_EQ(NormalizeWords(QStringLiteral("Šťastný Nový rok")), QStringLiteral("Šťastný Nový rok"));
    EXPECT_EQ(NormalizeWords(QStringLiteral("春节—快乐")), QStringLiteral("春节 快乐"));
    EXPECT_EQ(NormalizeWords(QStringLiteral("Ramaḍān ١٤٤٧")), QStringLiteral("Ramaḍān ١٤٤٧"));
    // Outside the basic plane: a letter stays, a symbol becomes blanks; the length never changes.
    QString mathLetter = QString::fromUcs4(U"\U0001D400x");
    EXPECT_EQ(NormalizeWords(mathLetter), mathLetter);
    QString emoji = QString::fromUcs4(U"a\U0001F384b");
    EXPECT_EQ(NormalizeWords(emoji), QStringLiteral("a  b"));
}

}  // namespace
}  // namespace merivane
