#include "core/util/trim_trailing_blanks.h"

namespace lcu {

void TrimTrailingBlanks(std::string& text) {
  while (text.size() > 1 && text.back() == ' ') text.pop_back();
}

}  // namespace lcu
