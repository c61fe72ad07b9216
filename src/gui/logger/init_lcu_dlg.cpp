#include "gui/logger/init_lcu_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/commands/maintenance_blocks.h"
#include "core/host/prompter.h"
#include "core/util/decimal_text.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

CInitLcuDlg::CInitLcuDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_pEdit(new QLineEdit(this)) {
  setWindowTitle(ToQString(text::kInitLcuCaption));
  auto* label = new QLabel(ToQString(text::kLcuNumberLabel), this);
  label->setBuddy(m_pEdit);
  m_pEdit->setMinimumWidth(100);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(m_pEdit, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CInitLcuDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CInitLcuDlg::accept() {
  const std::string entry = ToStdString(m_pEdit->text());
  if (const auto complaint = ValidateInitLcuNumber(entry)) {
    m_prompter.Error(*complaint);
    m_pEdit->setFocus();
    m_pEdit->selectAll();
    return;
  }
  m_nLcuNumber = ParseDecimalInt(entry);
  QDialog::accept();
}

}  // namespace lcu::gui
