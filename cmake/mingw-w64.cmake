# Toolchain for the Windows tree: 64-bit Windows binaries built with Debian's
# mingw-w64 cross compilers, run under Wine.
#
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#
# Besides the compilers this file provides, for the rest of the build:
#   PRAMEL_WIDL               the IDL compiler that makes Velda's type library
#   PRAMEL_WINE_IDL_INCLUDE   Wine's IDL folder (oaidl.idl, ocidl.idl, ...) for widl
#   PRAMEL_WINEPREFIX         the Wine prefix private to this build tree
#   PRAMEL_WINE_RUN           scripts/wine-run.sh: runs a Windows program in that prefix
#   PRAMEL_TEST_ENVIRONMENT   the environment every CTest entry of this tree gets
# and makes CTest run the tree's executables through Wine.
#
# CMake reads this file again for every try_compile, with CMAKE_BINARY_DIR set
# to a scratch folder; nothing here depends on being read only once.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PRAMEL_MINGW_TRIPLET x86_64-w64-mingw32)

# The posix thread model: GoogleTest and std::thread need winpthread, which
# the win32 model's libstdc++ lacks. Everything is linked statically (see
# cmake/CompilerFlags.cmake), so the binaries still need no mingw DLLs.
set(CMAKE_C_COMPILER   ${PRAMEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PRAMEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${PRAMEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PRAMEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(PRAMEL_WIDL NAMES ${PRAMEL_MINGW_TRIPLET}-widl
  DOC "IDL compiler for type libraries (package mingw-w64-tools)")
set(PRAMEL_WINE_IDL_INCLUDE /usr/include/wine/wine/windows
  CACHE PATH "Folder with the system IDL files widl imports (oaidl.idl, ...)")

# Wine: one prefix per build tree, never ~/.wine, so a build tree can be
# deleted and re-created without touching anything else on the machine.
get_filename_component(PRAMEL_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(PRAMEL_WINE_RUN "${PRAMEL_SOURCE_ROOT}/scripts/wine-run.sh")
set(PRAMEL_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix"
  CACHE PATH "Wine prefix private to this build tree")

# Settings every Windows program of the tree runs with: ANSI code page 932
# (Wine takes it from the locale), no debug channels, no Mono or Gecko
# installer prompts and no desktop menu entries written to the home folder
# (winemenubuilder). The wrapper sets the same; the test environment repeats
# them so a test that starts Wine by itself (cscript, regsvr32) sees them too.
# No ";" in these values: PRAMEL_TEST_ENVIRONMENT is a CMake list.
set(PRAMEL_WINE_LOCALE ja_JP.UTF-8)
set(PRAMEL_WINEDLLOVERRIDES "mscoree,mshtml,winemenubuilder.exe=")
set(PRAMEL_TEST_ENVIRONMENT
  "WINEPREFIX=${PRAMEL_WINEPREFIX}"
  "WINEDEBUG=-all"
  "LC_ALL=${PRAMEL_WINE_LOCALE}"
  "WINEDLLOVERRIDES=${PRAMEL_WINEDLLOVERRIDES}")

# CTest (add_test with a target), try_run and custom commands that run one of
# the tree's executables go through the wrapper, which also creates the prefix
# on first use.
set(CMAKE_CROSSCOMPILING_EMULATOR "${PRAMEL_WINE_RUN};--prefix;${PRAMEL_WINEPREFIX}")
