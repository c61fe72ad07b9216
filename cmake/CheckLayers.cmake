# Checks that every include of src/ keeps to the layers: each folder below src/ may name only
# the layers listed for it, and the core uses the C++ standard library alone (no Qt, libusb or
# system headers). Inside the core, each folder may include only itself and the folders
# before it in core_order, so that no cycle can form between them. Run as a test:
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

set(allowed_core core)
set(allowed_sim core sim)
set(allowed_usb core usb)
set(allowed_platform core platform)
set(allowed_qtstore core qtstore)
set(allowed_program core sim usb platform qtstore program)
set(allowed_cli core sim usb platform program cli)
set(allowed_gui core sim usb platform qtstore program gui)

# The core's folders from the bottom up: plain helpers, the system's texts, the host's services,
# the link, the logger's formats, the channels, the windows' models, the command context, the
# commands, and the session that runs the connection actions.
set(core_order util messages host link logger channels monitor memory firmware app commands session)

set(problems "")
file(GLOB layers RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
foreach(layer IN LISTS layers)
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${layer}")
    continue()
  endif()
  if(NOT DEFINED allowed_${layer})
    string(APPEND problems "src/${layer}: a folder the layer check does not know\n")
    continue()
  endif()
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(header "${CMAKE_MATCH_1}")
        if(NOT header MATCHES "^([a-z]+)/")
          string(APPEND problems "src/${name}: \"${header}\" does not name its layer\n")
        elseif(NOT CMAKE_MATCH_1 IN_LIST allowed_${layer})
          string(APPEND problems "src/${name}: ${layer} may not include \"${header}\"\n")
        elseif(layer STREQUAL "core")
          string(REGEX MATCH "^core/([a-z_]+)/" inner_include "${header}")
          set(to "${CMAKE_MATCH_1}")
          string(REGEX MATCH "^core/([a-z_]+)/" inner_file "${name}")
          set(from "${CMAKE_MATCH_1}")
          list(FIND core_order "${from}" from_rank)
          list(FIND core_order "${to}" to_rank)
          if(from_rank EQUAL -1 OR to_rank EQUAL -1)
            string(APPEND problems "src/${name}: \"${header}\": a core folder the order does not know\n")
          elseif(to_rank GREATER from_rank)
            string(APPEND problems "src/${name}: core/${from} may not include \"${header}\" (${to} comes after ${from})\n")
          endif()
        endif()
      elseif(layer STREQUAL "core" AND line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
        set(header "${CMAKE_MATCH_1}")
        # Standard library headers have no extension; Qt's start with Q.
        if(header MATCHES "\\.|^Q")
          string(APPEND problems "src/${name}: the core may not include <${header}>\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes that cross the layers:\n${problems}")
endif()
