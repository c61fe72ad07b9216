// CChanSelectionDlg: "Active Channels", the check list of the channels the hardware level
// offers, by name in the order of the available-channel table. It opens with a window's
// channels checked; OK takes the checked channels in list order.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include <QDialog>

#include "core/app/app_state.h"

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

  /// OnOK: takes the checked channels, then closes with OK.
  void accept() override;

 private:
  const AppState& m_app;
  QListWidget* m_checkList;
};

}  // namespace lcu::gui
