// The integer fields of the logger dialogs: what the user may type and what it means.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lcu::gui {

/// The number in a dialog's integer field: an optional sign and decimal digits, with blanks
/// around them allowed, within the 32-bit range. nullopt for anything else (the dialog then
/// asks for an integer and stays open).
std::optional<std::int32_t> ParseDialogInteger(std::string_view text);

}  // namespace lcu::gui
