#pragma once

#include "platform/RegistryStore.h"

#include <QString>

#include <optional>

namespace merivane {

// The registry editor's text form ("REGEDIT4"): a "[ROOT\path]" line per key, then
// "name"=value lines: "text", dword:0000001e, hex(2): expandable text, hex(7): multi-text,
// hex: binary, hex(N): anything else; @ is the key's default value.

// The whole store, or the tree below `key` ("HKEY_CURRENT_USER\Software\..."). Nothing
// when the key names no root or does not exist; *error then says why.
std::optional<QString> ExportRegistry(RegistryStore& store, const QString& key, QString* error);

// Reads the text form and adds or replaces the keys and values it names; nothing else is
// touched. The text is checked whole first: when any line is wrong nothing is changed
// and *error names the line ("line 7: ...").
bool ImportRegistry(RegistryStore& store, const QString& text, QString* error);

}  // namespace merivane
