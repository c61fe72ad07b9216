# The Windows installer, corvalent-<version>-win64.exe (NSIS), and a zip of the same files: the
# desktop program corvalent.exe and the command line lcu.exe in Program Files\Corvalent\bin, a
# Start-menu entry "Corvalent" with the program's icon, an optional desktop shortcut, lcu.exe
# on the installing user's PATH, and an entry in Apps and Features with version, publisher,
# icon and size whose uninstaller takes all of that away again. Settings (the registry) and
# data (C:\Velmora) are the user's and stay.
install(TARGETS lcu RUNTIME DESTINATION bin)
if(TARGET corvalent)
  install(TARGETS corvalent RUNTIME DESTINATION bin)
endif()

set(CPACK_PACKAGE_NAME "Corvalent")
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "The LCU workstation: the desktop program and the command line")
set(CPACK_PACKAGE_FILE_NAME "corvalent-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Corvalent")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Corvalent")
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "Corvalent")
set(CPACK_NSIS_PACKAGE_NAME "Corvalent")
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/packaging/windows/corvalent.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/packaging/windows/corvalent.ico")
if(TARGET corvalent)
  # The Start-menu entry; the desktop shortcut when the options page's box is ticked. Apps and
  # Features shows the program's own icon.
  set(CPACK_PACKAGE_EXECUTABLES "corvalent" "Corvalent")
  set(CPACK_CREATE_DESKTOP_LINKS "corvalent")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\corvalent.exe")
endif()
# Apps and Features shows the size it is told: the installed files' size, which the installer
# knows of its one section.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}' 'EstimatedSize' $0")
# A 64-bit installer for 64-bit programs: it runs where 32-bit programs cannot (a 64-bit-only
# Wine among them) and sees the real Program Files. CPack's own installer script is used with
# the target named at its top, and with our copy of its options page (see below).
set(lcu_nsis_templates ${CMAKE_BINARY_DIR}/nsis)
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in lcu_nsis_script)
string(FIND "${lcu_nsis_script}" "\n" lcu_first_line_end)  # the first line holds the file's byte-order mark
string(SUBSTRING "${lcu_nsis_script}" 0 ${lcu_first_line_end} lcu_first_line)
string(SUBSTRING "${lcu_nsis_script}" ${lcu_first_line_end} -1 lcu_rest)
file(WRITE ${lcu_nsis_templates}/NSIS.template.in "${lcu_first_line}\nTarget amd64-unicode${lcu_rest}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/NSIS.InstallOptions.ini.in
               ${lcu_nsis_templates}/NSIS.InstallOptions.ini.in COPYONLY)
set(CPACK_STRIP_FILES ON)
# The values reach the installer's script as written here (a backslash is one backslash).
set(CPACK_VERBATIM_VARIABLES ON)
# The installer's options page offers the PATH choices and the desktop shortcut; our copy of
# its page (in packaging/windows) chooses the installing user's PATH unless the user picks
# otherwise, and a silent install (/S) takes that choice and no desktop shortcut.
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_MODULE_PATH ${lcu_nsis_templates})
include(CPack)
