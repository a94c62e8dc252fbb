# GoogleTest for the Windows tree, built from Debian's sources with the cross
# compiler (Debian ships no mingw build of it). Provides the same targets as
# find_package(GTest) does natively: GTest::gtest and GTest::gtest_main.
#
# Include once, from the folder that holds the tests.

if(TARGET GTest::gtest)
  return()
endif()

set(PRAMEL_GTEST_SOURCE_DIR /usr/src/googletest
  CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${PRAMEL_GTEST_SOURCE_DIR}/googletest/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${PRAMEL_GTEST_SOURCE_DIR} "
    "(install the googletest package: scripts/install-deps.sh)")
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Our binaries link the runtime statically; "shared CRT" here only keeps
# GoogleTest from changing the runtime flags behind our back (MSVC-only knob,
# harmless with gcc).
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)

# GoogleTest is third-party code: build it with its own flags, not the
# project's (-fexec-charset=CP932, UNICODE, -Wall -Wextra). The folder's
# options are cleared while the subfolder is added, which copies them, and
# put back afterwards. Link options stay: its test programs are ours and are
# linked statically like everything else.
get_directory_property(_pramel_saved_options COMPILE_OPTIONS)
get_directory_property(_pramel_saved_definitions COMPILE_DEFINITIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "" COMPILE_DEFINITIONS "")

add_subdirectory(${PRAMEL_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set_directory_properties(PROPERTIES
  COMPILE_OPTIONS "${_pramel_saved_options}"
  COMPILE_DEFINITIONS "${_pramel_saved_definitions}")
unset(_pramel_saved_options)
unset(_pramel_saved_definitions)

foreach(_lib gtest gtest_main)
  if(NOT TARGET GTest::${_lib})
    add_library(GTest::${_lib} ALIAS ${_lib})
  endif()
endforeach()
unset(_lib)
