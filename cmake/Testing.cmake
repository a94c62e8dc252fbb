# pramel_unit_test(name SOURCES ... LIBS ...): a GoogleTest executable, one
# CTest entry. In the Windows tree CTest runs it through Wine
# (CMAKE_CROSSCOMPILING_EMULATOR) with PRAMEL_TEST_ENVIRONMENT set.
function(pramel_unit_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  if(PRAMEL_TEST_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${PRAMEL_TEST_ENVIRONMENT}")
  endif()
endfunction()
