// CSessionData: shows the session, outing, lap count and pace laps of the LCU and lets the
// user change them. Update with a field that is no integer, or lies outside what the LCU can
// store, shows why and keeps the dialog open; Cancel leaves everything as it was.
#pragma once

#include <array>

#include <QDialog>

#include "core/host/prompter.h"

class QLineEdit;

namespace lcu::gui {

class CSessionData : public QDialog {
  Q_OBJECT

 public:
  CSessionData(const SessionDataValues& shown, const SessionDataRanges& ranges, Prompter& prompter,
               QWidget* parent = nullptr);

  /// The values entered; valid once the dialog has been accepted.
  const SessionDataValues& Values() const { return m_values; }

  void accept() override;

 private:
  Prompter& m_prompter;
  SessionDataRanges m_ranges;
  SessionDataValues m_values;
  std::array<QLineEdit*, 4> m_edits{};
};

}  // namespace lcu::gui
