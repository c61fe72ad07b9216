# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64 and
# gcc-mingw-w64-x86-64, posix threads for std::thread). Only the target's own files are
# searched: nothing of the host's Qt, libusb or GoogleTest may be found and linked.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers for the target only: its own folder, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_FIND_ROOT_PATH}/lib/pkgconfig:${CMAKE_FIND_ROOT_PATH}/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The callers of an inline function (a template instance, say) may be compiled against the
# registers their own copy of it happens to leave alone (GCC's inter-procedural register
# allocation), while the linker keeps just one of the copies in the program: on this target
# GCC does not see that the kept copy may come from another object. Qt's random numbers
# (which name every temporary file) then broke their caller's registers with the copy of
# the standard library's Mersenne twister from the programs' own code. Every call keeps to
# the calling convention instead, in Qt and in the programs alike.
set(CMAKE_C_FLAGS_INIT "-fno-ipa-ra")
set(CMAKE_CXX_FLAGS_INIT "-fno-ipa-ra")

# GCC 12 for this target at -O3 reports null dereferences that cannot happen in inlined
# standard-library code (tests/support/memory_file_system.h); at -O2 it does not, so the
# warnings stay errors and the release build is made at -O2.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
