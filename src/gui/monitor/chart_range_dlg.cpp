#include "gui/monitor/chart_range_dlg.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "gui/app/gui_prompter.h"
#include "gui/app/qt_text.h"
#include "gui/monitor/chart_texts.h"

namespace lcu::gui {

namespace {
// Digits enough for any range a trace shows, without the noise of a double's last digits.
constexpr int kRangeDigits = 7;

// The number typed, in the C locale as the program shows numbers; nullopt for anything else.
std::optional<double> NumberOf(const QString& text) {
  bool ok = false;
  const double value = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}
}  // namespace

ChartRangeDlg::ChartRangeDlg(GuiPrompter& prompter, std::vector<Trace> traces, int trace, QWidget* parent)
    : QDialog(parent),
      m_prompter(prompter),
      m_traces(std::move(traces)),
      m_pTrace(new QComboBox(this)),
      m_pAutomatic(new QCheckBox(ToQString(text::kChartRangeAutomatic), this)),
      m_pLow(new QLineEdit(this)),
      m_pHigh(new QLineEdit(this)) {
  setWindowTitle(ToQString(text::kChartRangeCaption));
  for (const Trace& t : m_traces) m_pTrace->addItem(t.label);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ChartRangeDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_pTrace, &QComboBox::currentIndexChanged, this, &ChartRangeDlg::ShowTrace);
  connect(m_pAutomatic, &QCheckBox::toggled, this, &ChartRangeDlg::ShowAutomatic);

  auto* layout = new QFormLayout(this);
  layout->addRow(ToQString(text::kChartRangeChannel), m_pTrace);
  layout->addRow(QString(), m_pAutomatic);
  layout->addRow(ToQString(text::kChartRangeHigh), m_pHigh);
  layout->addRow(ToQString(text::kChartRangeLow), m_pLow);
  layout->addRow(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  if (trace >= 0 && trace < m_pTrace->count()) m_pTrace->setCurrentIndex(trace);
  ShowTrace(m_pTrace->currentIndex());
}

void ChartRangeDlg::ShowTrace(int trace) {
  if (trace < 0 || static_cast<std::size_t>(trace) >= m_traces.size()) return;
  const Trace& shown = m_traces[static_cast<std::size_t>(trace)];
  const ChartRange range = shown.fixed.value_or(shown.shown);
  m_pLow->setText(QString::number(range.low, 'g', kRangeDigits));
  m_pHigh->setText(QString::number(range.high, 'g', kRangeDigits));
  m_pAutomatic->setChecked(!shown.fixed);
  ShowAutomatic();
}

void ChartRangeDlg::ShowAutomatic() {
  m_pLow->setEnabled(!m_pAutomatic->isChecked());
  m_pHigh->setEnabled(!m_pAutomatic->isChecked());
}

void ChartRangeDlg::accept() {
  m_nTrace = m_pTrace->currentIndex();
  m_range.reset();
  if (!m_pAutomatic->isChecked()) {
    const std::optional<double> low = NumberOf(m_pLow->text());
    const std::optional<double> high = NumberOf(m_pHigh->text());
    if (!low || !high || !(*low < *high)) {
      m_prompter.Error(text::kChartRangeInvalid);
      return;
    }
    m_range = ChartRange{*low, *high};
  }
  QDialog::accept();
}

}  // namespace lcu::gui
