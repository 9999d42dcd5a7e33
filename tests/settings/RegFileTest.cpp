#include "settings/RegFile.h"

#include "platform/SqliteRegistryStore.h"

#include <QFile>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

constexpr RegRoot kHkcu = RegRoot::CurrentUser;

class RegFileTest : public ::testing::Test {
  protected:
    std::unique_ptr<SqliteRegistryStore> NewStore(const QString& name) {
        return SqliteRegistryStore::Open(dir.path() + "/" + name, [](const QString&) {});
    }
    QString Export(RegistryStore& store, const QString& key = {}) {
        QString error;
        auto text = ExportRegistry(store, key, &error);
        EXPECT_TRUE(text.has_value()) << error.toStdString();
        return text.value_or(QString());
    }
    void Fill(RegistryStore& store) {
        const QString k = R"(Software\Brennock\Merivane\Setup)";
        store.CreateKey(kHkcu, k);
        store.SetValue(kHkcu, k, "ThemePath", kRegSz, QByteArray(R"(C:\Themes\"Best"\)") + '\0');
        store.SetValue(kHkcu, k, "ChangesPerDay", kRegDword, QByteArray("\x1e\0\0\0", 4));
        store.SetValue(kHkcu, k, "Sound", kRegExpandSz, QByteArray("%WinDir%\\a.wav\0", 15));
        store.SetValue(kHkcu, k, "List", kRegMultiSz, QByteArray("a\0bc\0\0", 6));
        store.SetValue(kHkcu, k, "Bin", kRegBinary, QByteArray("\x01\xff", 2));
        store.SetValue(kHkcu, k, "", kRegSz, QByteArray("d\0", 2));
        store.SetValue(kHkcu, k, "TwoLines", kRegSz, QByteArray("x\ny\0", 4));
        store.SetValue(kHkcu, k, "NoNul", kRegSz, QByteArray("abc"));
        store.SetValue(kHkcu, k, "Qword", 11, QByteArray(8, '\x02'));
        store.SetValue(kHkcu, k, "ShortDword", kRegDword, QByteArray("\x01\x02", 2));
        store.SetValue(kHkcu, k, "Café", kRegSz, QByteArray("thé\0", 5));
        store.SetValue(kHkcu, k, "Long", kRegBinary, QByteArray(40, '\xab'));
        store.CreateKey(RegRoot::LocalMachine, R"(Software\Brennock\Merivane)");
        store.SetValue(RegRoot::LocalMachine, R"(Software\Brennock\Merivane)", "TotalThemeChanges", kRegDword,
                       QByteArray("\x05\0\0\0", 4));
    }

    QTemporaryDir dir;
};

TEST_F(RegFileTest, ExportWritesTheRegistryEditorForm) {
    auto store = NewStore("a.sqlite");
    Fill(*store);
    QString text = Export(*store, R"(HKCU\software\brennock\merivane\setup)");
    const QString expected = QStringLiteral(
        "REGEDIT4\n\n"
        "[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\n"
        "\"ThemePath\"=\"C:\\\\Themes\\\\\\\"Best\\\"\\\\\"\n"
        "\"ChangesPerDay\"=dword:0000001e\n"
        "\"Sound\"=hex(2):25,57,69,6e,44,69,72,25,5c,61,2e,77,61,76,00\n"
        "\"List\"=hex(7):61,00,62,63,00,00\n"
        "\"Bin\"=hex:01,ff\n"
        "@=\"d\"\n"
        "\"TwoLines\"=hex(1):78,0a,79,00\n"
        "\"NoNul\"=hex(1):61,62,63\n"
        "\"Qword\"=hex(b):02,02,02,02,02,02,02,02\n"
        "\"ShortDword\"=hex(4):01,02\n"
        "\"Café\"=\"thé\"\n"
        "\"Long\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
        "  ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab\n\n");
    EXPECT_EQ(text, expected);
}

TEST_F(RegFileTest, ExportWithoutAKeyCoversEveryRootAndImportRestoresItExactly) {
    auto original = NewStore("a.sqlite");
    Fill(*original);
    QString text = Export(*original);
    EXPECT_TRUE(text.contains(
        "[HKEY_LOCAL_MACHINE\\Software\\Brennock\\Merivane]\n\"TotalThemeChanges\"=dword:00000005"));

    auto copy = NewStore("b.sqlite");
    QString error;
    ASSERT_TRUE(ImportRegistry(*copy, text, &error)) << error.toStdString();
    EXPECT_EQ(Export(*copy), text);
    const QString k = R"(Software\Brennock\Merivane\Setup)";
    for (const auto& value : original->Values(kHkcu, k)) {
        SCOPED_TRACE(value.Name.toStdString());
        auto back = copy->QueryValue(kHkcu, k, value.Name);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->Type, value.Type);
        EXPECT_EQ(back->Data, value.Data);
    }
}

