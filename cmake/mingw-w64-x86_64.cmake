# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which Qt 6
# needs). Qt's own build uses this file as it is; the game's build also names the Qt for Windows
# that tools/build-qt-windows made, in PIRK_QT_WINDOWS, and the host's Qt whose tools it runs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(PIRK_QT_WINDOWS)
    list(APPEND CMAKE_FIND_ROOT_PATH "${PIRK_QT_WINDOWS}")
    list(APPEND CMAKE_PREFIX_PATH "${PIRK_QT_WINDOWS}")
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The game's tests run under wine, through tools/wine-run.
if(PIRK_QT_WINDOWS)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run
                                      ${PIRK_QT_WINDOWS})
endif()
