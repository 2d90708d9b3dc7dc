# CMake toolchain file for 64-bit Windows: Debian's MinGW-w64 cross compilers (posix threads variant),
# the Qt and GoogleTest that scripts/windows.sh toolchain built with them, and Wine to run what is built
# (tests through CTest, test discovery at build time).
#
#   bash scripts/windows.sh toolchain
#   cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
#
# The cache location follows the script: ZARNOLITH_CACHE, else $XDG_CACHE_HOME/zarnolith, else
# ~/.cache/zarnolith. ZARNOLITH_WINEPREFIX chooses the Wine prefix the tests run in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_zarnolith_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${_zarnolith_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_zarnolith_triple}-g++-posix)
set(CMAKE_RC_COMPILER  ${_zarnolith_triple}-windres)
set(CMAKE_AR           /usr/bin/${_zarnolith_triple}-ar      CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${_zarnolith_triple}-ranlib  CACHE FILEPATH "")
set(CMAKE_STRIP        /usr/bin/${_zarnolith_triple}-strip   CACHE FILEPATH "")
set(CMAKE_OBJCOPY      /usr/bin/${_zarnolith_triple}-objcopy CACHE FILEPATH "")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_zarnolith_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Building Qt or GoogleTest themselves: compilers only (the flag reaches try_compile projects too).
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZARNOLITH_WIN64_DEPS_BUILD)
if(ZARNOLITH_WIN64_DEPS_BUILD)
  return()
endif()

if(DEFINED ENV{ZARNOLITH_CACHE})
  set(_zarnolith_cache "$ENV{ZARNOLITH_CACHE}")
elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(_zarnolith_cache "$ENV{XDG_CACHE_HOME}/zarnolith")
else()
  set(_zarnolith_cache "$ENV{HOME}/.cache/zarnolith")
endif()
if(NOT ZARNOLITH_WIN64_QT_DIR OR NOT ZARNOLITH_WIN64_GTEST_DIR)
  if(NOT EXISTS "${_zarnolith_cache}/win64/current.cmake")
    message(FATAL_ERROR "No Qt for Windows in ${_zarnolith_cache}/win64: run bash scripts/windows.sh toolchain")
  endif()
  include("${_zarnolith_cache}/win64/current.cmake")
endif()
# Kept in the cache so that try_compile projects and re-runs see the same prefixes.
set(ZARNOLITH_WIN64_QT_DIR "${ZARNOLITH_WIN64_QT_DIR}" CACHE PATH "Qt for Windows (install prefix)")
set(ZARNOLITH_WIN64_GTEST_DIR "${ZARNOLITH_WIN64_GTEST_DIR}" CACHE PATH "GoogleTest for Windows (install prefix)")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZARNOLITH_WIN64_QT_DIR ZARNOLITH_WIN64_GTEST_DIR)

list(APPEND CMAKE_FIND_ROOT_PATH "${ZARNOLITH_WIN64_QT_DIR}" "${ZARNOLITH_WIN64_GTEST_DIR}")
list(APPEND CMAKE_PREFIX_PATH "${ZARNOLITH_WIN64_QT_DIR}" "${ZARNOLITH_WIN64_GTEST_DIR}")
# Qt's build tools (moc, rcc, uic) are Debian's, of the very same version as the cross-built Qt.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# Programs run under Wine, finding Qt's and the compiler's DLLs in the Qt prefix.
get_filename_component(_zarnolith_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${_zarnolith_source_root}/scripts/windows.sh;run;--dll-dir;${ZARNOLITH_WIN64_QT_DIR}/bin")
