// Removal of trailing blanks from the fixed-size texts of the LCU's records.
#pragma once

#include <string>

namespace lcu {

/// Removes trailing spaces (not tabs), walking back from the end, but never the first
/// character: "AB  " becomes "AB", "   " becomes " ", "" and "x" stay as they are.
void TrimTrailingBlanks(std::string& text);

}  // namespace lcu
