#include "platform/SqliteRegistryStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

namespace merivane {
namespace {

constexpr RegRoot kHkcu = RegRoot::CurrentUser;

class RegistryStoreTest : public ::testing::Test {
  protected:
    std::unique_ptr<SqliteRegistryStore> Open() {
        return SqliteRegistryStore::Open(File(), [this](const QString& m) { warnings << m; });
    }
    QString File() const { return dir.path() + "/registry.sqlite"; }
    QStringList ValueNames(RegistryStore& store, const QString& key) {
        QStringList names;
        for (const auto& v : store.Values(kHkcu, key)) {
            names << v.Name;
        }
        return names;
    }

    QTemporaryDir dir;
    QStringList warnings;
};

TEST_F(RegistryStoreTest, KeyPathsFollowTheRegistryRules) {
    auto store = Open();
    // Intermediate keys come into being; trailing and doubled backslashes are harmless.
    EXPECT_TRUE(store->CreateKey(kHkcu, R"(a\b\c)"));
    EXPECT_TRUE(store->KeyExists(kHkcu, R"(a\b)"));
    EXPECT_TRUE(store->CreateKey(kHkcu, R"(t\)"));
    EXPECT_TRUE(store->KeyExists(kHkcu, "t"));
    EXPECT_TRUE(store->CreateKey(kHkcu, R"(d\\e)"));
    EXPECT_TRUE(store->KeyExists(kHkcu, R"(d\e)"));
    // A leading backslash is refused and creates nothing.
    EXPECT_FALSE(store->CreateKey(kHkcu, R"(\lead)"));
    EXPECT_FALSE(store->KeyExists(kHkcu, "lead"));
    // The empty path is the root itself, which always exists and cannot be deleted.
    EXPECT_TRUE(store->CreateKey(kHkcu, ""));
    EXPECT_FALSE(store->DeleteTree(kHkcu, ""));
    EXPECT_EQ(store->Subkeys(kHkcu, ""), (QStringList{"a", "d", "t"}));
}

TEST_F(RegistryStoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(kHkcu, R"(Software\Brennock)"));
    EXPECT_TRUE(store->CreateKey(kHkcu, R"(SOFTWARE\brennock\Merivane)"));
    EXPECT_EQ(store->Subkeys(kHkcu, "software"), QStringList{"Brennock"});

    ASSERT_TRUE(store->SetValue(kHkcu, "software", "MyValue", kRegSz, QByteArray("1\0", 2)));
    ASSERT_TRUE(store->SetValue(kHkcu, "SOFTWARE", "MYVALUE", kRegSz, QByteArray("2\0", 2)));
    auto value = store->QueryValue(kHkcu, "Software", "myvalue");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->Name, "MyValue");
    EXPECT_EQ(value->Data, QByteArray("2\0", 2));
    EXPECT_EQ(ValueNames(*store, "software"), QStringList{"MyValue"});
}

TEST_F(RegistryStoreTest, ValuesKeepTheOrderTheyWereFirstWritten) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(kHkcu, "k"));
    for (const char* name : {"b", "a", "C", "B2", "_x", "10", "9"}) {
        store->SetValue(kHkcu, "k", name, kRegDword, QByteArray(4, '\0'));
    }
    EXPECT_EQ(ValueNames(*store, "k"), (QStringList{"b", "a", "C", "B2", "_x", "10", "9"}));
    store->SetValue(kHkcu, "k", "a", kRegSz, QByteArray("x\0", 2));  // a rewrite keeps its place
    store->DeleteValue(kHkcu, "k", "b");
    store->SetValue(kHkcu, "k", "b", kRegSz, QByteArray("y\0", 2));  // delete and write: to the end
    EXPECT_EQ(ValueNames(*store, "k"), (QStringList{"a", "C", "B2", "_x", "10", "9", "b"}));
    EXPECT_EQ(store->QueryValue(kHkcu, "k", "a")->Type, kRegSz);  // the last write sets the type too
}

TEST_F(RegistryStoreTest, ValueBytesComeBackExactly) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(kHkcu, "k"));
    const QByteArray samples[] = {QByteArray(), QByteArray("\0", 1), QByteArray("a\0b\0", 4),
                                  QByteArray("\x01\x02\0\x03\xFF", 5), QByteArray("caf\xC3\xA9\0", 6)};
    int i = 0;
    for (const QByteArray& data : samples) {
        QString name = QString::number(i++);
        ASSERT_TRUE(store->SetValue(kHkcu, "k", name, kRegBinary, data));
        EXPECT_EQ(store->QueryValue(kHkcu, "k", name)->Data, data);
    }
    ASSERT_TRUE(store->SetValue(kHkcu, "k", "", kRegSz, QByteArray("d\0", 2)));  // the default value
    EXPECT_EQ(store->QueryValue(kHkcu, "k", "")->Data, QByteArray("d\0", 2));
    EXPECT_FALSE(store->QueryValue(kHkcu, "k", "nosuch").has_value());
    EXPECT_FALSE(store->SetValue(kHkcu, "missing key", "v", kRegSz, QByteArray("x\0", 2)));
}

