// CChanSelectionDlg: "Active Channels", the check list of the channels the hardware level
// offers, in the order of the available-channel table, each with its number, name and units.
// A filter box above it keeps in view only the channels whose name or number matches what is
// typed; checks of the channels out of view stay as they are. It opens with a window's
// channels checked; OK takes the checked channels in list order.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include <QDialog>

#include "core/app/app_state.h"

class QLineEdit;
class QListWidget;

namespace lcu::gui {

class CChanSelectionDlg : public QDialog {
  Q_OBJECT

 public:
  /// Lists the available channels of app by name and checks those among channels (a
  /// channel the list does not offer stays out).
  CChanSelectionDlg(const AppState& app, std::span<const std::uint16_t> channels, QWidget* parent = nullptr);

  /// In: the window's channels; after OK: the checked channels, at most 1024, followed
  /// by a 0 when there is room.
  std::array<std::uint16_t, kChannelTableSize> m_channels{};
  std::int32_t m_nChannels = 0;

  QListWidget& CheckList() const { return *m_checkList; }
  QLineEdit& Filter() const { return *m_filter; }

  /// Whether a channel is kept in view by the filter text: every channel for an empty text,
  /// else one whose name holds the text (in any case) or whose number starts with it (with
  /// or without the leading zeros it is shown with).
  static bool MatchesFilter(std::uint16_t channel, const QString& name, const QString& filter);

  /// OnOK: takes the checked channels, then closes with OK.
  void accept() override;

 private:
  void ApplyFilter(const QString& filter);

  const AppState& m_app;
  QLineEdit* m_filter;
  QListWidget* m_checkList;
};

}  // namespace lcu::gui
