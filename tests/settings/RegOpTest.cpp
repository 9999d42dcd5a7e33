#include "settings/RegOp.h"

#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

const QString kKey = QStringLiteral(R"(Software\Brennock\Merivane\Test)");

class RegOpTest : public ::testing::Test {
  protected:
    RegOp Bound(const QString& key = kKey) {
        RegOp reg(sys.Get());
        reg.SetKey(key);
        return reg;
    }
    std::optional<RegStoredValue> Stored(const QString& name, const QString& key = kKey) {
        return sys.store->QueryValue(RegRoot::CurrentUser, key, name);
    }
    void Put(const QString& name, std::uint32_t type, const QByteArray& data) {
        sys.store->CreateKey(RegRoot::CurrentUser, kKey);
        sys.store->SetValue(RegRoot::CurrentUser, kKey, name, type, data);
    }

    test::TestPlatform sys;
};

TEST_F(RegOpTest, ReadingAMissingKeyCreatesItAndGivesEmpty) {
    RegOp reg = Bound();
    EXPECT_TRUE(reg.Value("Anything").IsEmpty());
    EXPECT_TRUE(sys.store->KeyExists(RegRoot::CurrentUser, kKey));
}

TEST_F(RegOpTest, NewValuesTakeTheTypeOfWhatIsWritten) {
    RegOp reg = Bound();
    reg.SetValue("Flag", Variant::Boolean(true));
    reg.SetValue("Count", Variant::Integer(30));
    reg.SetValue("Big", Variant::Long(-2));
    reg.SetValue("When", Variant::Date(46365.75));
    reg.SetValue("List", Variant::TextArray({"a", "bc"}));
    reg.SetValue("Text", Variant::Text("plain"));
    reg.SetValue("Ratio", Variant::Double(0.25));

    struct Expect {
        const char* Name;
        std::uint32_t Type;
        QByteArray Data;
    };
    const Expect expected[] = {
        {"Flag", kRegSz, QByteArray("True\0", 5)},
        {"Count", kRegDword, QByteArray("\x1e\0\0\0", 4)},
        {"Big", kRegDword, QByteArray("\xfe\xff\xff\xff", 4)},
        {"When", kRegSz, QByteArray("12/9/2026 6:00:00 PM\0", 21)},
        {"List", kRegMultiSz, QByteArray("a\0bc\0\0", 6)},
        {"Text", kRegSz, QByteArray("plain\0", 6)},
        {"Ratio", kRegSz, QByteArray("0.25\0", 5)},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.Name);
        auto stored = Stored(e.Name);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->Type, e.Type);
        EXPECT_EQ(stored->Data, e.Data);
    }
}

TEST_F(RegOpTest, WritesFollowTheTypeAlreadyStored) {
    Put("WasNumber", kRegDword, QByteArray(4, '\0'));
    Put("WasText", kRegSz, QByteArray("x\0", 2));
    Put("WasBinary", kRegBinary, QByteArray("\x01", 1));
    Put("WasMulti", kRegMultiSz, QByteArray("a\0\0", 3));
    Put("WasNumberToo", kRegDword, QByteArray("\x07\0\0\0", 4));
    RegOp reg = Bound();
    reg.SetValue("WasNumber", Variant::Boolean(true));
    reg.SetValue("WasText", Variant::Integer(42));
    reg.SetValue("WasBinary", Variant::Text("AB"));
    reg.SetValue("WasMulti", Variant::Text("single"));
    reg.SetValue("WasNumberToo", Variant::Text("not a number"));

    EXPECT_EQ(Stored("WasNumber")->Type, kRegDword);
    EXPECT_EQ(Stored("WasNumber")->Data, QByteArray("\xff\xff\xff\xff", 4));
    EXPECT_EQ(Stored("WasText")->Type, kRegSz);
    EXPECT_EQ(Stored("WasText")->Data, QByteArray("42\0", 3));
    EXPECT_EQ(Stored("WasBinary")->Type, kRegBinary);
    EXPECT_EQ(Stored("WasBinary")->Data, QByteArray("AB"));  // no terminator
    EXPECT_EQ(Stored("WasMulti")->Type, kRegSz);
    EXPECT_EQ(Stored("WasNumberToo")->Data, QByteArray("\x07\0\0\0", 4));  // left alone
}

