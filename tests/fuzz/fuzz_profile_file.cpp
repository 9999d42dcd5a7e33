// Profile files: read a file, write one value, read back. The value reads back as written,
// and every other section and every other key of the section comes back unchanged.
#include "FuzzSupport.h"

#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace merivane;

namespace {
QString Trim(QString text) {
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove(0, 1);
    }
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.chop(1);
    }
    return text;
}

// What a written value reads back as: on one line, trimmed, cut at a NUL, outer quotes off.
QString ReadBackOf(QString value) {
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    value = Trim(value);
    int nul = value.indexOf(QChar(0));
    if (nul >= 0) {
        value = Trim(value.left(nul));
    }
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    return value.left(1023);
}

// The section names of a file, as its header lines give them.
QStringList SectionNames(const QString& path) {
    QStringList names;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return names;
    }
    for (const QByteArray& raw : file.readAll().split('\n')) {
        QString line = Trim(QString::fromUtf8(raw).remove(u'\r'));
        int close = line.lastIndexOf(u']');
        if (line.startsWith(u'[') && close > 0) {
            names << Trim(line.mid(1, close - 1));
        }
    }
    return names;
}

bool UsableName(const QString& name) {
    QString t = Trim(name);
    return !t.isEmpty() && !t.contains(u'\r') && !t.contains(u'\n') && !t.contains(QChar(0)) &&
           !t.contains(u'=') && !t.startsWith(u';') && !t.startsWith(u'[') && !t.contains(u']') &&
           t.size() < 200;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.path() + "/fuzz.ini";
    QStringList parts = fuzz::Parts(fuzz::Bytes(data, size), 4);
    const QString section = parts[0];
    const QString key = parts[1];
    const QString value = parts[2];
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(parts.mid(3).join(QChar(0)).toUtf8());
    }
    if (!UsableName(section) || !UsableName(key)) {
        ProfileFile::ReadString(path, section, key, "d", 256);
        ProfileFile::ReadSection(path, section, 512);
        return 0;
    }
    QStringList others;
    for (const QString& name : SectionNames(path)) {
        if (name.compare(Trim(section), Qt::CaseInsensitive) != 0) {
            others << name;
        }
    }
    QList<QStringList> before;
    for (const QString& name : others) {
        before << ProfileFile::ReadSection(path, name, 1 << 20);
    }
    const QStringList sectionBefore = ProfileFile::ReadSection(path, section, 1 << 20);

    FUZZ_CHECK(ProfileFile::WriteString(path, section, key, value));
    FUZZ_CHECK(ProfileFile::ReadString(path, section, key, "<default>", 1024) == ReadBackOf(value));
    for (int i = 0; i < others.size(); ++i) {
        FUZZ_CHECK(ProfileFile::ReadSection(path, others[i], 1 << 20) == before[i]);
    }
    // The section's other keys keep their lines.
    const QString wanted = Trim(key);
    auto isKey = [&](const QString& line) {
        int eq = line.indexOf(u'=');
        QString name = Trim(eq < 0 ? line : line.left(eq));
        return name.compare(wanted, Qt::CaseInsensitive) == 0;
    };
    QStringList keptBefore;
    bool replaced = false;
    for (const QString& line : sectionBefore) {
        if (!replaced && isKey(line)) {
            replaced = true;  // the first line of the key is the one replaced
            continue;
        }
        keptBefore << line;
    }
    QStringList keptAfter;
    replaced = false;
    for (const QString& line : ProfileFile::ReadSection(path, section, 1 << 20)) {
        if (!replaced && isKey(line)) {
            replaced = true;
            continue;
        }
        keptAfter << line;
    }
    FUZZ_CHECK(keptBefore == keptAfter);
    return 0;
}
