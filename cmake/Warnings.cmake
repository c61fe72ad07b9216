# Strict warnings for every target of the project; CI turns them into errors.
function(lcu_set_warnings target)
  if(MSVC)
    # The Windows desktop build (preset windows-msvc); the sources are UTF-8.
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
    if(LCU_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE /WX)
    endif()
    return()
  endif()
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wnull-dereference
    -Wimplicit-fallthrough)
  if(LCU_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
