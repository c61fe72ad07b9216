#include "gui/memory/datum_dlg.h"

#include <array>
#include <string_view>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/memory/memory_entry.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"

namespace lcu::gui {

std::int32_t g_nLastDataFormat = static_cast<std::int32_t>(DatumFormat::kHex);

namespace {
// The radio buttons in the order of their format numbers.
constexpr std::array<std::string_view, 4> kFormatNames = {text::kHexName, text::kAsciiName, text::kDecName,
                                                          text::kBinFormat};
// The data box holds a 16-digit binary value without scrolling.
constexpr int kDataBoxChars = 16;
constexpr int kDataBoxPadding = 14;
}  // namespace

CDatumDlg::CDatumDlg(std::int32_t format, const QString& entry, QWidget* parent)
    : QDialog(parent),
      m_nFormat(format),
      m_strData(entry),
      m_pFormats(new QButtonGroup(this)),
      m_pDataEdit(new QLineEdit(entry, this)) {
  setWindowTitle(ToQString(text::kWriteDataCaption));

  auto* formatGroup = new QGroupBox(ToQString(text::kFormatGroup), this);
  auto* formatRow = new QHBoxLayout(formatGroup);
  for (std::size_t i = 0; i < kFormatNames.size(); ++i) {
    auto* button = new QRadioButton(ToQString(kFormatNames[i]), formatGroup);
    m_pFormats->addButton(button, static_cast<int>(i));
    formatRow->addWidget(button);
  }
  if (QAbstractButton* chosen = m_pFormats->button(format)) chosen->setChecked(true);

  auto* dataGroup = new QGroupBox(ToQString(text::kDataGroup), this);
  auto* dataRow = new QHBoxLayout(dataGroup);
  m_pDataEdit->setFixedWidth(m_pDataEdit->fontMetrics().horizontalAdvance(QString(kDataBoxChars, QLatin1Char('0'))) +
                             kDataBoxPadding);
  m_pDataEdit->selectAll();
  dataRow->addWidget(m_pDataEdit);

  auto* groups = new QHBoxLayout;
  groups->addWidget(formatGroup);
  groups->addWidget(dataGroup);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CDatumDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  m_pDataEdit->setFocus();
}

QAbstractButton& CDatumDlg::FormatButton(std::int32_t format) const { return *m_pFormats->button(format); }

void CDatumDlg::accept() {
  m_nFormat = m_pFormats->checkedId();
  m_strData = m_pDataEdit->text();
  QDialog::accept();
}

}  // namespace lcu::gui
