# Script hosts under Wine (and a Japanese Windows) read scripts in code page
# 932 only, without a byte-order mark. Scripts and templates are kept in
# UTF-8 in the tree and converted at build time.
#
# pramel_cp932_scripts(OUT_VAR TARGET_DIR SOURCE...): one converted copy of
# each source in TARGET_DIR (made as needed); OUT_VAR receives their paths,
# for a custom target to depend on.
find_program(PRAMEL_ICONV iconv REQUIRED)
function(pramel_cp932_scripts out_var target_dir)
  set(outputs "")
  foreach(source IN LISTS ARGN)
    get_filename_component(name "${source}" NAME)
    add_custom_command(
      OUTPUT "${target_dir}/${name}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${target_dir}"
      COMMAND ${PRAMEL_ICONV} -f UTF-8 -t CP932 -o "${target_dir}/${name}" "${source}"
      DEPENDS "${source}"
      VERBATIM)
    list(APPEND outputs "${target_dir}/${name}")
  endforeach()
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()

# pramel_script_test(NAME EXECUTABLE FILTER): a CTest entry running one
# GoogleTest group of a program that starts template scripts. Scripts attach
# to the fixed mapping "VeldaShare", so every such group holds the lock of
# that name and needs the library registered.
function(pramel_script_test name executable filter)
  add_test(NAME ${name} COMMAND ${executable} --gtest_filter=${filter})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED VeldaRegistered
    RESOURCE_LOCK VeldaShare
    TIMEOUT 300)
  if(PRAMEL_TEST_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${PRAMEL_TEST_ENVIRONMENT}")
  endif()
endfunction()
