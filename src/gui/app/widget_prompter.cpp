#include "gui/app/widget_prompter.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>

#include "core/messages/messages.h"
#include "gui/app/about_dlg.h"
#include "gui/app/password_dlg.h"
#include "gui/app/qt_text.h"
#include "gui/logger/init_lcu_dlg.h"
#include "gui/logger/lcu_config_dlg.h"
#include "gui/logger/session_data.h"

namespace lcu::gui {

void WidgetPrompter::ShowMessage(MessageKind kind, std::string_view text) {
  const QMessageBox::Icon icon = kind == MessageKind::kInformation ? QMessageBox::Information : QMessageBox::Warning;
  QMessageBox box(icon, ToQString(msg::kAppTitle), ToQString(text), QMessageBox::Ok, m_owner);
  box.exec();
}

// Every question the programs ask is about erasing or replacing data on the LCU or on disk,
// so Enter and Escape both keep the data.
bool WidgetPrompter::AskQuestion(std::string_view text) {
  QMessageBox box(QMessageBox::Question, ToQString(msg::kAppTitle), ToQString(text), QMessageBox::Yes | QMessageBox::No,
                  m_owner);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::int32_t> WidgetPrompter::RunInitLcuDialog() {
  CInitLcuDlg dialog(*this, m_owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.LcuNumber();
}

std::optional<SessionDataValues> WidgetPrompter::RunSessionDataDialog(const SessionDataValues& shown,
                                                                      const SessionDataRanges& ranges) {
  CSessionData dialog(shown, ranges, *this, m_owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Values();
}

bool WidgetPrompter::RunPasswordDialog(QString& entry) {
  CPasswordDlg dialog(m_owner);
  dialog.SetEntry(entry);
  if (dialog.exec() != QDialog::Accepted) return false;
  entry = dialog.Entry();
  return true;
}

void WidgetPrompter::RunAboutBox(const QString& version) {
  AboutDlg dialog(version, m_owner);
  dialog.exec();
}

void WidgetPrompter::RunLcuConfigurationDialog(const LcuConfigurationTexts& texts) {
  LcuConfigDlg dialog(texts, m_owner);
  dialog.exec();
}

QString WidgetPrompter::GetOpenFileName(const QString& title, const QString& folder, const QString& filter) {
  return QFileDialog::getOpenFileName(m_owner, title, folder, filter);
}

QString WidgetPrompter::GetSaveFileName(const QString& title, const QString& initialPath, const QString& filter) {
  return QFileDialog::getSaveFileName(m_owner, title, initialPath, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

bool WidgetPrompter::RunModal(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

std::optional<QFont> WidgetPrompter::GetFont(const QFont& initial) {
  QFontDialog dialog(initial, m_owner);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  // Colour, underline and strike-out are not choices of a list font: the box that holds
  // their check boxes goes.
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
    if (!group->findChildren<QCheckBox*>().isEmpty()) group->hide();
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

QAction* WidgetPrompter::RunPopupMenu(QMenu& menu, const QPoint& globalPos) { return menu.exec(globalPos); }

}  // namespace lcu::gui
