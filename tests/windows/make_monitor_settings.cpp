// Writes the monitor settings file the desktop program's smoke run opens at start: the main
// window and one monitor window showing the channels given, in the font named, laid out as
// the program would save them.
// Usage: make_monitor_settings FILE FACE HEIGHT CHANNEL...
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/monitor/monitor_document.h"
#include "core/monitor/settings_image.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fputs("usage: make_monitor_settings FILE FACE HEIGHT CHANNEL...\n", stderr);
    return 2;
  }
  lcu::SettingsImage image;
  image.windowCount = 1;
  image.mainPlacement.showCmd = lcu::kPlacementNormal;
  image.mainPlacement.left = 40;
  image.mainPlacement.top = 30;
  image.mainPlacement.right = 940;
  image.mainPlacement.bottom = 630;

  lcu::MonitorWindowRecord& window = image.records[0];
  window.placement.showCmd = lcu::kPlacementNormal;
  window.placement.left = 10;
  window.placement.top = 10;
  window.placement.right = 460;
  window.placement.bottom = 400;
  window.active = 1;
  window.SetName("Smoke run");
  window.columnWidths = lcu::kDefaultColumnWidths;
  window.font.SetFaceName(argv[2]);
  window.font.height = -std::stoi(argv[3]);
  window.font.weight = lcu::kFontWeightNormal;
  for (int i = 4; i < argc && window.channelCount < static_cast<std::int32_t>(lcu::kStoredChannels); ++i) {
    window.channels[static_cast<std::size_t>(window.channelCount++)] = static_cast<std::uint16_t>(std::stoi(argv[i]));
  }

  std::array<std::uint8_t, lcu::kSettingsImageSize> bytes{};
  image.Write(bytes);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