TEST_F(RegOpTest, AValueOfAnUnsupportedTypeIsNeverOverwritten) {
    Put("Odd", kRegNone, QByteArray("zz"));
    Put("Qword", 11, QByteArray(8, '\x01'));
    RegOp quiet = Bound();
    quiet.SetValue("Odd", Variant::Text("new"));
    EXPECT_EQ(Stored("Odd")->Type, kRegNone);
    EXPECT_TRUE(sys.dialogs.messages.empty());

    RegOp loud = Bound();
    loud.SetOptions(RegOp::kShowErrors);
    loud.SetValue("Qword", Variant::Integer(1));
    EXPECT_EQ(Stored("Qword")->Data, QByteArray(8, '\x01'));
    ASSERT_EQ(sys.dialogs.messages.size(), 1u);
    EXPECT_EQ(sys.dialogs.messages[0].Text,
              "Existing value has unsupported data type and will not be overwritten");
    EXPECT_EQ(sys.dialogs.messages[0].Title, "Registry Error");
    EXPECT_EQ(sys.dialogs.messages[0].Icon, MessageIcon::Exclamation);
}

TEST_F(RegOpTest, EnvironmentNamesMakeExpandableText) {
    sys.env.Set("HOME", "/home/u");
    sys.env.Set("WinDir", R"(C:\WINDOWS)");
    struct Case {
        const char* Text;
        std::uint32_t Type;
    };
    const Case cases[] = {
        {R"(%windir%\Media\ding.wav)", kRegExpandSz},  // the name matches without regard to case
        {"%HOME%/x", kRegExpandSz},
        {"100% sure", kRegSz},
        {"%UNDEFINED% and %also%", kRegSz},
        {"%%", kRegSz},
    };
    RegOp reg = Bound();
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        QString name = QString::number(i++);
        reg.SetValue(name, Variant::Text(c.Text));
        EXPECT_EQ(Stored(name)->Type, c.Type);
    }
    // Stored as written; expanded on reading only when asked.
    EXPECT_EQ(reg.Value("0").ToText(), R"(%windir%\Media\ding.wav)");
    RegOp expanding = Bound();
    expanding.SetOptions(RegOp::kExpandOnRead);
    EXPECT_EQ(expanding.Value("0").ToText(), R"(C:\WINDOWS\Media\ding.wav)");
    EXPECT_EQ(expanding.Value("1").ToText(), "/home/u/x");
}

TEST_F(RegOpTest, EachStoredTypeReadsAsSpecified) {
    Put("Sz", kRegSz, QByteArray("abc\0junk\0", 9));
    Put("NoTerminator", kRegSz, QByteArray("abc"));
    Put("Dword", kRegDword, QByteArray("\x78\x56\x34\x12", 4));
    Put("ShortDword", kRegDword, QByteArray("\x05\x01", 2));
    Put("LongDword", kRegDword, QByteArray(8, '\x01'));
    Put("Multi", kRegMultiSz, QByteArray("a\0bc\0\0zz\0\0", 10));
    Put("Bin", kRegBinary, QByteArray("\x01\x02", 2));
    Put("Other", 11, QByteArray(8, '\0'));
    Put("Pad", kRegSz, QByteArray("0123456789\0", 11));  // the key's longest data: 11 bytes

    RegOp reg = Bound();
    EXPECT_EQ(reg.Value("Sz"), Variant::Text("abc"));
    EXPECT_EQ(reg.Value("NOTERMINATOR"), Variant::Text("abc"));
    EXPECT_EQ(reg.Value("Dword"), Variant::Long(0x12345678));
    EXPECT_EQ(reg.Value("ShortDword"), Variant::Long(0x0105));
    EXPECT_TRUE(reg.Value("LongDword").IsEmpty());
    EXPECT_EQ(reg.Value("Multi"),
              Variant::Text(QString("a") + QChar(0) + "bc"));  // up to the first double NUL
    EXPECT_EQ(reg.Value("Other"), Variant::Text("(unsupported data format)"));
    // Binary data comes with the whole enumeration buffer: padded to the longest data.
    EXPECT_EQ(reg.Value("Bin").ToText(),
              QString::fromLatin1(QByteArray("\x01\x02", 2) + QByteArray(9, '\0')));

    RegOp arrays = Bound();
    arrays.SetOptions(RegOp::kMultiAsArray);
    EXPECT_EQ(arrays.Value("Multi"), Variant::TextArray({"a", "bc"}));
}

TEST_F(RegOpTest, NumbersAsTextAndTheDefaultValueStoreText) {
    RegOp reg = Bound();
    reg.SetOptions(RegOp::kNumbersAsText);
    reg.SetValue("Number", Variant::Integer(7));
    reg.SetValue("NumericText", Variant::Text("12"));
    EXPECT_EQ(Stored("Number")->Type, kRegSz);
    EXPECT_EQ(Stored("Number")->Data, QByteArray("7\0", 2));

    RegOp plain = Bound();
    plain.SetValue("", Variant::Integer(5));
    EXPECT_EQ(Stored("")->Type, kRegSz);
    EXPECT_EQ(Stored("")->Data, QByteArray("5\0", 2));
    EXPECT_EQ(plain.Value(""), Variant::Text("5"));
}

