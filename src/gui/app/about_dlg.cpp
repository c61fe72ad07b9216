#include "gui/app/about_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/messages/messages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/logger_icon.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

AboutDlg::AboutDlg(const QString& version, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(text::kAboutCaption));

  auto* icon = new QLabel(this);
  icon->setPixmap(LoggerIcon());
  icon->setAlignment(Qt::AlignTop);

  auto* texts = new QGridLayout;
  texts->addWidget(new QLabel(ToQString(msg::kAppTitle), this), 0, 0, 1, 2);
  texts->addWidget(new QLabel(ToQString(text::kVersionLabel), this), 1, 0);
  texts->addWidget(new QLabel(version, this), 1, 1);
  texts->setColumnStretch(1, 1);
  texts->setHorizontalSpacing(12);

  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace lcu::gui
