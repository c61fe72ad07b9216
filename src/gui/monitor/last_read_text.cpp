#include "gui/monitor/last_read_text.h"

#include <algorithm>

#include <QPainter>
#include <QWidget>

#include "core/session/reading_freshness.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
// Room around the note's text, and between the note and the viewport's edges.
constexpr int kNotePadding = 4;
constexpr int kNoteMargin = 2;

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }
}  // namespace

QString LastReadText(const LocalTime& read, std::int64_t seconds) {
  const QString time =
      ToQString(text::kTimeOfDay).arg(TwoDigits(read.hour), TwoDigits(read.minute), TwoDigits(read.second));
  QString age;
  if (seconds < kMinute) {
    age = ToQString(text::kSecondsAgo).arg(seconds);
  } else if (seconds < kHour) {
    age = ToQString(text::kMinutesAgo).arg(seconds / kMinute);
  } else {
    age = ToQString(text::kHoursAgo).arg(seconds / kHour);
  }
  return ToQString(text::kLastRead).arg(time, age);
}

bool AreReadingsLive(const CommandContext& ctx, std::optional<Clock::TimePoint> takenAt) {
  return AreReadingsCurrent(takenAt, ctx.clock.Monotonic(), ctx.device.IsOnline());
}

QString StaleNote(const CommandContext& ctx, bool live, bool hasValues, std::optional<Clock::TimePoint> takenAt,
                  const LocalTime& read) {
  if (live || !takenAt || !hasValues) return {};
  return LastReadText(read, SecondsSince(*takenAt, ctx.clock.Monotonic()));
}

QRect LastReadNoteStrip(const QWidget& viewport) {
  const int height = viewport.fontMetrics().height() + 2 * kNotePadding + 2 * kNoteMargin;
  const QRect area = viewport.rect();
  return {area.left(), area.bottom() + 1 - height, area.width(), height};
}

void PaintLastReadNote(QPainter& painter, const QWidget& viewport, const QString& note) {
  if (note.isEmpty()) return;
  const QFontMetrics metrics = viewport.fontMetrics();
  const QRect strip = LastReadNoteStrip(viewport).adjusted(kNoteMargin, kNoteMargin, -kNoteMargin, -kNoteMargin);
  const int width = std::min(strip.width(), metrics.horizontalAdvance(note) + 2 * kNotePadding);
  const QRect box(strip.right() + 1 - width, strip.top(), width, strip.height());
  const QPalette& palette = viewport.palette();
  painter.save();
  painter.setFont(viewport.font());
  painter.setPen(palette.color(QPalette::Mid));
  painter.setBrush(palette.window());
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.setPen(palette.color(QPalette::WindowText));
  painter.drawText(box, Qt::AlignCenter, note);
  painter.restore();
}

}  // namespace lcu::gui
