// CAddressDlg: the memory window's address bar, a modeless "Enter Address" window. Enter
// applies the typed first address and number of rows to the window's document; the arrows
// step through memory a page at a time; Escape or the close box ends the bar.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QString>

class QLineEdit;

namespace lcu {
class Prompter;
}

namespace lcu::gui {

class CAddressView;
class UpDownControl;

class CAddressDlg final : public QDialog {
  Q_OBJECT

 public:
  /// A bar on the view, showing its address and range; it is not shown yet.
  CAddressDlg(CAddressView& view, Prompter& prompter, QWidget* parent = nullptr);

  /// The Address box's text as taken at the last Enter.
  QString m_strAddress;

  QLineEdit& AddressBox() const { return *m_pAddressEdit; }
  QLineEdit& RangeBox() const { return *m_pRangeEdit; }
  UpDownControl& Spin() const { return *m_pSpin; }

 public slots:
  /// Enter: a range of 1 to 64 and the address go to the document, whose rows are rebuilt.
  /// A range that is not such an integer is refused with a message and the document is left
  /// alone. The bar stays open either way.
  void OnOK();
  /// Escape or the close box: the bar goes and the view forgets it.
  void reject() override;
  /// One step of the arrows: the document's address moves by one page of its current range.
  void OnDeltaPos(int delta);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowAddress();

  CAddressView& m_view;
  Prompter& m_prompter;
  QLineEdit* m_pAddressEdit;
  QLineEdit* m_pRangeEdit;
  UpDownControl* m_pSpin;
};

/// The address as the bar shows it: four upper-case hexadecimal digits.
QString AddressBarText(std::uint16_t address);

}  // namespace lcu::gui