TEST_F(RegOpTest, AReadAfterAWriteSeesTheNewValue) {
    RegOp reg = Bound();
    reg.SetValue("V", Variant::Text("one"));
    EXPECT_EQ(reg.Value("v").ToText(), "one");
    reg.SetValue("V", Variant::Text("two"));
    EXPECT_EQ(reg.Value("V").ToText(), "two");
    reg.SetValue("V", Variant());  // an empty value writes nothing
    EXPECT_EQ(reg.Value("V").ToText(), "two");
    EXPECT_TRUE(reg.DeleteValue("V"));
    EXPECT_TRUE(reg.Value("V").IsEmpty());
    EXPECT_FALSE(reg.DeleteValue("V"));
}

TEST_F(RegOpTest, ChangingTheRootOrKeyRebindsTheObject) {
    RegOp reg = Bound();
    reg.SetValue("Where", Variant::Text("user"));
    reg.SetRoot(RegRoot::LocalMachine);
    EXPECT_TRUE(reg.Value("Where").IsEmpty());
    reg.SetValue("Where", Variant::Text("machine"));
    reg.SetRoot(RegRoot::CurrentUser);
    EXPECT_EQ(reg.Value("Where").ToText(), "user");
    reg.SetKey(R"(Software\Other)");
    EXPECT_TRUE(reg.Value("Where").IsEmpty());
    reg.SetKey("");  // ignored
    EXPECT_EQ(reg.Key(), R"(Software\Other)");
}

TEST_F(RegOpTest, DeleteKeyTakesTheSubkeysAndStaysOnTheParent) {
    sys.store->CreateKey(RegRoot::CurrentUser, R"(Software\Brennock\Merivane\Setup)");
    sys.store->CreateKey(RegRoot::CurrentUser, R"(Software\Brennock\Merivane\Stats)");
    sys.store->CreateKey(RegRoot::CurrentUser, R"(Software\Brennock\Other)");
    RegOp reg = Bound(R"(Software\Brennock\Merivane)");
    EXPECT_EQ(reg.KeyCount(), 2);
    EXPECT_EQ(reg.AllKeys(), (QStringList{"Setup", "Stats"}));
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_EQ(reg.Key(), R"(Software\Brennock)");
    EXPECT_FALSE(sys.store->KeyExists(RegRoot::CurrentUser, R"(Software\Brennock\Merivane)"));
    EXPECT_EQ(reg.AllKeys(), QStringList{"Other"});

    RegOp top = Bound("Software");
    EXPECT_FALSE(top.DeleteKey());  // no parent to stay on
    EXPECT_TRUE(sys.store->KeyExists(RegRoot::CurrentUser, "Software"));
}

TEST_F(RegOpTest, ErrorsShowOnlyWithOptionEight) {
    RegOp unbound(sys.Get());
    EXPECT_TRUE(unbound.Value("x").IsEmpty());
    EXPECT_EQ(unbound.ValueCount(), 0);
    EXPECT_TRUE(sys.dialogs.messages.empty());

    RegOp loud(sys.Get());
    loud.SetOptions(RegOp::kShowErrors);
    EXPECT_FALSE(loud.DeleteKey());
    loud.SetRoot(0x80000009u);
    loud.SetKey("Software");
    EXPECT_TRUE(loud.Value("x").IsEmpty());
    EXPECT_EQ(loud.KeyCount(), 0);
    ASSERT_GE(sys.dialogs.messages.size(), 2u);
    EXPECT_EQ(sys.dialogs.messages[0].Text, "No Key name specified!");
    EXPECT_EQ(sys.dialogs.messages[1].Text, "Could not open Registry Key!");
}

TEST_F(RegOpTest, OptionsOutsideZeroToFifteenAreIgnored) {
    RegOp reg = Bound();
    reg.SetOptions(RegOp::kNumbersAsText);
    reg.SetOptions(16);
    reg.SetOptions(-1);
    reg.SetValue("N", Variant::Integer(3));
    EXPECT_EQ(Stored("N")->Type, kRegSz);  // option 1 is still in force
}

TEST_F(RegOpTest, CountsAndAllValues) {
    RegOp reg = Bound();
    EXPECT_EQ(reg.ValueCount(), 0);
    EXPECT_TRUE(reg.AllValues().empty());
    reg.SetValue("B", Variant::Integer(1));
    reg.SetValue("A", Variant::Text("x"));
    EXPECT_EQ(reg.ValueCount(), 2);
    auto all = reg.AllValues();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].first, "B");
    EXPECT_EQ(all[1].second, Variant::Text("x"));
}

}  // namespace
}  // namespace merivane
