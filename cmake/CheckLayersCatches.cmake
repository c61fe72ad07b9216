# Shows that the layer check refuses an include that runs against the core's inner order: a
# copy of src/core passes, and the same copy with one such include added (a helper of util
# that includes the session) fails, naming the file and the rule. Run as a test:
#   cmake -DSOURCE_DIR=<src> -DWORK_DIR=<scratch folder> -P CheckLayersCatches.cmake
cmake_minimum_required(VERSION 3.25)

set(copy "${WORK_DIR}/layers-catch")
file(REMOVE_RECURSE "${copy}")
file(COPY "${SOURCE_DIR}/core" DESTINATION "${copy}")

function(check_copy result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${copy} -P ${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake
                  RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

check_copy(result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the copy of the core fails the layer check before any change:\n${output}")
endif()

file(APPEND "${copy}/core/util/decimal_text.h" "#include \"core/session/lcu_session.h\"\n")
check_copy(result output)
file(REMOVE_RECURSE "${copy}")
if(result EQUAL 0)
  message(FATAL_ERROR "the layer check passed a util header that includes the session")
endif()
string(REGEX REPLACE "[ \n]+" " " output "${output}")
set(expected "src/core/util/decimal_text.h: core/util may not include \"core/session/lcu_session.h\" (session comes after util)")
string(FIND "${output}" "${expected}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "the layer check failed without naming the include:\n${output}")
endif()
