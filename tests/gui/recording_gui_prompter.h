// A GuiPrompter for the desktop program's tests: records every message and dialog, answers
// questions and dialogs from a script, and never opens a modal window.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "gui/app/gui_prompter.h"

namespace lcu::test {

class RecordingGuiPrompter final : public gui::GuiPrompter {
 public:
  void ShowMessage(MessageKind kind, std::string_view text) override {
    messages.emplace_back(text);
    kinds.push_back(kind);
  }
  bool AskQuestion(std::string_view text) override {
    questions.emplace_back(text);
    return yes;
  }
  std::optional<std::int32_t> RunInitLcuDialog() override {
    ++initDialogs;
    return std::nullopt;
  }
  std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown) override {
    sessionShown.push_back(shown);
    return std::nullopt;
  }
  bool RunPasswordDialog(QString& entry) override {
    passwordShown.push_back(entry);
    if (passwordEntries.empty()) return false;
    const std::optional<QString> typed = passwordEntries.front();
    passwordEntries.pop_front();
    if (!typed) return false;
    entry = *typed;
    return true;
  }
  void RunAboutBox(const QString& version) override { aboutVersions.push_back(version); }
  void RunLcuConfigurationDialog(const LcuConfigurationTexts& texts) override { configurations.push_back(texts); }
  QString GetOpenFileName(const QString& title, const QString& folder, const QString& filter) override {
    fileDialogs.push_back({title, folder, filter});
    return openFileAnswer;
  }

  int Count(std::string_view text) const {
    int n = 0;
    for (const std::string& message : messages) n += message == text ? 1 : 0;
    return n;
  }

  struct FileDialog {
    QString title;
    QString folder;
    QString filter;
  };

  std::vector<std::string> messages;
  std::vector<MessageKind> kinds;
  std::vector<std::string> questions;
  bool yes = false;
  int initDialogs = 0;
  std::vector<SessionDataValues> sessionShown;
  /// Typed entries in order; nullopt (or running out) is Cancel.
  std::deque<std::optional<QString>> passwordEntries;
  /// The text each Password dialog opened with.
  std::vector<QString> passwordShown;
  std::vector<QString> aboutVersions;
  std::vector<LcuConfigurationTexts> configurations;
  std::vector<FileDialog> fileDialogs;
  QString openFileAnswer;  // empty: Cancel
};

}  // namespace lcu::test
