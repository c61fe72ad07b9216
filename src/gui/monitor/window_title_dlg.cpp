#include "gui/monitor/window_title_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

namespace {
constexpr int kNameBoxWidth = 160;
}  // namespace

CWindowTitleDlg::CWindowTitleDlg(const QString& name, QWidget* parent)
    : QDialog(parent), m_strName(name), m_pEdit(new QLineEdit(name, this)) {
  setWindowTitle(ToQString(text::kWindowTitleCaption));
  auto* label = new QLabel(ToQString(text::kWindowNameLabel), this);
  label->setBuddy(m_pEdit);
  m_pEdit->setMinimumWidth(kNameBoxWidth);
  m_pEdit->selectAll();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CWindowTitleDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(m_pEdit, 1, 0);
  layout->addWidget(buttons, 0, 1, 3, 1);
  layout->setRowStretch(2, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CWindowTitleDlg::accept() {
  m_strName = m_pEdit->text();
  QDialog::accept();
}

}  // namespace lcu::gui
