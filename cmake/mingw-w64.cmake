# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Test programs run under Wine when it is installed (ctest uses the emulator).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tavrin_mingw x86_64-w64-mingw32)
# The posix thread model: std::thread and friends as the standard wants them.
set(CMAKE_C_COMPILER ${tavrin_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tavrin_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${tavrin_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${tavrin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links the C++ and thread runtimes statically: nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(TAVRIN_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(TAVRIN_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVRIN_WINE64})
endif()
