# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, which std::thread and std::mutex need). How the programs take the
# compiler's runtime (inside them, or as DLLs beside them) is the project's
# choice, per program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TELLWRIGHT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TELLWRIGHT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELLWRIGHT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TELLWRIGHT_MINGW_PREFIX}-windres)

# Libraries and packages come from the MinGW tree and the prefixes the build
# names (CMAKE_PREFIX_PATH), never from the build machine's own /usr.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TELLWRIGHT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the test programs through Wine.
find_program(TELLWRIGHT_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TELLWRIGHT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TELLWRIGHT_WINE})
endif()
