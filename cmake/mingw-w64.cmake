# Cross-compiling numerak.exe for 64-bit Windows with MinGW-w64 on Linux.
#
# The posix-thread variant of the compiler is the one whose C++ library has std::mutex and
# std::thread, which GoogleTest needs. Everything is linked statically, so that numerak.exe
# runs from its own folder with nothing but the system's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under wine. The 64-bit loader called directly is quiet; the wine
# wrapper script finds it too where it lives elsewhere.
find_program(NUMERAK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NUMERAK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${NUMERAK_WINE})
endif()
