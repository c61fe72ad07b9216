# lcu.exe for Windows users: an NSIS installer, lcu-<version>-win64.exe, that puts it in
# Program Files and on the installing user's PATH and takes both away again on uninstall;
# and a zip of the same files.
install(TARGETS lcu RUNTIME DESTINATION bin)

set(CPACK_PACKAGE_NAME "LCU")
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "The LCU command line")
set(CPACK_PACKAGE_FILE_NAME "lcu-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "LCU")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "LCU")
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "LCU command line")
set(CPACK_NSIS_PACKAGE_NAME "LCU command line")
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
# The installer's options page offers the PATH choices; our copy of its page (in
# packaging/windows) chooses the installing user's PATH unless the user picks otherwise,
# and a silent install (/S) takes that choice.
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
include(CPack)
