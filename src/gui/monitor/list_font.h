// The mapping between the logical-font records that settings files keep and the program's
// fonts. Heights are pixels, as on the screen the file was written on.
#pragma once

#include <QFont>

#include "core/monitor/log_font.h"

namespace lcu::gui {

/// The font a record describes. A height of 0 keeps the base font's size, a weight of 0
/// its weight; a negative height is the character height, a positive one the cell height.
QFont FontFromLogFont(const LogFont& logFont, const QFont& base);

/// The record of a font: its character height in pixels (negative), weight, italic,
/// underline, strike-out and face name.
LogFont LogFontFromFont(const QFont& font);

}  // namespace lcu::gui
