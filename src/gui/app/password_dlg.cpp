#include "gui/app/password_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

bool IsServicePassword(const QString& entry) {
  const QString lower = entry.toLower();
  return lower == ToQString(text::kServicePassword1) || lower == ToQString(text::kServicePassword2);
}

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent), m_pEdit(new QLineEdit(this)) {
  setWindowTitle(ToQString(text::kPasswordCaption));
  m_pEdit->setEchoMode(QLineEdit::Password);
  m_pEdit->setMinimumWidth(160);
  auto* label = new QLabel(ToQString(text::kPasswordLabel), this);
  label->setBuddy(m_pEdit);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(m_pEdit, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CPasswordDlg::Entry() const { return m_pEdit->text(); }

void CPasswordDlg::SetEntry(const QString& entry) {
  m_pEdit->setText(entry);
  m_pEdit->selectAll();
}

}  // namespace lcu::gui
