#include "platform/ProfileFile.h"

#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace merivane {
namespace {

// Cases from the recorded behaviour of the Windows private-profile functions (row ids
// as recorded). Where the recording's implementation is known to differ from Windows,
// the Windows behaviour is expected: files are edited in place.
class ProfileFileTest : public ::testing::Test {
  protected:
    QString Put(const QByteArray& bytes) {
        QFile file(Path());
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return Path();
    }
    QByteArray Bytes() {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    QString Path() const { return dir.path() + "/test.ini"; }

    QTemporaryDir dir;
};

struct ReadCase {
    const char* Id;
    QByteArray File;  // empty: no file
    const char* Section;
    const char* Key;
    QByteArray Default;
    int Buffer;
    QString Expected;
};

TEST_F(ProfileFileTest, ReadingAValue) {
    const QByteArray nk = "[Sec]\r\nKey=Value\r\n";
    const ReadCase cases[] = {
        {"N01", nk, "Sec", "Key", "dflt", 256, "Value"},
        {"N02", nk, "sec", "key", "dflt", 256, "Value"},
        {"N04", nk, "  Sec  ", "  Key  ", "dflt", 256, "Value"},
        {"N05", nk, "\tSec\t", "\tKey\t", "dflt", 256, "Value"},
        {"N06", nk, "Se", "Key", "dflt", 256, "dflt"},
        {"N08", nk, "Sec", "Keys", "dflt", 256, "dflt"},
        {"N09", "[  Sec  ]\r\nKey=Value\r\n", "Sec", "Key", "dflt", 256, "Value"},
        {"N12", "   [Sec]   \r\n   Key   =   Value   \r\n", "Sec", "Key", "dflt", 256, "Value"},
        {"N13", "[Sec]\r\nKey\t=\tValue\t\r\n", "Sec", "Key", "dflt", 256, "Value"},
        {"N14", "[Sec]\r\nMy Key=Value\r\n", "Sec", "my key", "dflt", 256, "Value"},
        {"N15", "[Sec]\r\nMy Key=Value\r\n", "Sec", "My  Key", "dflt", 256, "dflt"},
        {"V01", "[S]\r\nK=a b  c\r\n", "S", "K", "dflt", 256, "a b  c"},
        {"V03", "[S]\r\nK=\"quoted\"\r\n", "S", "K", "dflt", 256, "quoted"},
        {"V04", "[S]\r\nK='single'\r\n", "S", "K", "dflt", 256, "single"},
        {"V05", "[S]\r\nK=\"mixed'\r\n", "S", "K", "dflt", 256, "\"mixed'"},
        {"V06", "[S]\r\nK=\"open\r\n", "S", "K", "dflt", 256, "\"open"},
        {"V08", "[S]\r\nK=\"\"\r\n", "S", "K", "dflt", 256, ""},
        {"V10", "[S]\r\nK=\"\r\n", "S", "K", "dflt", 256, "\""},
        {"V11", "[S]\r\nK=\"\"\"\r\n", "S", "K", "dflt", 256, "\""},
        {"V12", "[S]\r\nK=\"a\"b\"\r\n", "S", "K", "dflt", 256, "a\"b"},
        {"V13", "[S]\r\nK=  \"  in  \"  \r\n", "S", "K", "dflt", 256, "  in  "},
        {"V14", "[S]\r\nK=\"v\" ;c\r\n", "S", "K", "dflt", 256, "\"v\" ;c"},
        {"V15", "[S]\r\nK=v ; not a comment\r\n", "S", "K", "dflt", 256, "v ; not a comment"},
        {"V17", "[S]\r\nK=a=b\r\n", "S", "K", "dflt", 256, "a=b"},
        {"V18", "[S]\r\nK==v\r\n", "S", "K", "dflt", 256, "=v"},
        {"V20", "[S]\r\na=b=c\r\n", "S", "a=b", "dflt", 256, "dflt"},
        {"V21", "[S]\r\n", "S", "K", "\"dq\"", 256, "dq"},
        {"V23", "[S]\r\n", "S", "K", "  d  d  ", 256, "  d  d"},
        {"C01", "[S]\r\n;K=commented\r\nK=real\r\n", "S", "K", "dflt", 256, "real"},
        {"C02", "[S]\r\n;K=commented\r\n", "S", "K", "dflt", 256, "dflt"},
        {"C04", "[S]\r\n   ;K=commented\r\n", "S", "K", "dflt", 256, "dflt"},
        {"C06", "[S]\r\n#K=hash\r\n", "S", "#K", "dflt", 256, "hash"},
        {"C10", "[S]\r\nJustText\r\nK=v\r\n", "S", "JustText", "dflt", 256, "dflt"},
        {"C13", "; head\r\n[S]\r\nK=v\r\n", "S", "K", "dflt", 256, "v"},
        {"C14", "[S]\r\n;[T]\r\nK=v\r\n", "T", "K", "dflt", 256, "dflt"},
        {"C15", "[S]\r\n;[T]\r\nK=v\r\n", "S", "K", "dflt", 256, "v"},
        {"D01", "[S]\r\nA=1\r\n[T]\r\nX=0\r\n[S]\r\nA=2\r\nB=3\r\n", "S", "A", "dflt", 256, "1"},
        {"D02", "[S]\r\nA=1\r\n[T]\r\nX=0\r\n[S]\r\nA=2\r\nB=3\r\n", "S", "B", "dflt", 256, "dflt"},
        {"D06", "[S]\r\nA=1\r\n[s]\r\nB=2\r\n", "s", "B", "dflt", 256, "dflt"},
        {"D07", "[S]\r\nA=1\r\nA=2\r\na=3\r\n", "S", "a", "dflt", 256, "1"},
        {"D09", "A=0\r\n[S]\r\nA=1\r\n", "S", "A", "dflt", 256, "1"},
        {"D11", "A=0\r\n", "A", "A", "dflt", 256, "dflt"},
        {"E01", "[S]\r\nK=\r\n", "S", "K", "dflt", 256, ""},
        {"E02", "[S]\r\nK=   \r\n", "S", "K", "dflt", 256, ""},
        {"E03", "[S]\r\nK\r\n", "S", "K", "dflt", 256, "dflt"},
        {"E05", "[S]\r\nK=v\r\n", "Missing", "K", "dflt", 256, "dflt"},
        {"E07", "[S]\r\nK=v\r\n", "S", "Missing", "", 256, ""},
        {"E08", "[S]\r\nK=v\r\n", "S", "", "dflt", 256, "dflt"},
        {"E09", "[S]\r\nK=v\r\n", "", "K", "dflt", 256, "dflt"},
        {"E10", "", "S", "K", "dflt", 256, "dflt"},
        {"E12", "\0", "S", "K", "dflt", 256, "dflt"},
        {"T01", "[S]\r\nK=0123456789\r\n", "S", "K", "dflt", 11, "0123456789"},
        {"T02", "[S]\r\nK=0123456789\r\n", "S", "K", "dflt", 10, "012345678"},
        {"T04", "[S]\r\nK=0123456789\r\n", "S", "K", "dflt", 1, ""},
        {"T05", "[S]\r\nK=0123456789\r\n", "S", "K", "dflt", 0, ""},
        {"T08", "[S]\r\nK=" + QByteArray(246, 'a') + "0123456789\r\n", "S", "K", "dflt", 256,
         QString(246, u'a') + "012345678"},
        {"T12", "[S]\r\nK=" + QByteArray(590, 'a') + "0123456789\r\n", "S", "K", "dflt", 512,
         QString(511, u'a')},
        {"T14", "[S]\r\nK=" + QByteArray(1014, 'a') + "0123456789\r\n", "S", "K", "dflt", 1024,
         QString(1014, u'a') + "012345678"},
        {"T24", "[S]\r\n", "S", "K", QByteArray(20, 'd'), 8, "ddddddd"},
        {"L01", "[S]\rK=v\rK2=w\r", "S", "K2", "dflt", 256, "w"},
        {"L03", "[S]\nK=v\nK2=w\n", "S", "K2", "dflt", 256, "w"},
        {"L04", "[S]\r\nK=v\nK2=w\r\n", "S", "K2", "dflt", 256, "w"},
        {"L05", "[S]\r\r\nK=v\r\r\nK2=w\r\r\n", "S", "K", "dflt", 256, "v"},
        {"L06", "[S]\n\rK=v\n\rK2=w\n\r", "S", "K2", "dflt", 256, "w"},
        {"L07", "[S]\r\nK=v", "S", "K", "dflt", 256, "v"},
        {"L10", "\r\n\r\n[S]\r\n\r\n\r\nK=v\r\n\r\n", "S", "K", "dflt", 256, "v"},
        // A UTF-8 byte order mark is honoured (unlike Windows), so the first section is found.
        {"L11", "\xEF\xBB\xBF[S]\r\nK=v\r\n", "S", "K", "dflt", 256, "v"},
        {"L14", "\xEF\xBB\xBF\r\n[S]\r\nK=Caf\xC3\xA9\r\n", "S", "K", "dflt", 256, QStringLiteral("Café")},
        {"L15", "[S]\r\nK=Caf\xC3\xA9\r\n", "S", "K", "dflt", 256, QStringLiteral("Café")},
        {"L16", "[S]\r\nK=Caf\xE9\r\n", "S", "K", "dflt", 256, QStringLiteral("Café")},
        {"L18", QByteArray("[S]\r\nK=a\0b\r\nK2=w\r\n", 17), "S", "K", "dflt", 256, "a"},
        {"L19", QByteArray("[S]\r\nK=a\0b\r\nK2=w\r\n", 17), "S", "K2", "dflt", 256, "w"},
        {"H01", "[S] trailing\r\nK=v\r\n", "S", "K", "dflt", 256, "v"},
        {"H04", "[S]]\r\nK=v\r\n", "S]", "K", "dflt", 256, "v"},
        {"H06", "[S]x[T]\r\nK=v\r\n", "S]x[T", "K", "dflt", 256, "v"},
        {"H07", "[P]\r\nA=1\r\n[S\r\nK=v\r\n", "P", "K", "dflt", 256, "v"},
        {"H10", "[A=B]\r\nK=v\r\n", "A=B", "K", "dflt", 256, "v"},
        {"H11", "[S]K2=v2\r\nK=v\r\n", "S", "K2", "dflt", 256, "dflt"},
        {"D12", "[]\r\nA=1\r\n[S]\r\nB=2\r\n", "", "A", "dflt", 256, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        QFile::remove(Path());
        if (!c.File.isEmpty()) {
            Put(c.File == QByteArray("\0", 1) ? QByteArray() : c.File);
        }
        EXPECT_EQ(ProfileFile::ReadString(Path(), c.Section, c.Key, QString::fromUtf8(c.Default), c.Buffer),
                  c.Expected);
    }
}

struct SectionCase {
    const char* Id;
    QByteArray File;
    const char* Section;
    int Buffer;
    QStringList Expected;
};

TEST_F(ProfileFileTest, ReadingASection) {
    const QByteArray r01 =
        "[A]\r\nk1=v1\r\n  k2  =  v2  \r\n;comment\r\nnoeq\r\nk3=\"q\"\r\n\r\nk4=\r\n[B]\r\n";
    const QByteArray r07 =
        "[section1]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n[section2]\r\n[section3]\r\n=val5\r\n";
    const QByteArray five = "[A]\r\nk1=" + QByteArray(97, 'x') + "\r\nk2=" + QByteArray(97, 'x') +
                            "\r\nk3=" + QByteArray(97, 'x') + "\r\nk4=" + QByteArray(97, 'x') +
                            "\r\nk5=" + QByteArray(97, 'x') + "\r\n";
    const QString x97 = QString(97, u'x');
    const QStringList fiveKeys{"k1=" + x97, "k2=" + x97, "k3=" + x97, "k4=" + x97, "k5=" + x97};
    const SectionCase cases[] = {
        {"R01", r01, "A", 512, {"k1=v1", "k2=v2", "noeq", "k3=\"q\"", "k4="}},
        {"R04", r01, "Z", 512, {}},
        {"R05", r01, "B", 512, {}},
        {"R06", "", "A", 512, {}},
        {"R07", r07, "section1", 100, {"name1=val1", "name2=", "name3", "name4=val4"}},
        {"R08", r07, "section3", 100, {"=val5"}},
        {"R09", r07, "section1", 24, {"name1=val1", "name2=", "name"}},
        {"R10", five + "z=xx\r\n", "A", 512, fiveKeys + QStringList{"z=xx"}},
        {"R11", five + "z=xxx\r\n", "A", 512, fiveKeys + QStringList{"z=xxx"}},
        {"R12", five + "z=xxxx\r\n", "A", 512, fiveKeys + QStringList{"z=xxx"}},
        {"R14", five + "z=" + QByteArray(100, 'x') + "\r\n", "A", 507, fiveKeys + QStringList{""}},
        {"R15", five + "z=" + QByteArray(100, 'x') + "\r\n", "A", 506, fiveKeys},
        {"C09", "[S]\r\nK=v\r\n;comment\r\n  ;c2=x\r\n#h=y\r\n", "S", 256, {"K=v", "#h=y"}},
        {"D04", "[S]\r\nA=1\r\n[T]\r\nX=0\r\n[S]\r\nA=2\r\nB=3\r\n", "S", 256, {"A=1"}},
        {"H09", "[P]\r\nA=1\r\n[S\r\nK=v\r\n", "P", 256, {"A=1", "[S", "K=v"}},
        {"H12", "[S]\r\n[x=1\r\n", "S", 256, {"[x=1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        QFile::remove(Path());
        if (!c.File.isEmpty()) {
            Put(c.File);
        }
        EXPECT_EQ(ProfileFile::ReadSection(Path(), c.Section, c.Buffer), c.Expected);
    }
}

struct WriteCase {
    const char* Id;
    std::optional<QByteArray> File;  // nothing: no file
    const char* Section;
    const char* Key;  // nullptr: write the section
    QString Value;    // the value, or the section's lines joined by '|'
    QByteArray Expected;
};

TEST_F(ProfileFileTest, WritingEditsTheFileInPlace) {
    const WriteCase cases[] = {
        {"W01", std::nullopt, "S", "K", "v", "[S]\r\nK=v\r\n"},
        {"W02", "[A]\r\nk1=v1\r\n\r\n[B]\r\nk2=v2\r\n", "A", "k3", "v3",
         "[A]\r\nk1=v1\r\nk3=v3\r\n\r\n[B]\r\nk2=v2\r\n"},
        {"W03", "[A]\r\nk1=v1\r\n[B]\r\nk2=v2\r\n", "C", "k", "v",
         "[A]\r\nk1=v1\r\n[B]\r\nk2=v2\r\n[C]\r\nk=v\r\n"},
        {"W04", "[A]\r\nk1=v1", "A", "k2", "v2", "[A]\r\nk1=v1\r\nk2=v2\r\n"},
        {"W05", "[A]\r\nk1=v1", "B", "k", "v", "[A]\r\nk1=v1\r\n[B]\r\nk=v\r\n"},
        {"W06",
         "; header comment\r\n\r\n[A]\r\n; note\r\n  k1  =  old  \r\nOther = x\r\n\r\n[B]\r\nk2=v2\r\n", "A",
         "k1", "new", "; header comment\r\n\r\n[A]\r\n; note\r\nk1=new\r\nOther = x\r\n\r\n[B]\r\nk2=v2\r\n"},
        {"W07", "[A]\r\nKey=old\r\n", "a", "KEY", "new", "[A]\r\nKey=new\r\n"},
        {"W08", "[A]\r\nk = v\r\n", "A", "k", "v", "[A]\r\nk = v\r\n"},
        {"W09", "[A]\r\nk=old\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
        {"W19", "[A]\nk=v\nj=w\n", "A", "k", "new", "[A]\nk=new\nj=w\n"},
        {"W20", "[A]\rk=v\rj=w\r", "A", "k", "new", "[A]\rk=new\rj=w\r"},
        {"W21", "\xEF\xBB\xBF[A]\r\nk=v\r\n", "A", "k", "new", "\xEF\xBB\xBF[A]\r\nk=new\r\n"},
        {"W22", "[A]\r\nk=1\r\n[X]\r\n[A]\r\nk=2\r\nm=3\r\n", "A", "m", "new",
         "[A]\r\nk=1\r\nm=new\r\n[X]\r\n[A]\r\nk=2\r\nm=3\r\n"},
        {"W23", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "new", "[A]\r\nk=new\r\nk=2\r\n"},
        {"W24", "pre=0\r\n[A]\r\nk=v\r\n", "A", "k", "new", "pre=0\r\n[A]\r\nk=new\r\n"},
        {"W25", "[A]\r\n", "A", "k", "  v  ", "[A]\r\nk=v  \r\n"},
        {"W28", "[A]\r\n", "A", "k", "\"q\"", "[A]\r\nk=\"q\"\r\n"},
        // A line break in a value must not add a line: it is written on one line.
        {"W30", "[A]\r\n", "A", "k", "a\r\nb=c", "[A]\r\nk=a  b=c\r\n"},
        {"W32", "[ A ]\r\nk=v\r\n", "A", "k", "new", "[ A ]\r\nk=new\r\n"},
        {"W33", "[A]\r\n;k=v\r\n", "A", "k", "new", "[A]\r\n;k=v\r\nk=new\r\n"},
        {"W34", "[A]\r\nk\r\n", "A", "k", "new", "[A]\r\nk=new\r\n"},
        {"W35", "[A]\r\nk=v\r\n\r\n\r\n[B]\r\n", "A", "j", "w", "[A]\r\nk=v\r\nj=w\r\n\r\n\r\n[B]\r\n"},
        {"W37", "[A]\r\nk=v\r\n[B]\r\n", "B", "j", "w", "[A]\r\nk=v\r\n[B]\r\nj=w\r\n"},
        {"W38", QByteArray("Data \0 before \0 first \0 section", 31), "section1", "key1", "string1",
         QByteArray("Data \0 before \0 first \0 section", 31) + "\r\n[section1]\r\nkey1=string1\r\n"},
        {"W58", "[A]\r\n", "A", "k", QStringLiteral("Café"), "[A]\r\nk=Caf\xC3\xA9\r\n"},
        {"ANSI", "[A]\r\nk=Caf\xE9\r\n", "A", "j", QStringLiteral("Thé"), "[A]\r\nk=Caf\xE9\r\nj=Th\xE9\r\n"},
        {"ANSI to UTF-8", "[A]\r\nk=Caf\xE9\r\n", "A", "j", QStringLiteral("ąę"),
         "[A]\r\nk=Caf\xC3\xA9\r\nj=\xC4\x85\xC4\x99\r\n"},
        {"S01", "[A]\r\nx=1\r\n;c\r\ny=2\r\n[B]\r\nz=3\r\n", "A", nullptr, "p=1|q=2",
         "[A]\r\np=1\r\nq=2\r\n;c\r\n[B]\r\nz=3\r\n"},
        {"S02", "[A]\r\nx=1\r\n;c\r\ny=2\r\n[B]\r\nz=3\r\n", "A", nullptr, "", "[A]\r\n;c\r\n[B]\r\nz=3\r\n"},
        {"S06", std::nullopt, "A", nullptr, "p=1|q=2", "[A]\r\np=1\r\nq=2\r\n"},
        {"S07", std::nullopt, "A", nullptr, "", "(no file)"},
        {"S08", "[B]\r\nz=3\r\n", "A", nullptr, "", "[B]\r\nz=3\r\n"},
        {"S09", "[B]\r\nz=3\r\n", "A", nullptr, "p=1", "[B]\r\nz=3\r\n[A]\r\np=1\r\n"},
        {"S10", "[A]\r\nx=1\r\n", "A", nullptr, " k = v ", "[A]\r\nk=v \r\n"},
        {"S12", "[A]\r\nx=1\r\n", "A", nullptr, "a=1|a=2", "[A]\r\na=1\r\na=2\r\n"},
        {"S13", "[A]\r\nx=1\r\n", "A", nullptr, "noequals|;c|;d=1|k=v", "[A]\r\n;d=1\r\nk=v\r\n"},
        {"S14", "[A]\r\nx=1\r\n[B]\r\n[A]\r\ny=2\r\n", "A", nullptr, "p=1", "[A]\r\np=1\r\n[B]\r\n[A]\r\n"},
        {"S15", "[A]\r\nx=1\r\n", "a", nullptr, "p=1", "[A]\r\np=1\r\n"},
        {"S17", "[A]\r\n\r\nx=1\r\n\r\n[B]\r\n", "A", nullptr, "p=1", "[A]\r\n\r\np=1\r\n\r\n[B]\r\n"},
        {"S19 after S18", "[A]\r\n[B]\r\nz=3\r\n", "A", "k", "v", "[A]\r\nk=v\r\n[B]\r\nz=3\r\n"},
        {"section line break", "[A]\r\n", "A", nullptr, "x=1\r\ny=2", "[A]\r\nx=1  y=2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        QFile::remove(Path());
        if (c.File) {
            Put(*c.File);
        }
        bool ok = c.Key != nullptr
                      ? ProfileFile::WriteString(Path(), c.Section, c.Key, c.Value)
                      : ProfileFile::WriteSection(Path(), c.Section,
                                                  c.Value.isEmpty() ? QStringList() : c.Value.split(u'|'));
        EXPECT_TRUE(ok);
        EXPECT_EQ(Bytes(), c.Expected);
    }
}

TEST_F(ProfileFileTest, WhatIsWrittenReadsBack) {
    ProfileFile::WriteString(Path(), "Spring Garden.theme", "x", "1 14 dec 31");
    ProfileFile::WriteString(Path(), "Other.jpg", "x", "  \"quoted\"  ");
    EXPECT_EQ(ProfileFile::ReadString(Path(), "spring garden.THEME", "X", "", 512), "1 14 dec 31");
    EXPECT_EQ(ProfileFile::ReadString(Path(), "Other.jpg", "x", "", 512), "quoted");
    ProfileFile::WriteSection(Path(), "Spring Garden.theme", {});
    EXPECT_EQ(ProfileFile::ReadString(Path(), "Spring Garden.theme", "x", "none", 512), "none");
    EXPECT_EQ(ProfileFile::ReadString(Path(), "Other.jpg", "x", "", 512), "quoted");
}

TEST_F(ProfileFileTest, AFileThatCannotBeWrittenSaysSo) {
    EXPECT_FALSE(ProfileFile::WriteString(dir.path() + "/no/such/folder/x.ini", "A", "k", "v"));
    EXPECT_FALSE(ProfileFile::WriteString(Path(), "A", "", "v"));
}

}  // namespace
}  // namespace merivane
