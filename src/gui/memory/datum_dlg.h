// CDatumDlg: the modal "Write Data" dialog of the memory window: the number format of the
// value and the value itself, which the view then writes to every selected address.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QString>

class QAbstractButton;
class QButtonGroup;
class QLineEdit;

namespace lcu::gui {

/// The format chosen at the last OK of the write dialog, for the whole run; Hex (0) at
/// start.
extern std::int32_t g_nLastDataFormat;

class CDatumDlg final : public QDialog {
  Q_OBJECT

 public:
  /// Opens with the format's button chosen (none for a format outside 0 to 3) and the entry
  /// in the data box.
  CDatumDlg(std::int32_t format, const QString& entry, QWidget* parent = nullptr);

  /// The chosen format (0 Hex, 1 ASCII, 2 Dec, 3 Bin; -1 when none is chosen) and the
  /// typed value, taken at OK.
  std::int32_t m_nFormat = 0;
  QString m_strData;

  QAbstractButton& FormatButton(std::int32_t format) const;
  QLineEdit& DataBox() const { return *m_pDataEdit; }

 public slots:
  void accept() override;

 private:
  QButtonGroup* m_pFormats;
  QLineEdit* m_pDataEdit;
};

}  // namespace lcu::gui
