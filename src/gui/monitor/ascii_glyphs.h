// AsciiGlyphs: the glyph and advance of each printable ASCII character in one font, so that
// short texts that change often (readings, a chart's values) are drawn as a glyph run without
// text layout: such a text is a few ASCII characters that need no shaping.
#pragma once

#include <array>
#include <optional>

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>

namespace lcu::gui {

class AsciiGlyphs {
 public:
  explicit AsciiGlyphs(const QFont& font);

  const QFont& Font() const { return m_font; }
  qreal Ascent() const { return m_raw.ascent(); }
  qreal Descent() const { return m_raw.descent(); }

  /// Sets run to the text's glyphs, placed from a left baseline point at 0, and gives the
  /// text's width; none when a character is outside printable ASCII or has no glyph in the
  /// font, which the caller then draws as text.
  std::optional<qreal> Run(const QString& text, QGlyphRun& run) const;

 private:
  QFont m_font;
  QRawFont m_raw;
  std::array<quint32, 128> m_glyphs{};
  std::array<qreal, 128> m_advances{};
};

}  // namespace lcu::gui
