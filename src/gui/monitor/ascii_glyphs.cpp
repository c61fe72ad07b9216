#include "gui/monitor/ascii_glyphs.h"

#include <cstddef>

#include <QList>
#include <QPointF>

namespace lcu::gui {

namespace {
constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kLastPrintable = 0x7E;
}  // namespace

AsciiGlyphs::AsciiGlyphs(const QFont& font) : m_font(font), m_raw(QRawFont::fromFont(font)) {
  QString printable;
  for (char16_t c = kFirstPrintable; c <= kLastPrintable; ++c) printable.append(QChar(c));
  const QList<quint32> glyphs = m_raw.glyphIndexesForString(printable);
  const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyphs);
  if (glyphs.size() != printable.size() || advances.size() != glyphs.size()) return;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    m_glyphs[kFirstPrintable + static_cast<std::size_t>(i)] = glyphs[i];
    m_advances[kFirstPrintable + static_cast<std::size_t>(i)] = advances[i].x();
  }
}

std::optional<qreal> AsciiGlyphs::Run(const QString& text, QGlyphRun& run) const {
  if (!m_raw.isValid()) return std::nullopt;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(text.size());
  positions.reserve(text.size());
  qreal width = 0;
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    if (code < kFirstPrintable || code > kLastPrintable || m_glyphs[code] == 0) return std::nullopt;
    glyphs.append(m_glyphs[code]);
    positions.append(QPointF(width, 0));
    width += m_advances[code];
  }
  run.setRawFont(m_raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  return width;
}

}  // namespace lcu::gui
