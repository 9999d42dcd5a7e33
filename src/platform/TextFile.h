#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace merivane {

// UTF-8 (a BOM is dropped) when the bytes are valid UTF-8, else Windows-1252, the code
// page files from Windows were written in.
QString DecodeText(const QByteArray& bytes);
// The text in Windows-1252; *ok is false when a character has no place in that code page.
QByteArray EncodeWindows1252(const QString& text, bool* ok);
// The file's text, or nothing when it cannot be read.
std::optional<QString> ReadTextFile(const QString& path);
// Lines split at CR LF, LF or CR; a final line end adds no empty line.
QStringList SplitLines(const QString& text);
// Replaces the file in one step (a temporary file renamed over it), so a crash or a full
// disk leaves the old file or the new one, never a mixture. False with *error on failure.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// The stand-in for the Windows hidden attribute on the program's own files: read-only while
// hidden (a file the program is not writing), writable by its owner when normal.
void SetHidden(const QString& path, bool hidden);

// A token of the user's input as a message quotes it: whole when short, else its start and
// end around a note of its length, so a megabyte of input never becomes a megabyte message.
QString CutForMessage(const QString& text);

// QString::toLower's result, without its Unicode tables for plain ASCII text (file names,
// once per catalogued file).
QString LowerCase(const QString& text);

}  // namespace merivane
