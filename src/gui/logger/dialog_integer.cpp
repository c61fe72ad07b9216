#include "gui/logger/dialog_integer.h"

#include <limits>

#include "core/util/strict_number.h"

namespace lcu::gui {

std::optional<std::int32_t> ParseDialogInteger(std::string_view text) {
  const StrictNumber number =
      ParseStrictNumber(text, {NumberBase::kDecimal, true, true}, std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max());
  if (!number) return std::nullopt;
  return static_cast<std::int32_t>(number.value);
}

}  // namespace lcu::gui
