// How the desktop program names itself to the system: its application and organisation
// names and version (what --version prints), and its desktop entry, by which window managers
// and Wayland compositors find the icon for its windows. The settings file does not follow
// these names: the settings store names its own file.
#pragma once

namespace lcu::gui {

/// Sets the names, the version and the desktop entry; may be called before the application
/// object exists.
void SetProgramIdentity();

}  // namespace lcu::gui
