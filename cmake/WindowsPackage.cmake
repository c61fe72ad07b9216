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
# A 64-bit installer for a 64-bit program: it runs where 32-bit programs cannot (a 64-bit-only
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
# The installer's options page offers the PATH choices; our copy of its page (in
# packaging/windows) chooses the installing user's PATH unless the user picks otherwise,
# and a silent install (/S) takes that choice.
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_MODULE_PATH ${lcu_nsis_templates})
include(CPack)
