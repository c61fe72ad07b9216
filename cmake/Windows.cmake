# The Windows build: how its programs are linked, and what a cross build from Debian needs
# of the host (GoogleTest's sources, CLI11's headers) without reaching the host's libraries.

# The driver backend hands the LCU's driver a 12-byte request block whose pData is the 32-bit
# address of the control request's data stage (win32_usbscan_backend.cpp), so every buffer
# the link passes must lie below 4 GiB. The backend's only fallback copies a higher buffer
# through one low block that it asks the system for at start, which the system need not give.
# Linked without the large-address flag, a 64-bit program gets no address above 2 GiB at all:
# its image (based low, as a non-large-address image must be), its stacks and every heap
# block are addressable by the driver, and the fallback is never needed. Loading at a
# randomised base stays on; the high-entropy layout needs addresses above 4 GiB, so it is off.
if(MSVC)
  add_link_options(/LARGEADDRESSAWARE:NO /HIGHENTROPYVA:NO /BASE:0x400000)
else()
  add_link_options(-Wl,--disable-high-entropy-va -Wl,--image-base,0x400000)
  # GNU ld sets the large-address flag on every 64-bit image: it is cleared after each link.
  if(CMAKE_HOST_UNIX)
    string(APPEND CMAKE_CXX_LINK_EXECUTABLE " && sh ${CMAKE_CURRENT_LIST_DIR}/clear-large-address-aware.sh <TARGET>")
  else()
    message(WARNING "The programs keep the large-address flag: clearing it needs a POSIX shell (or build with MSVC)")
  endif()
  # Without Qt's DLLs in the build (no Qt, or Qt built static as scripts/qt-windows.sh makes
  # it), the programs carry the compiler's runtime themselves: lcu.exe and corvalent.exe then
  # stand alone, importing only the system's DLLs.
  set(lcu_qt_type "")
  if(TARGET Qt6::Core)
    get_target_property(lcu_qt_type Qt6::Core TYPE)
  endif()
  if(NOT Qt6_FOUND OR lcu_qt_type STREQUAL "STATIC_LIBRARY")
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
endif()

if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest as sources (libgtest-dev, in /usr/src/googletest), not built for
  # mingw: it is built here with the cross compiler, and not installed with the programs.
  set(LCU_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources, built for the target")
  if(LCU_BUILD_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${LCU_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()

  # CLI11 is header-only. Its headers are copied into the build folder, so that the host's
  # include folder as a whole never becomes reachable from the target's compiles.
  find_path(LCU_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(LCU_CLI11_INCLUDE_DIR)
    file(COPY ${LCU_CLI11_INCLUDE_DIR}/CLI DESTINATION ${CMAKE_BINARY_DIR}/cli11)
    add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
    target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/cli11)
  endif()
endif()
