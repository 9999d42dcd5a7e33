#include "calendar/KeywordMatcher.h"

#include "calendar/EventTable.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace merivane {
namespace {

std::vector<KeywordEntry> Keys(const QStringList& keys) {
    std::vector<KeywordEntry> list;
    for (const QString& key : keys) {
        list.push_back({key, static_cast<int>(list.size())});
    }
    return list;
}

TEST(KeywordMatcher, FindsTheFirstKeyInListOrderNotInTextOrder) {
    const auto list = Keys({" new year s day ", " christmas ", "xmas", "he", "she", "hers", "s"});
    KeywordMatcher matcher(list);
    const std::pair<const char*, int> cases[] = {
        {" merry xmas and a happy new year s day ", 0},
        {" christmas xmas ", 1},
        {" ushers ", 3},  // "she", "he", "hers" and "s" all occur: "he" comes first in the list
        {" sxmas ", 2},
        {" zzz ", -1},
        {" ss ", 6},
        {"", -1},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(matcher.FirstMatch(text), expected);
        EXPECT_EQ(FirstMatchByScan(list, text), expected);
    }
    EXPECT_EQ(KeywordMatcher().FirstMatch("anything"), -1);
    EXPECT_EQ(KeywordMatcher(Keys({"abc", "", "b"})).FirstMatch("zzz"),
              1);  // an empty key matches every text
    EXPECT_EQ(KeywordMatcher(Keys({"é", "ß", "春节"})).FirstMatch(" 春节快乐 ß "), 1);
}

// Small alphabets make keys overlap and share suffixes, where an automaton goes wrong first.
QString RandomText(std::mt19937& rng, const QString& alphabet, int maxLength) {
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    QString text;
    for (int n = length(rng); n > 0; --n) {
        text += alphabet[pick(rng)];
    }
    return text;
}

TEST(KeywordMatcher, AgreesWithThePlainScanOnRandomTablesAndNames) {
    std::mt19937 rng(20261209);
    const QString alphabets[] = {"ab", "ab ", "abc .", "aeiou rstln", "xyz\u00e9\u6625 "};
    int matched = 0;
    for (int table = 0; table < 300; ++table) {
        const QString& alphabet = alphabets[table % std::size(alphabets)];
        QStringList keys;
        int count = 1 + static_cast<int>(rng() % 60);
        for (int k = 0; k < count; ++k) {
            keys << RandomText(rng, alphabet, 1 + table % 7);
        }
        if (table % 10 == 0) {
            keys << keys.value(0);  // a key twice
        }
        const auto list = Keys(keys);
        KeywordMatcher matcher(list);
        for (int name = 0; name < 200; ++name) {
            QString text = u' ' + RandomText(rng, alphabet, 30) + u' ';
            int expected = FirstMatchByScan(list, text);
            ASSERT_EQ(matcher.FirstMatch(text), expected)
                << "table " << table << " text " << text.toStdString();
            matched += expected >= 0;
        }
    }
    EXPECT_GT(matched, 1000);  // the tables were not all misses
}

TEST(KeywordMatcher, AgreesWithThePlainScanOnTheShippedTable) {
    auto events = ParseEventTable(
        "Christmas\tx\t12\t25\t14\txmas;santa;noel\r\nChristmas Eve\tx\t12\t24\t1\r\nNew Year's "
        "Day\tx\t1\t1\t2\tnew "
        "year\r\nWinter\ts\t3\t0\t0\t snow ;frost\r\nSpring\ts\t0\t0\t0\tblossom\r\nMay\th\t5\t0\t0\r\nMay "
        "Day\t1\t5\t1\t1\r\n");
    const auto list = BuildKeywordIndex(events);
    KeywordMatcher matcher(list);
    for (const char* name : {"Christmas Eve Snow", "May Day Blossom", "Frosty New Year", "Noel", "Snowdrop",
                             "may", "Santa's Sleigh", "nothing at all"}) {
        QString key = u' ' + QString(name).toLower() + u' ';
        EXPECT_EQ(matcher.FirstMatch(key), FirstMatchByScan(list, key)) << name;
    }
}

}  // namespace
}  // namespace merivane
