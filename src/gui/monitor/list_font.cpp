#include "gui/monitor/list_font.h"

#include <algorithm>

#include <QFontInfo>
#include <QFontMetrics>

#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
// The record's "let the system choose" character set.
constexpr std::uint8_t kDefaultCharSet = 1;
constexpr std::int32_t kLargestPixelSize = 1000;
}  // namespace

QFont FontFromLogFont(const LogFont& logFont, const QFont& base) {
  QFont font(base);
  // A style name would override the record's weight and slant.
  font.setStyleName(QString());
  const std::string face = logFont.FaceNameText();
  if (!face.empty()) font.setFamily(ToQString(face));
  if (logFont.height < 0) {
    font.setPixelSize(std::min(-std::max(logFont.height, -kLargestPixelSize), kLargestPixelSize));
  } else if (logFont.height > 0) {
    // A cell height: the largest size whose line fits in it.
    int size = std::min(logFont.height, kLargestPixelSize);
    font.setPixelSize(size);
    while (size > 1 && QFontMetrics(font).height() > logFont.height) font.setPixelSize(--size);
  }
  if (logFont.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.weight, 1, 1000)));
  font.setItalic(logFont.italic != 0);
  font.setUnderline(logFont.underline != 0);
  font.setStrikeOut(logFont.strikeOut != 0);
  return font;
}

LogFont LogFontFromFont(const QFont& font) {
  LogFont logFont;
  const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  logFont.height = -pixels;
  logFont.weight = static_cast<std::int32_t>(font.weight());
  logFont.italic = font.italic() ? 1 : 0;
  logFont.underline = font.underline() ? 1 : 0;
  logFont.strikeOut = font.strikeOut() ? 1 : 0;
  logFont.charSet = kDefaultCharSet;
  logFont.SetFaceName(ToStdString(font.family()));
  return logFont;
}

}  // namespace lcu::gui
