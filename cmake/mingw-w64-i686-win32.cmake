# Cross-compiles the 32-bit Windows build with Debian's mingw-w64 for i686, in the -win32
# thread model: unlike -posix it links no winpthreads, whose imports Windows 98 and Me
# lack. Statically linked, it depends on nothing but system DLLs, and the linker writes
# PE32 with OS and subsystem version 4.0, which Windows 98 SE and Me load. One
# cindermoor.exe for every Windows from 98 SE to 11; the program picks the calls of the
# 9x family at run time. 32-bit Wine is not assumed: this build's tests only examine the
# executable, and its 9x paths are run by the 64-bit build under Wine reporting Windows 98.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_SYSTEM_VERSION 4.0)

set(MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