TEST_F(RegistryStoreTest, KeyInfoCountsAndMeasures) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(kHkcu, R"(k\SubKeyName)"));
    store->SetValue(kHkcu, "k", "Name12345", kRegSz, QByteArray("0123456789\0", 11));
    store->SetValue(kHkcu, "k", "", kRegSz, QByteArray("d\0", 2));
    auto info = store->QueryInfo(kHkcu, "k");
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->SubkeyCount, 1);
    EXPECT_EQ(info->LongestSubkeyName, 10);
    EXPECT_EQ(info->ValueCount, 2);
    EXPECT_EQ(info->LongestValueName, 9);
    EXPECT_EQ(info->LongestValueData, 11);
    EXPECT_FALSE(store->QueryInfo(kHkcu, "nosuch").has_value());
}

TEST_F(RegistryStoreTest, DeletingKeys) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(kHkcu, R"(a\b\c)"));
    store->SetValue(kHkcu, R"(a\b\c)", "v", kRegSz, QByteArray("1\0", 2));
    ASSERT_TRUE(store->CreateKey(kHkcu, "ab"));  // shares a prefix, must survive a\...
    ASSERT_TRUE(store->CreateKey(kHkcu, R"(a]z)"));

    EXPECT_FALSE(store->DeleteKey(kHkcu, "a"));  // has subkeys
    EXPECT_TRUE(store->KeyExists(kHkcu, R"(a\b\c)"));
    EXPECT_TRUE(store->DeleteKey(kHkcu, R"(A\B\C)"));
    EXPECT_FALSE(store->KeyExists(kHkcu, R"(a\b\c)"));
    EXPECT_TRUE(store->KeyExists(kHkcu, R"(a\b)"));

    store->CreateKey(kHkcu, R"(a\b\c)");
    store->SetValue(kHkcu, R"(a\b\c)", "v", kRegSz, QByteArray("1\0", 2));
    EXPECT_TRUE(store->DeleteTree(kHkcu, "a"));
    EXPECT_FALSE(store->KeyExists(kHkcu, "a"));
    EXPECT_FALSE(store->KeyExists(kHkcu, R"(a\b\c)"));
    EXPECT_TRUE(store->Values(kHkcu, R"(a\b\c)").empty());
    EXPECT_TRUE(store->KeyExists(kHkcu, "ab"));
    EXPECT_TRUE(store->KeyExists(kHkcu, "a]z"));

    EXPECT_FALSE(store->DeleteKey(kHkcu, "nosuch"));
    EXPECT_FALSE(store->DeleteTree(kHkcu, "nosuch"));
    // A recreated key starts empty.
    store->CreateKey(kHkcu, R"(a\b\c)");
    EXPECT_TRUE(store->Values(kHkcu, R"(a\b\c)").empty());
}

TEST_F(RegistryStoreTest, RootsAreSeparateAndUnknownRootsNeverOpen) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(RegRoot::LocalMachine, "Software"));
    EXPECT_FALSE(store->KeyExists(kHkcu, "Software"));
    EXPECT_FALSE(store->CreateKey(static_cast<RegRoot>(0x80000005u), "x"));
}

TEST_F(RegistryStoreTest, ABatchLandsWholeOrNotAtAll) {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(kHkcu, "k"));
    bool landed = store->Batch([&] {
        store->SetValue(kHkcu, "k", "first", kRegSz, QByteArray("1\0", 2));
        return false;  // something later failed
    });
    EXPECT_FALSE(landed);
    EXPECT_FALSE(store->QueryValue(kHkcu, "k", "first").has_value());
    EXPECT_TRUE(
        store->Batch([&] { return store->SetValue(kHkcu, "k", "second", kRegSz, QByteArray("2\0", 2)); }));
    EXPECT_TRUE(store->QueryValue(kHkcu, "k", "second").has_value());
}

TEST_F(RegistryStoreTest, ValuesSurviveReopening) {
    {
        auto store = Open();
        store->CreateKey(kHkcu, R"(Software\Brennock\Merivane\Stats)");
        store->SetValue(kHkcu, R"(Software\Brennock\Merivane\Stats)", "LastFilenameUsed", kRegSz,
                        QByteArray("x.theme\0", 8));
    }
    auto store = Open();
    EXPECT_EQ(store->QueryValue(kHkcu, R"(software\brennock\merivane\stats)", "lastfilenameused")->Data,
              QByteArray("x.theme\0", 8));
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    ASSERT_NE(Open(), nullptr);  // the file exists before both start
    constexpr int kPerProcess = 1000;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            auto store = SqliteRegistryStore::Open(File(), [](const QString&) {});
            int failures = 0;
            for (int i = 0; i < kPerProcess; ++i) {
                QString key = QStringLiteral(R"(Shared\Key%1)").arg(i % 7);
                QString name = QStringLiteral("p%1-v%2").arg(c).arg(i);
                if (!store->CreateKey(kHkcu, key) ||
                    !store->SetValue(kHkcu, key, name, kRegSz, name.toUtf8() + QByteArray(1, '\0'))) {
                    ++failures;
                }
            }
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer saw a failed write";
    }
    auto store = Open();
    int total = 0;
    for (int k = 0; k < 7; ++k) {
        for (const auto& value : store->Values(kHkcu, QStringLiteral(R"(Shared\Key%1)").arg(k))) {
            EXPECT_EQ(value.Data, value.Name.toUtf8() + QByteArray(1, '\0'));
            ++total;
        }
    }
    EXPECT_EQ(total, 2 * kPerProcess);
    EXPECT_TRUE(warnings.isEmpty());
}

