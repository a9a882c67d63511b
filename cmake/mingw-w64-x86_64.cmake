# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix thread model,
# g++-mingw-w64-x86-64-posix). Programs are linked statically, so an .exe needs no
# DLL beside it, and run under Wine where the build or the tests start them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# -O3 makes GCC 12 warn falsely about overlapping copies in string concatenation.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of release builds")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of release builds")

# Test discovery and the tests run the programs under Wine. Its 64-bit loader sits
# outside PATH when only the wine64 package is installed.
find_program(VK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VK_WINE})
endif()
