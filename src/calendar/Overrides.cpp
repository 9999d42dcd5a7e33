#include "calendar/Overrides.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "settings/Variant.h"

namespace merivane {

namespace {
constexpr int kValueBuffer = 512;

QString PathOf(const QString& appPath) {
    return appPath + kOverrideFileName;
}
}  // namespace

std::optional<OverrideEntry> ParseOverrideValue(const QString& value) {
    QString v = CutAtNul(value).trimmed();
    int p1 = v.indexOf(u' ');
    if (p1 <= 0) {
        return std::nullopt;
    }
    int p2 = v.indexOf(u' ', p1 + 1);
    if (p2 < 0) {
        return std::nullopt;
    }
    auto priority = Variant::Text(v.left(p1)).ToInteger();
    auto days = Variant::Text(v.mid(p1 + 1, p2 - p1 - 1)).ToInteger();
    if (!priority || !days) {
        return std::nullopt;
    }
    return OverrideEntry{*priority, *days, v.mid(p2 + 1)};
}

OverrideEntry ReadOverride(const QString& appPath, const QString& section) {
    QString value =
        ProfileFile::ReadString(PathOf(appPath), section, QStringLiteral("x"), QString(), kValueBuffer);
    return ParseOverrideValue(value).value_or(OverrideEntry{});
}

OverrideReader::OverrideReader(const QString& appPath) : m_file(PathOf(appPath)) {}

OverrideEntry OverrideReader::Read(const QString& section) const {
    return ParseOverrideValue(m_file.ReadString(section, QStringLiteral("x"), QString(), kValueBuffer))
        .value_or(OverrideEntry{});
}

void WriteOverride(const QString& appPath, const QString& section, const OverrideEntry& entry) {
    QString text = entry.OverrideText.trimmed();
    if (text.isEmpty()) {
        ProfileFile::WriteSection(PathOf(appPath), section, {});
        return;
    }
    ProfileFile::WriteSection(
        PathOf(appPath), section,
        {QStringLiteral("x=%1 %2 %3").arg(entry.Priority).arg(entry.DaysShown).arg(text)});
}

void MoveOverride(const QString& appPath, const QString& oldSection, const QString& newSection) {
    QStringList lines = ProfileFile::ReadSection(PathOf(appPath), oldSection, kValueBuffer);
    if (lines.isEmpty()) {
        return;
    }
    ProfileFile::WriteSection(PathOf(appPath), oldSection, {});
    ProfileFile::WriteSection(PathOf(appPath), newSection, lines);
}

}  // namespace merivane
