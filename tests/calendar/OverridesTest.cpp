#include "calendar/Overrides.h"

#include "platform/ProfileFile.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace merivane {
namespace {

class OverridesTest : public ::testing::Test {
  protected:
    QString App() const { return dir.path() + "/"; }
    QString File() const { return App() + kOverrideFileName; }
    QByteArray Bytes() const {
        QFile file(File());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    void Put(const QByteArray& bytes) {
        QFile file(File());
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QTemporaryDir dir;
};

TEST_F(OverridesTest, ValuesReadAsPriorityDaysAndText) {
    struct Case {
        QString Value;
        OverrideEntry Expected;
    };
    const Case cases[] = {
        {"0 7 12/25", {0, 7, "12/25"}},
        {"1 3 easter;thanksgiving", {1, 3, "easter;thanksgiving"}},
        {"0 999 *** Any Day ***", {0, 999, "*** Any Day ***"}},
        {"0 0 *** Do Not Use ***", {0, 0, "*** Do Not Use ***"}},
        {"  1 14 dec 31  ", {1, 14, "dec 31"}},
        {"7", {}},             // no blanks
        {"0 7", {}},           // one blank
        {" 7 x", {0, 0, ""}},  // trimmed first: "7 x" has one blank only
        {"0  7 x", {}},        // two blanks together: no days
        {"a 7 x", {}},         // not a number
        {"99999 7 x", {}},     // out of the 16-bit range
        {"0 123456789012 x", {}},
        {"-1 -5 x y z", {-1, -5, "x y z"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value.toStdString());
        QFile::remove(File());
        ProfileFile::WriteString(File(), "Snow.jpg", "x", c.Value);
        EXPECT_EQ(ReadOverride(App(), "snow.JPG"), c.Expected);
    }
    EXPECT_EQ(ReadOverride(App(), "Missing.jpg"), OverrideEntry{});
    QFile::remove(File());
    EXPECT_EQ(ReadOverride(App(), "Snow.jpg"), OverrideEntry{});
}

TEST_F(OverridesTest, WritingAndErasing) {
    WriteOverride(App(), "Spring Garden.theme", {1, 14, "  dec 31  "});
    EXPECT_EQ(Bytes(), "[Spring Garden.theme]\r\nx=1 14 dec 31\r\n");
    WriteOverride(App(), "Other.jpg", {0, 7, "12/25"});
    WriteOverride(App(), "spring garden.theme", {0, 0, ""});
    EXPECT_EQ(Bytes(), "[Spring Garden.theme]\r\n[Other.jpg]\r\nx=0 7 12/25\r\n");
    EXPECT_EQ(ReadOverride(App(), "Spring Garden.theme"), OverrideEntry{});
    EXPECT_EQ(ReadOverride(App(), "Other.jpg"), (OverrideEntry{0, 7, "12/25"}));
}

TEST_F(OverridesTest, ARenamedFileTakesItsOverrideAlong) {
    WriteOverride(App(), "Old.jpg", {1, 3, "easter"});
    WriteOverride(App(), "New.jpg", {0, 9, "12/25"});
    MoveOverride(App(), "Old.jpg", "New.jpg");
    EXPECT_EQ(ReadOverride(App(), "Old.jpg"), OverrideEntry{});
    EXPECT_EQ(ReadOverride(App(), "New.jpg"), (OverrideEntry{1, 3, "easter"}));

    QByteArray before = Bytes();
    MoveOverride(App(), "Plain.jpg", "Renamed.jpg");  // no override: the file stays as it was
    EXPECT_EQ(Bytes(), before);
}

TEST_F(OverridesTest, HostileOverrideFilesReadWithoutHarm) {
    // Binary garbage.
    std::mt19937 rng(3);
    QByteArray garbage(256 * 1024, '\0');
    for (char& byte : garbage) {
        byte = static_cast<char>(rng() & 0xFF);
    }
    Put(garbage);
    ReadOverride(App(), "Snow.jpg");  // whatever the garbage holds, reading it is safe
    WriteOverride(App(), "Snow.jpg", {0, 7, "12/25"});
    EXPECT_EQ(ReadOverride(App(), "Snow.jpg"), (OverrideEntry{0, 7, "12/25"}));

    // A hundred thousand sections; the last one is still found.
    QByteArray many;
    for (int i = 0; i < 100000; ++i) {
        many += "[File" + QByteArray::number(i) + ".jpg]\r\nx=0 1 1/1\r\n";
    }
    Put(many);
    EXPECT_EQ(ReadOverride(App(), "File99999.jpg"), (OverrideEntry{0, 1, "1/1"}));

    // Forty items and a value far longer than the buffer the program reads.
    QStringList items(40, "12/25");
    Put("[A.jpg]\r\nx=1 3 " + items.join(u';').toUtf8() + "\r\n[B.jpg]\r\nx=0 5 " + QByteArray(10000, '7') +
        "\r\n");
    EXPECT_EQ(ReadOverride(App(), "A.jpg").OverrideText, items.join(u';'));
    EXPECT_EQ(ReadOverride(App(), "B.jpg").OverrideText, QString(511 - 4, u'7'));
}

}  // namespace
}  // namespace merivane
