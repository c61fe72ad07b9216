// The family's default folders. On Windows they are the fixed folders below C:\Velmora;
// elsewhere the same tree lies under the user's home folder (~/Velmora/Setup, ...).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/host/settings_store.h"

namespace lcu {

/// Root of the family's folders: "C:\Velmora" on Windows, "$HOME/Velmora" elsewhere.
std::string VelmoraRoot();
/// Default of "Paths"/"SetupDirectory".
std::string DefaultSetupDirectory();
/// Default of "Paths"/"DataDirectory".
std::string DefaultDataDirectory();
/// The setup folder as the settings name it; the default when the setting is empty.
std::string SetupDirectory(const SettingsStore& store);
/// The general data folder as the settings name it; the default when the setting is empty.
std::string DataDirectory(const SettingsStore& store);
/// folder + native separator + name.
std::string JoinPath(std::string_view folder, std::string_view name);
/// A path of the programs' text (UTF-8). A std::filesystem::path made from a plain string
/// reads it in the system's narrow encoding, which on Windows is not UTF-8.
std::filesystem::path Utf8Path(std::string_view text);

}  // namespace lcu
