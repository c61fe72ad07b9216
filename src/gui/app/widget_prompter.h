// WidgetPrompter: the GuiPrompter of the running program. Messages are modal boxes captioned
// "Corvalent" (errors with the exclamation icon, information with the information icon,
// questions with Yes and No); the dialogs are the program's own.
#pragma once

#include <QPointer>
#include <QWidget>

#include "gui/app/gui_prompter.h"

namespace lcu::gui {

class WidgetPrompter final : public GuiPrompter {
 public:
  void SetOwner(QWidget* owner) override { m_owner = owner; }

  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool AskQuestion(std::string_view text) override;
  std::optional<std::int32_t> RunInitLcuDialog() override;
  std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown,
                                                        const SessionDataRanges& ranges) override;

  bool RunPasswordDialog(QString& entry) override;
  void RunAboutBox(const QString& version) override;
  void RunLcuConfigurationDialog(const LcuConfigurationTexts& texts) override;
  QString GetOpenFileName(const QString& title, const QString& folder, const QString& filter) override;
  QString GetSaveFileName(const QString& title, const QString& initialPath, const QString& filter) override;
  bool RunModal(QDialog& dialog) override;
  std::optional<QFont> GetFont(const QFont& initial) override;
  QAction* RunPopupMenu(QMenu& menu, const QPoint& globalPos) override;

 private:
  QPointer<QWidget> m_owner;
};

}  // namespace lcu::gui
