#include "gui/logger/session_data.h"

#include <cstdint>
#include <string_view>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/logger/session_block.h"
#include "core/messages/messages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/logger/dialog_integer.h"

namespace lcu::gui {

namespace {

constexpr std::array<std::string_view, 4> kLabels = {session_label::kSession, session_label::kOuting,
                                                     session_label::kLapCount, session_label::kPaceLaps};

std::array<std::int32_t*, 4> Fields(SessionDataValues& values) {
  return {&values.session, &values.outing, &values.lapCount, &values.paceLaps};
}

}  // namespace

CSessionData::CSessionData(const SessionDataValues& shown, const SessionDataRanges& ranges, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_ranges(ranges), m_values(shown) {
  setWindowTitle(ToQString(text::kSessionDataCaption));

  auto* group = new QGroupBox(ToQString(text::kSessionGroup), this);
  auto* grid = new QGridLayout(group);
  const auto fields = Fields(m_values);
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    const int row = static_cast<int>(i);
    auto* edit = new QLineEdit(QString::number(*fields[i]), group);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(90);
    auto* label = new QLabel(ToQString(kLabels[i]), group);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    m_edits[i] = edit;
  }
  grid->setColumnStretch(0, 1);

  auto* update = new QPushButton(ToQString(text::kUpdateButton), this);
  auto* cancel = new QPushButton(ToQString(text::kCancelButton), this);
  update->setDefault(true);
  connect(update, &QPushButton::clicked, this, &CSessionData::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(update);
  buttons->addWidget(cancel);
  buttons->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CSessionData::accept() {
  SessionDataValues entered;
  const auto fields = Fields(entered);
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    const auto value = ParseDialogInteger(ToStdString(m_edits[i]->text()));
    if (!value || !m_ranges[i].Contains(*value)) {
      m_prompter.Error(value ? EnterIntegerBetween(m_ranges[i]) : std::string(msg::kEnterInteger));
      m_edits[i]->setFocus();
      m_edits[i]->selectAll();
      return;
    }
    *fields[i] = *value;
  }
  m_values = entered;
  QDialog::accept();
}

}  // namespace lcu::gui
