// WaitingPrompter: a prompter whose every message and question counts as a wait of the
// command that shows it (LinkOwner::WaitScope). In the desktop program a message box runs
// the event loop: while the user reads or answers, the session's traffic goes on as it would
// without the command, and no second command can start.
#pragma once

#include "core/host/prompter.h"
#include "core/link/link_owner.h"

namespace lcu {

class WaitingPrompter final : public Prompter {
 public:
  WaitingPrompter(Prompter& inner, LinkOwner& link) : m_inner(inner), m_link(link) {}

  void ShowMessage(MessageKind kind, std::string_view text) override {
    const LinkOwner::WaitScope wait(m_link);
    m_inner.ShowMessage(kind, text);
  }
  bool AskQuestion(std::string_view text) override {
    const LinkOwner::WaitScope wait(m_link);
    return m_inner.AskQuestion(text);
  }
  void ShowNote(std::string_view text) override {
    const LinkOwner::WaitScope wait(m_link);
    m_inner.ShowNote(text);
  }
  std::optional<std::int32_t> RunInitLcuDialog() override {
    const LinkOwner::WaitScope wait(m_link);
    return m_inner.RunInitLcuDialog();
  }
  std::optional<SessionDataValues> RunSessionDataDialog(const SessionDataValues& shown,
                                                        const SessionDataRanges& ranges) override {
    const LinkOwner::WaitScope wait(m_link);
    return m_inner.RunSessionDataDialog(shown, ranges);
  }

 private:
  Prompter& m_inner;
  LinkOwner& m_link;
};

}  // namespace lcu
