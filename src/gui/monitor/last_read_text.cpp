#include "gui/monitor/last_read_text.h"

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }
}  // namespace

QString LastReadText(const LocalTime& read, std::int64_t seconds) {
  const QString time = ToQString(text::kTimeOfDay).arg(TwoDigits(read.hour), TwoDigits(read.minute), TwoDigits(read.second));
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

}  // namespace lcu::gui
