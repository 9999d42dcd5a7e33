#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace merivane {

// Initialisation (profile) files, read and written as the Windows private-profile
// functions do: section and key names match without regard to case, blanks and tabs
// around names and values are dropped, a value in matching quotes loses them, ';' starts
// a comment line, only the first copy of a section counts. Writing edits the file in
// place: every line not being changed keeps its bytes and its line end. Files are read as
// UTF-8 when they are valid UTF-8 (a BOM is honoured), else as Windows-1252, and written
// back in the encoding they had; the file is replaced in one step.
namespace ProfileFile {

// The value of the key, cut to bufferSize - 1 characters; `defaultValue` (cut the same
// way) when the file, section or key is missing or the key line has no '='. An empty
// value is a hit.
QString ReadString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize);

// The section's lines, trimmed, in file order: "key=value" with the blanks around key and
// value dropped and quotes kept, lines without '=' as they are, comments and blank lines
// left out. Cut to fit a buffer of bufferSize characters as the Windows call cuts it.
QStringList ReadSection(const QString& path, const QString& section, int bufferSize);

// Sets the key's value: the first matching key line of the first copy of the section is
// replaced, a new key goes after the section's last line, a new section at the end of the
// file, which is created when missing. Line breaks in the value become blanks, so a value
// can never add a line. False when the file cannot be written.
bool WriteString(const QString& path, const QString& section, const QString& key, const QString& value);

// Replaces every key line of the first copy of the section with `lines` ("key=value";
// entries without '=' are dropped) and empties the other copies; comments stay and the
// header stays, so an empty list leaves a section without keys. An empty list for a
// missing section changes nothing.
bool WriteSection(const QString& path, const QString& section, const QStringList& lines);

// A file read once, for reading many values from it (the override of every catalogued
// file): the same rules as ReadString, without reading the file again for each value.
class Snapshot {
  public:
    explicit Snapshot(const QString& path);
    ~Snapshot();
    Snapshot(Snapshot&&) noexcept;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue,
                       int bufferSize) const;

  private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

}  // namespace ProfileFile

}  // namespace merivane
