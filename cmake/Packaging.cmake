# Installing on Linux and the Debian package: the two programs, the udev rule, the desktop
# entry with its icon and metainfo, the man pages made from the programs' own help, the bash
# completion, the licence; `cpack -G DEB` in the build folder makes the .deb
# (scripts/package.sh builds and checks it).
include(GNUInstallDirs)

set(LCU_PACKAGE_NAME "lcu-workstation")
set(LCU_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging/linux")
set(LCU_PACKAGING_OUT "${PROJECT_BINARY_DIR}/packaging")
file(MAKE_DIRECTORY "${LCU_PACKAGING_OUT}")
# The files read here, not through configure_file: a change to one configures again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  "${LCU_PACKAGING_DIR}/70-lcu.rules" "${LCU_PACKAGING_DIR}/changelog" "${PROJECT_SOURCE_DIR}/LICENSE")

# A folder that a pkg-config variable names (where udev reads its rules, where bash finds
# completions), below the install prefix: /usr/lib/udev and /lib/udev both become lib/udev,
# which udev reads under /usr and /usr/local alike. A folder elsewhere is kept as it is.
function(lcu_system_dir result module variable fallback)
  set(dir "")
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_get_variable(dir ${module} ${variable})
  endif()
  if(dir STREQUAL "")
    set(dir "${fallback}")
  elseif(dir MATCHES "^/usr/(.+)$")
    set(dir "${CMAKE_MATCH_1}")
  elseif(dir MATCHES "^/((lib|share)(/.*)?)$")
    set(dir "${CMAKE_MATCH_1}")
  endif()
  set(${result} "${dir}" PARENT_SCOPE)
endfunction()

# The release this build is: the newest entry of the package's change log gives its date
# and the maintainer; its version must be the project's.
file(STRINGS "${LCU_PACKAGING_DIR}/changelog" LCU_CHANGELOG_HEAD LIMIT_COUNT 1)
file(STRINGS "${LCU_PACKAGING_DIR}/changelog" LCU_CHANGELOG_TRAILER REGEX "^ -- " LIMIT_COUNT 1)
if(NOT LCU_CHANGELOG_HEAD MATCHES "^${LCU_PACKAGE_NAME} \\(([^)-]+)-([^)]+)\\)")
  message(FATAL_ERROR "packaging/linux/changelog: the first line names no version of ${LCU_PACKAGE_NAME}")
endif()
set(LCU_PACKAGE_RELEASE "${CMAKE_MATCH_2}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(WARNING "packaging/linux/changelog is at ${CMAKE_MATCH_1}, the project at ${PROJECT_VERSION}: "
                  "add an entry for this version before packaging it")
endif()
if(NOT LCU_CHANGELOG_TRAILER MATCHES "^ -- (.+ <[^>]+>)  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ")
  message(FATAL_ERROR "packaging/linux/changelog: the first entry has no maintainer line with a date")
endif()
set(LCU_MAINTAINER "${CMAKE_MATCH_1}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${CMAKE_MATCH_3}" month)
math(EXPR month "${month} + 1")
math(EXPR day "${CMAKE_MATCH_2}")
if(month LESS 10)
  set(month "0${month}")
endif()
if(day LESS 10)
  set(day "0${day}")
endif()
set(LCU_RELEASE_DATE "${CMAKE_MATCH_4}-${month}-${day}")

# The programs.
install(TARGETS lcu corvalent RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The udev rule. With LCU_USB_VENDOR_ID set (hex, the vendor id the LCUs of this site carry,
# as in the setting Config/Hardware UsbVendorId), it matches that vendor id too.
lcu_system_dir(LCU_UDEV_DIR udev udevdir "lib/udev")
set(LCU_UDEV_RULES_DIR "${LCU_UDEV_DIR}/rules.d" CACHE STRING "Where the udev rule is installed")
set(LCU_USB_VENDOR_ID "" CACHE STRING "The LCU's USB vendor id (hex) for the udev rule to match; empty matches any")
file(READ "${LCU_PACKAGING_DIR}/70-lcu.rules" rules)
if(NOT LCU_USB_VENDOR_ID STREQUAL "")
  string(TOLOWER "${LCU_USB_VENDOR_ID}" vendor)
  string(REGEX REPLACE "^0x" "" vendor "${vendor}")
  if(NOT vendor MATCHES "^[0-9a-f]?[0-9a-f]?[0-9a-f]?[0-9a-f]$")
    message(FATAL_ERROR "LCU_USB_VENDOR_ID must be a 16-bit hex number, e.g. 1a2b")
  endif()
  # udev compares the id as sysfs writes it: four digits.
  string(PREPEND vendor "000")
  string(REGEX MATCH "....$" vendor "${vendor}")
  string(REPLACE "ATTR{idProduct}==\"04ce\", " "ATTR{idVendor}==\"${vendor}\", ATTR{idProduct}==\"04ce\", "
         rules "${rules}")
endif()
file(WRITE "${LCU_PACKAGING_OUT}/70-lcu.rules" "${rules}")
install(FILES "${LCU_PACKAGING_OUT}/70-lcu.rules" DESTINATION "${LCU_UDEV_RULES_DIR}")

# The desktop entry, the icon and the metainfo, all named by the application id that the
# program gives the window system.
configure_file("${LCU_PACKAGING_DIR}/corvalent.desktop.in" "${LCU_PACKAGING_OUT}/${LCU_APP_ID}.desktop" @ONLY)
configure_file("${LCU_PACKAGING_DIR}/corvalent.metainfo.xml.in" "${LCU_PACKAGING_OUT}/${LCU_APP_ID}.metainfo.xml"
               @ONLY)
install(FILES "${LCU_PACKAGING_OUT}/${LCU_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${LCU_PACKAGING_OUT}/${LCU_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${LCU_PACKAGING_DIR}/corvalent.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${LCU_APP_ID}.svg")
find_program(LCU_RSVG_CONVERT rsvg-convert)
if(LCU_RSVG_CONVERT)
  set(icons "")
  foreach(size 16 24 32 48 64 128 256)
    set(png "${LCU_PACKAGING_OUT}/icons/${size}x${size}/${LCU_APP_ID}.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${LCU_PACKAGING_OUT}/icons/${size}x${size}"
      COMMAND "${LCU_RSVG_CONVERT}" -w ${size} -h ${size} -o "${png}" "${LCU_PACKAGING_DIR}/corvalent.svg"
      DEPENDS "${LCU_PACKAGING_DIR}/corvalent.svg"
      COMMENT "Drawing the ${size}x${size} icon" VERBATIM)
    list(APPEND icons "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
  endforeach()
  add_custom_target(lcu_icons ALL DEPENDS ${icons})
else()
  message(WARNING "rsvg-convert not found (Debian: librsvg2-bin): only the scalable icon is installed")
endif()

# The man pages, made from the built programs' help each time a program is rebuilt, so that
# they cannot fall behind the programs.
find_program(LCU_HELP2MAN help2man)
if(CMAKE_CROSSCOMPILING)
  message(STATUS "Cross-compiling: the man pages, made by running the programs, are not made")
elseif(LCU_HELP2MAN)
  set(pages "")
  foreach(program lcu corvalent)
    set(page "${LCU_PACKAGING_OUT}/man/${program}.1")
    add_custom_command(OUTPUT "${page}.gz"
      COMMAND "${LCU_PACKAGING_DIR}/make-man-page.sh" "$<TARGET_FILE:${program}>" "${LCU_PACKAGING_DIR}/${program}.h2m"
              "${page}" "${LCU_RELEASE_DATE}"
      DEPENDS ${program} "${LCU_PACKAGING_DIR}/make-man-page.sh" "${LCU_PACKAGING_DIR}/${program}.h2m"
      COMMENT "Writing the man page ${program}(1)" VERBATIM)
    list(APPEND pages "${page}.gz")
  endforeach()
  add_custom_target(lcu_man_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
else()
  message(WARNING "help2man not found: the man pages are not made")
endif()

# Bash completion for lcu.
lcu_system_dir(LCU_BASH_COMPLETION_DIR bash-completion completionsdir "share/bash-completion/completions")
install(FILES "${LCU_PACKAGING_DIR}/lcu.bash-completion" DESTINATION "${LCU_BASH_COMPLETION_DIR}" RENAME lcu)

# The documents: the licence as Debian's machine-readable copyright file (its text taken from
# LICENSE) and the change log, where Debian keeps them.
set(LCU_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/${LCU_PACKAGE_NAME}")
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" licence_lines)
set(licence_text "")
set(in_terms FALSE)
foreach(line IN LISTS licence_lines)
  if(line MATCHES "^Permission is hereby granted")
    set(in_terms TRUE)
  endif()
  if(in_terms)
    if(line STREQUAL "")
      string(APPEND licence_text " .\n")
    else()
      string(APPEND licence_text " ${line}\n")
    endif()
  endif()
endforeach()
string(REGEX REPLACE "\n$" "" licence_text "${licence_text}")
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" copyright_line REGEX "^Copyright ")
string(REGEX REPLACE "^Copyright \\(c\\) " "" copyright_line "${copyright_line}")
configure_file("${LCU_PACKAGING_DIR}/copyright.in" "${LCU_PACKAGING_OUT}/copyright" @ONLY)
set(changelog_gz "${LCU_PACKAGING_OUT}/changelog.Debian.gz")
add_custom_command(OUTPUT "${changelog_gz}"
  COMMAND gzip -9nc "${LCU_PACKAGING_DIR}/changelog" > "${changelog_gz}"
  DEPENDS "${LCU_PACKAGING_DIR}/changelog"
  COMMENT "Compressing the change log")
add_custom_target(lcu_changelog ALL DEPENDS "${changelog_gz}")
install(FILES "${LCU_PACKAGING_OUT}/copyright" "${changelog_gz}" DESTINATION "${LCU_DOC_DIR}")
# The package goes to technicians, not into Debian's archive: there is no request for
# packaging for its first change log entry to close.
install(FILES "${LCU_PACKAGING_DIR}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME "${LCU_PACKAGE_NAME}")

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "${LCU_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "The LCU workstation developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workstation of the LCU engine data logger")
set(CPACK_PACKAGE_DESCRIPTION
    "The programs a technician uses beside the car with the LCU, an engine\n"
    "data logger attached over USB: corvalent, the desktop program, and lcu,\n"
    "the same jobs on the command line for scripts. They download the logged\n"
    "data into files, send the configuration and calibration, show live\n"
    "channel values, read and write the logger's memory, load firmware and\n"
    "run the maintenance commands.\n"
    "\n"
    "Both take --simulate to work with a simulated LCU, so that everything\n"
    "can be tried without hardware. The package's udev rule lets the user at\n"
    "the seat and members of plugdev open the LCU.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${LCU_PACKAGE_RELEASE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LCU_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own Wayland platform, so that a Wayland session shows the program natively with its
# desktop entry's icon rather than through X.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${LCU_PACKAGING_DIR}/postinst;${LCU_PACKAGING_DIR}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
