# Cross-compiles the Windows build with Debian's mingw-w64 (the -posix thread model, which
# std::thread and GoogleTest need) into a statically linked cindermoor.exe that depends on
# nothing but system DLLs. Tests run under Wine through the cross-compiling emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# CINDERMOOR_MINGW_PREFIX: where cross-built dependencies (GoogleTest) are installed.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET} ${CINDERMOOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Debian's wine64 package installs the loader as "wine"; a "wine64" on PATH wins when present.
find_program(CINDERMOOR_WINE NAMES wine64 wine)
if(CINDERMOOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CINDERMOOR_WINE})
endif()