TEST_F(RegFileTest, ImportAddsAndReplacesAndTouchesNothingElse) {
    auto store = NewStore("a.sqlite");
    Fill(*store);
    const QString k = R"(Software\Brennock\Merivane\Setup)";
    QString error;
    ASSERT_TRUE(ImportRegistry(*store,
                               "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\n"
                               "\"ChangesPerDay\"=\"4\"\n\"New\"=dword:7fffffff\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Empty]\n",
                               &error))
        << error.toStdString();
    EXPECT_EQ(store->QueryValue(kHkcu, k, "ChangesPerDay")->Type, kRegSz);
    EXPECT_EQ(store->QueryValue(kHkcu, k, "New")->Data, QByteArray("\xff\xff\xff\x7f", 4));
    EXPECT_EQ(store->QueryValue(kHkcu, k, "Bin")->Data, QByteArray("\x01\xff", 2));
    EXPECT_TRUE(store->KeyExists(kHkcu, R"(Software\Empty)"));
    EXPECT_EQ(store->Values(kHkcu, k).size(), 13u);
}

TEST_F(RegFileTest, AFileMadeByHandOnWindowsImports) {
    QFile file(QStringLiteral(MERIVANE_TEST_DATA_DIR) + "/hand-made.reg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    auto store = NewStore("a.sqlite");
    QString error;
    ASSERT_TRUE(ImportRegistry(*store, QString::fromUtf8(file.readAll()), &error)) << error.toStdString();
    const QString k = R"(Software\Brennock\Merivane\Setup)";
    EXPECT_EQ(store->QueryValue(kHkcu, k, "ThemePath")->Data,
              QByteArray(R"(C:\WINDOWS\Resources\Themes\)") + '\0');
    EXPECT_EQ(store->QueryValue(kHkcu, k, "ChangesPerDay")->Data, QByteArray("\x04\0\0\0", 4));
    EXPECT_EQ(store->QueryValue(kHkcu, k, "Blob")->Data.size(), 26);
    EXPECT_EQ(store->QueryValue(kHkcu, k, "")->Data, QByteArray("default text\0", 13));
    EXPECT_EQ(store->QueryValue(RegRoot::ClassesRoot, R"(.theme\shell\open\command)", "")->Data,
              QByteArray(R"("C:\Program Files\Plus!\Themes.exe" /s "%1")") + '\0');
}

TEST_F(RegFileTest, AMalformedFileChangesNothingAndNamesTheLine) {
    struct Case {
        const char* Name;
        const char* Text;
        const char* Line;
    };
    const Case cases[] = {
        {"no header", "[HKEY_CURRENT_USER\\x]\n", "line 1:"},
        {"a later format", "Windows Registry Editor Version 5.00\n", "line 1:"},
        {"value before a key", "REGEDIT4\n\"a\"=\"b\"\n", "line 2:"},
        {"unknown root", "REGEDIT4\n\n[HKEY_USERS\\x]\n", "line 3:"},
        {"unclosed key", "REGEDIT4\n[HKEY_CURRENT_USER\\x\n", "line 2:"},
        {"leading backslash", "REGEDIT4\n[HKEY_CURRENT_USER\\\\x]\n", "line 2:"},
        {"key deletion", "REGEDIT4\n[-HKEY_CURRENT_USER\\x]\n", "line 2:"},
        {"value deletion", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=-\n", "line 3:"},
        {"unclosed text", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=\"b\n", "line 3:"},
        {"text after the text", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=\"b\" c\n", "line 3:"},
        {"bad dword", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"ok\"=\"1\"\n\"a\"=dword:123456789\n", "line 4:"},
        {"bad hex byte", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=hex:01,2g\n", "line 3:"},
        {"hex byte too wide", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=hex:100\n", "line 3:"},
        {"no equals sign", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\" \"b\"\n", "line 3:"},
        {"unquoted name", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\na=\"b\"\n", "line 3:"},
        {"wrapped line counts from its start", "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=hex:01,\\\n  02,zz\n",
         "line 3:"},
        {"empty file", "", "line 1:"},
    };
    auto store = NewStore("a.sqlite");
    Fill(*store);
    const QString before = Export(*store);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QString error;
        EXPECT_FALSE(ImportRegistry(*store, QString::fromUtf8(c.Text), &error));
        EXPECT_TRUE(error.startsWith(c.Line)) << error.toStdString();
        EXPECT_EQ(Export(*store), before);
    }
}

TEST_F(RegFileTest, ExportOfAMissingKeyOrUnknownRootSaysSo) {
    auto store = NewStore("a.sqlite");
    QString error;
    EXPECT_FALSE(ExportRegistry(*store, R"(HKEY_CURRENT_USER\Software\Nothing)", &error).has_value());
    EXPECT_TRUE(error.contains("does not exist"));
    EXPECT_FALSE(ExportRegistry(*store, R"(HKEY_USERS\Software)", &error).has_value());
    EXPECT_TRUE(error.contains("HKEY_CURRENT_USER"));
}

}  // namespace
}  // namespace merivane
