// A GuiPrompter for the desktop program's tests: records every message and dialog, answers
// questions and dialogs from a script, and never opens a modal window. Messages, questions
// and the core's two dialogs are recorded and answered as by RecordingPrompter.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QString>

#include "gui/app/gui_prompter.h"
#include "support/recording_prompter.h"

namespace lcu::test {

// Both bases are Prompters; every Prompter call ends in the overrides here, so the two agree.
class RecordingGuiPrompter final : public gui::GuiPrompter, public RecordingPrompter {
 public:
  void ShowMessage(MessageKind kind, std::string_view text) override {
    RecordingPrompter::ShowMessage(kind, text);
    kinds.push_back(kind);
  }
  bool AskQuestion(std::string_view text) override { return RecordingPrompter::AskQuestion(text); }
  void ShowNote(std::string_view text) override { RecordingPrompter::ShowNote(text); }
  std::optional<std::int32_t> RunInitLcuDialog() override { return RecordingPrompter::RunInitLcuDialog(); }
  std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown,
                                                        const SessionDataRanges& ranges) override {
    return RecordingPrompter::RunSessionDataDialog(shown, ranges);
  }
  bool RunPasswordDialog(QString& entry) override {
    passwordShown.push_back(entry);
    if (passwordEntries.empty()) return false;
    const std::optional<QString> typed = passwordEntries.front();
    passwordEntries.pop_front();
    if (typed) entry = *typed;
    return typed.has_value();
  }
  void RunAboutBox(const QString& version) override { aboutVersions.push_back(version); }
  void RunLcuConfigurationDialog(const LcuConfigurationTexts& texts) override { configurations.push_back(texts); }
  QString GetOpenFileName(const QString& title, const QString& folder, const QString& filter) override {
    fileDialogs.push_back({title, folder, filter});
    return openFileAnswer;
  }
  QString GetSaveFileName(const QString& title, const QString& initialPath, const QString& filter) override {
    saveDialogs.push_back({title, initialPath, filter});
    return saveFileAnswer;
  }
  /// Each dialog goes to the next script, which fills it in and ends it; without one, Cancel.
  bool RunModal(QDialog& dialog) override {
    modalTitles.push_back(dialog.windowTitle());
    if (dialogScripts.empty()) return false;
    const auto script = std::move(dialogScripts.front());
    dialogScripts.pop_front();
    return script(dialog);
  }
  std::optional<QFont> GetFont(const QFont& initial) override {
    fontsShown.push_back(initial);
    return fontAnswer;
  }
  /// Records the items; the item whose text is popupChoice is chosen (and triggered).
  QAction* RunPopupMenu(QMenu& menu, const QPoint&) override {
    QStringList items;
    QAction* chosen = nullptr;
    for (QAction* action : menu.actions()) {
      items.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
      if (!action->isSeparator() && action->text() == popupChoice) chosen = action;
    }
    popups.push_back(items);
    if (chosen) chosen->trigger();
    return chosen;
  }

  /// Scripts the next dialog, a D: fill fills it in, then OK, which D may refuse.
  template <typename D>
  void AcceptNext(std::function<void(D&)> fill) {
    dialogScripts.push_back([fill = std::move(fill)](QDialog& dialog) {
      fill(static_cast<D&>(dialog));
      dialog.accept();
      return dialog.result() == QDialog::Accepted;
    });
  }

  int Count(std::string_view text) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), text));
  }

  struct FileDialog {
    QString title, folder, filter;
  };

  std::vector<MessageKind> kinds;
  /// Typed entries in order; nullopt (or running out) is Cancel.
  std::deque<std::optional<QString>> passwordEntries;
  /// The text each Password dialog opened with.
  std::vector<QString> passwordShown;
  std::vector<QString> aboutVersions;
  std::vector<LcuConfigurationTexts> configurations;
  std::vector<FileDialog> fileDialogs;
  QString openFileAnswer;               // empty: Cancel
  std::vector<FileDialog> saveDialogs;  // folder holds the initial path
  QString saveFileAnswer;               // empty: Cancel
  std::vector<QString> modalTitles;
  std::deque<std::function<bool(QDialog&)>> dialogScripts;
  std::vector<QFont> fontsShown;
  std::optional<QFont> fontAnswer;  // nullopt: Cancel
  std::vector<QStringList> popups;
  QString popupChoice;  // empty: the menu is dismissed
};

}  // namespace lcu::test
