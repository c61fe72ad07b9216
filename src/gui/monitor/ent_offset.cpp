#include "gui/monitor/ent_offset.h"

#include <charconv>
#include <cmath>
#include <limits>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/host/prompter.h"
#include "core/messages/messages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr int kValueBoxWidth = 100;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::optional<float> ParseFloatEntry(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // from_chars takes no sign of its own here, so "+-1" stays refused.
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
    return std::nullopt;
  }
  return static_cast<float>(negative ? -value : value);
}

CEntOffset::CEntOffset(Prompter& prompter, float value, QWidget* parent)
    : QDialog(parent), m_fValue(value), m_prompter(prompter), m_pEdit(new QLineEdit(this)) {
  setWindowTitle(ToQString(text::kZeroChannelsCaption));
  // Six significant digits, so a fresh box shows 0.
  m_pEdit->setText(QString::number(static_cast<double>(value), 'g', 6));
  m_pEdit->setMinimumWidth(kValueBoxWidth);
  m_pEdit->selectAll();
  auto* label = new QLabel(ToQString(text::kZeroValueLabel), this);
  label->setBuddy(m_pEdit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CEntOffset::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(m_pEdit, 1, 0);
  layout->addWidget(buttons, 0, 1, 3, 1);
  layout->setRowStretch(2, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CEntOffset::accept() {
  const std::optional<float> value = ParseFloatEntry(ToStdString(m_pEdit->text()));
  if (!value) {
    m_prompter.Error(msg::kEnterNumber);
    m_pEdit->setFocus();
    m_pEdit->selectAll();
    return;
  }
  m_fValue = *value;
  QDialog::accept();
}

}  // namespace lcu::gui
