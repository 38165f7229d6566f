# Cross-compiles the Windows console program with mingw-w64, in its POSIX
# thread model, which GoogleTest needs for std::mutex. Tests run under Wine.
#
# KESTRO_WINDOWS_ARCH chooses the target: i686 (default) is the 32-bit
# program that ships (Debian package g++-mingw-w64-i686); x86_64 builds the
# same sources as a 64-bit program (g++-mingw-w64-x86-64), for machines
# whose kernel cannot run the 32-bit Wine loader.
if(NOT KESTRO_WINDOWS_ARCH)
  set(KESTRO_WINDOWS_ARCH i686)
endif()
set(KESTRO_WINDOWS_ARCH ${KESTRO_WINDOWS_ARCH} CACHE STRING "i686 or x86_64")
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRO_WINDOWS_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTRO_WINDOWS_ARCH})
set(triplet ${KESTRO_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
if(KESTRO_WINDOWS_ARCH STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
