# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TINTWELL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TINTWELL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTWELL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TINTWELL_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TINTWELL_MINGW_PREFIX}-objdump)
set(CMAKE_STRIP ${TINTWELL_MINGW_PREFIX}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${TINTWELL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# libgcc, libstdc++ and winpthread go inside every program, so none needs a DLL
# beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine.
find_program(TINTWELL_WINE NAMES wine64 wine)
if(TINTWELL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TINTWELL_WINE})
endif()
