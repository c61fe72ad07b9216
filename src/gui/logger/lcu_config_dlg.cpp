#include "gui/logger/lcu_config_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

LcuConfigDlg::LcuConfigDlg(const LcuConfigurationTexts& texts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(text::kLcuConfigurationCaption));

  auto* group = new QGroupBox(ToQString(text::kConfigurationGroup), this);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(16);
  for (std::size_t i = 0; i < kLcuConfigurationRows; ++i) {
    const int row = static_cast<int>(i);
    auto* value = new QLabel(ToQString(texts[i]), group);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(140);
    grid->addWidget(new QLabel(ToQString(kLcuConfigurationLabels[i]), group), row, 0);
    grid->addWidget(value, row, 1);
  }
  grid->setColumnStretch(1, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace lcu::gui
