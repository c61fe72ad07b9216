#include "gui/app/memory_pane_tip.h"

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {

constexpr std::uint64_t kKiB = 1024;

}  // namespace

QString MemoryPaneTip(const LcuStatusBlock& status, const std::optional<CheckedMemoryUse>& checked) {
  QString tip = ToQString(text::kMemoryPaneTip).arg(status.ShownMemoryFigure()).arg(status.MemoryFigure());
  if (checked && checked->lcuNumber == status.LcuNumber()) {
    const QString when =
        QStringLiteral("%1:%2").arg(checked->when.hour).arg(checked->when.minute, 2, 10, QLatin1Char('0'));
    tip += QLatin1Char('\n') + ToQString(text::kMemoryCheckedTip)
                                   .arg(when)
                                   .arg(checked->use.usedBytes / kKiB)
                                   .arg(checked->use.Percent())
                                   .arg(checked->use.capacityBytes / kKiB);
  }
  return tip;
}

}  // namespace lcu::gui