struct Damage {
    const char* Name;
    std::function<void(const QString&)> Apply;
};

TEST_F(RegistryStoreTest, ADamagedStoreIsMovedAsideAndAFreshOneMade) {
    const Damage damages[] = {
        {"not a database at all",
         [](const QString& file) {
             QFile f(file);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray("this is not a settings store\n").repeated(200));
         }},
        {"cut in half",
         [](const QString& file) {
             QFile f(file);
             f.open(QIODevice::ReadWrite);
             f.resize(f.size() / 2);
         }},
        {"header overwritten",
         [](const QString& file) {
             QFile f(file);
             f.open(QIODevice::ReadWrite);
             f.seek(0);
             f.write(QByteArray(100, '\x55'));
         }},
    };
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.Name);
        QTemporaryDir folder;
        QString file = folder.path() + "/registry.sqlite";
        {
            auto store = SqliteRegistryStore::Open(file, [](const QString&) {});
            store->CreateKey(kHkcu, R"(Software\Brennock\Merivane)");
            for (int i = 0; i < 200; ++i) {
                store->SetValue(kHkcu, R"(Software\Brennock\Merivane)", QString::number(i), kRegSz,
                                QByteArray(200, 'x'));
            }
        }
        damage.Apply(file);
        QFile damaged(file);
        damaged.open(QIODevice::ReadOnly);
        QByteArray damagedBytes = damaged.readAll();
        damaged.close();

        QStringList told;
        auto store = SqliteRegistryStore::Open(file, [&](const QString& m) { told << m; });
        ASSERT_NE(store, nullptr);
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].contains("moved to"));
        QStringList aside = QDir(folder.path()).entryList({"registry.sqlite.damaged-*"}, QDir::Files);
        ASSERT_GE(aside.size(), 1);
        QFile kept(folder.path() + "/" + aside.filter(QRegularExpression("damaged-[0-9-]+$")).value(0));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), damagedBytes);  // the user's data is kept as it was
        EXPECT_TRUE(store->CreateKey(kHkcu, "fresh"));
        EXPECT_TRUE(store->SetValue(kHkcu, "fresh", "v", kRegSz, QByteArray("1\0", 2)));
        EXPECT_FALSE(store->KeyExists(kHkcu, "Software"));
    }
}

TEST_F(RegistryStoreTest, ABusyStoreIsLeftAloneAndTheOpenFails) {
    {
        auto store = Open();
        store->CreateKey(kHkcu, "kept");
    }
    // Another program holds the store's write lock for longer than the open waits.
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(File().toUtf8().constData(), &holder), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
        SQLITE_OK);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);

    for (StoreAccess access : {StoreAccess::ReadWrite, StoreAccess::ReadOnly}) {
        warnings.clear();
        auto store = SqliteRegistryStore::Open(
            File(), [this](const QString& m) { warnings << m; }, access, 100);
        EXPECT_EQ(store, nullptr);
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains("in use by another program")) << warnings[0].toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);  // nothing moved aside or made
    }
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    auto store = Open();
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(store->KeyExists(kHkcu, "kept"));
}

TEST_F(RegistryStoreTest, AReadOnlyOpenWritesNoFile) {
    {
        // No store yet: an empty one in memory, and still no file.
        auto store = SqliteRegistryStore::Open(
            File(), [this](const QString& m) { warnings << m; }, StoreAccess::ReadOnly);
        ASSERT_NE(store, nullptr);
        EXPECT_FALSE(store->KeyExists(kHkcu, "Software"));
        EXPECT_TRUE(warnings.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    {
        auto store = Open();
        store->CreateKey(kHkcu, "Software");
    }
    {
        auto store = SqliteRegistryStore::Open(
            File(), [](const QString&) {}, StoreAccess::ReadOnly);
        ASSERT_NE(store, nullptr);
        EXPECT_TRUE(store->KeyExists(kHkcu, "Software"));
    }

    // A damaged store is only looked at: it stays where it is, as it is.
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("this is not a settings store\n").repeated(100));
    file.close();
    warnings.clear();
    auto store = SqliteRegistryStore::Open(
        File(), [this](const QString& m) { warnings << m; }, StoreAccess::ReadOnly);
    ASSERT_NE(store, nullptr);
    EXPECT_FALSE(store->KeyExists(kHkcu, "Software"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("left as it is"));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.damaged-*"}, QDir::Files).isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("this is not a settings store"));
}

}  // namespace
}  // namespace merivane
