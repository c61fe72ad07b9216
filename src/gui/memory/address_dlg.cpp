#include "gui/memory/address_dlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "core/host/prompter.h"
#include "core/memory/memory_entry.h"
#include "core/messages/messages.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "gui/logger/dialog_integer.h"
#include "gui/memory/address_view.h"
#include "gui/memory/up_down_control.h"

namespace lcu::gui {

namespace {
// Room in the boxes for a few more characters than they normally hold.
constexpr int kAddressBoxChars = 8;
constexpr int kRangeBoxChars = 5;
constexpr int kLabelGap = 12;
// Frame and text margins of a line edit.
constexpr int kBoxPadding = 14;

QLineEdit* EntryBox(int chars, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + kBoxPadding);
  return box;
}
}  // namespace

QString AddressBarText(std::uint16_t address) { return QString::asprintf("%4.4X", static_cast<unsigned>(address)); }

CAddressDlg::CAddressDlg(CAddressView& view, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      m_view(view),
      m_prompter(prompter),
      m_pAddressEdit(EntryBox(kAddressBoxChars, this)),
      m_pRangeEdit(EntryBox(kRangeBoxChars, this)),
      m_pSpin(new UpDownControl(this)) {
  setWindowTitle(ToQString(text::kAddressBarCaption));
  auto* addressLabel = new QLabel(ToQString(text::kAddressLabel), this);
  addressLabel->setBuddy(m_pAddressEdit);
  auto* rangeLabel = new QLabel(ToQString(text::kRangeLabel), this);
  rangeLabel->setBuddy(m_pRangeEdit);
  m_pSpin->setFixedSize(m_pAddressEdit->sizeHint().height() * 2 / 3, m_pAddressEdit->sizeHint().height());

  // The arrows sit against the Address box they step.
  auto* addressPair = new QHBoxLayout;
  addressPair->setSpacing(0);
  addressPair->addWidget(m_pAddressEdit);
  addressPair->addWidget(m_pSpin);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(addressLabel);
  layout->addLayout(addressPair);
  layout->addSpacing(kLabelGap);
  layout->addWidget(rangeLabel);
  layout->addWidget(m_pRangeEdit);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(m_pAddressEdit, m_pSpin);
  setTabOrder(m_pSpin, m_pRangeEdit);

  m_pRangeEdit->setText(QString::number(m_view.Document().Range()));
  ShowAddress();
  connect(m_pSpin, &UpDownControl::deltaPos, this, &CAddressDlg::OnDeltaPos);
}

void CAddressDlg::ShowAddress() { m_pAddressEdit->setText(AddressBarText(m_view.Document().Address())); }

void CAddressDlg::OnOK() {
  const std::optional<std::int32_t> range = ParseDialogInteger(ToStdString(m_pRangeEdit->text()));
  if (!range || !IsValidMemoryRange(*range)) {
    m_prompter.Error(range ? msg::kEnterIntegerInMemoryRange : msg::kEnterInteger);
    m_pRangeEdit->setFocus();
    m_pRangeEdit->selectAll();
    return;
  }
  m_strAddress = m_pAddressEdit->text();
  m_view.Document().SetRun(ParseAddressEntry(ToStdString(m_strAddress)), *range);
}

void CAddressDlg::reject() {
  QDialog::reject();
  m_view.m_pAddressDlg = nullptr;
  // The bar may be inside one of its own handlers (the Escape key, the close box).
  deleteLater();
}

void CAddressDlg::OnDeltaPos(int delta) {
  MemoryDocument& document = m_view.Document();
  document.SetRun(StepAddress(document.Address(), document.Range(), delta), document.Range());
  ShowAddress();
}

void CAddressDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    OnOK();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lcu::gui
