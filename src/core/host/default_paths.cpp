#include "core/host/default_paths.h"

#include <cstdlib>

#include "core/host/registry.h"

namespace lcu {

namespace {
#if defined(_WIN32)
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// An empty setting names no folder; taken as it stands it would be the current folder,
// wherever the program was started.
std::string FolderSetting(const SettingsStore& store, std::string_view name, std::string defaultFolder) {
  std::string folder = RegReadString(store, "", reg::kPaths, name, defaultFolder);
  return folder.empty() ? defaultFolder : folder;
}
}  // namespace

std::string VelmoraRoot() {
#if defined(_WIN32)
  return "C:\\Velmora";
#else
  const char* home = std::getenv("HOME");
  return JoinPath(home && *home ? home : ".", "Velmora");
#endif
}

std::string DefaultSetupDirectory() { return JoinPath(VelmoraRoot(), "Setup"); }
std::string DefaultDataDirectory() { return JoinPath(VelmoraRoot(), "Sample"); }

std::string SetupDirectory(const SettingsStore& store) {
  return FolderSetting(store, reg::kSetupDirectory, DefaultSetupDirectory());
}

std::string DataDirectory(const SettingsStore& store) {
  return FolderSetting(store, reg::kDataDirectory, DefaultDataDirectory());
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != kSeparator && path.back() != '/') path += kSeparator;
  path += name;
  return path;
}

std::filesystem::path Utf8Path(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace lcu
