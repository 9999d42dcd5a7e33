#pragma once

#include <QString>

namespace merivane {

// The basis of name matching: a copy of the same length in which every character that is
// not a letter, a digit or '.' is a blank. In the single-byte range exactly the codes 46,
// 48-57, 65-90, 97-122, 192-214, 216-246 and 249-253 are kept; beyond it every Unicode
// letter and digit is kept.
QString NormalizeWords(const QString& text);

// Trims blanks (only U+0020) at both ends.
QString TrimBlanks(const QString& text);

}  // namespace merivane
