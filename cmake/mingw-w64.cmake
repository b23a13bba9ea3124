# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix-threads
# variant, for std::thread), run under Wine by CTest:
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZEL_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, quietly.
find_program(ZEL_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEL_WINE})
