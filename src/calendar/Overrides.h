#pragma once

#include "platform/ProfileFile.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace merivane {

inline const QString kOverrideFileName = QStringLiteral("Merivane.ovr");

// A file's own dates: shown only during its window (priority 0), or at any time but
// preferred during it (priority 1). Kept in Merivane.ovr, one section per file name.
struct OverrideEntry {
    std::int16_t Priority = 0;
    std::int16_t DaysShown = 0;
    QString OverrideText;  // empty: no override

    bool operator==(const OverrideEntry&) const = default;
};

// "priority days text" of key "x" in the section; an empty entry when there is none or
// the value does not read.
OverrideEntry ReadOverride(const QString& appPath, const QString& section);
// An empty text erases the override (the section stays, without keys).
void WriteOverride(const QString& appPath, const QString& section, const OverrideEntry& entry);
// For a file given a new name: its override goes along, replacing any the new name had.
void MoveOverride(const QString& appPath, const QString& oldSection, const QString& newSection);

// Reads the overrides of many files from one reading of the file.
class OverrideReader {
  public:
    explicit OverrideReader(const QString& appPath);
    OverrideEntry Read(const QString& section) const;

  private:
    ProfileFile::Snapshot m_file;
};

// The value as stored: "priority days text"; nothing when it does not read as one.
std::optional<OverrideEntry> ParseOverrideValue(const QString& value);

}  // namespace merivane
