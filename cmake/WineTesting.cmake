# Test helpers for the Windows tree.
#
# pramel_check_no_mingw_dlls(target)
#   Adds a CTest entry "<target>_imports" that fails when the target's
#   executable or DLL imports a mingw runtime DLL (libstdc++, libgcc,
#   winpthread). Those are not on a user's Windows, and a binary that needs
#   them does not start; under Wine with WINEDEBUG=-all it just ends with
#   exit code 53 (STATUS_DLL_NOT_FOUND) and no message. Everything must be
#   linked statically. Asking twice for the same target adds one entry.
#
# The same file is the check itself when run as a script:
#   cmake -DOBJDUMP=<objdump> -DBINARY=<file> -P WineTesting.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  if(NOT OBJDUMP OR NOT BINARY)
    message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DBINARY=... -P WineTesting.cmake")
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${BINARY}
    OUTPUT_VARIABLE dump RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${BINARY} failed: ${err}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
  set(imports "")
  set(bad "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
    string(STRIP "${dll}" dll)
    list(APPEND imports "${dll}")
    string(TOLOWER "${dll}" lower)
    if(lower MATCHES "^(libstdc\\+\\+|libgcc|libwinpthread|libssp|libatomic|libgomp)")
      list(APPEND bad "${dll}")
    endif()
  endforeach()
  if(NOT imports)
    message(FATAL_ERROR "${BINARY}: no imports found; is it a Windows binary?")
  endif()
  if(bad)
    list(JOIN bad ", " bad_text)
    message(FATAL_ERROR "${BINARY} needs mingw runtime DLLs: ${bad_text}")
  endif()
  list(JOIN imports ", " imports_text)
  message(STATUS "imports: ${imports_text}")
  return()
endif()

function(pramel_check_no_mingw_dlls target)
  # Once per target, whoever asks first.
  get_property(checked GLOBAL PROPERTY PRAMEL_IMPORT_CHECKED)
  if(target IN_LIST checked)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY PRAMEL_IMPORT_CHECKED ${target})
  if(NOT CMAKE_OBJDUMP)
    message(FATAL_ERROR "pramel_check_no_mingw_dlls: no objdump for this toolchain")
  endif()
  add_test(NAME ${target}_imports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DBINARY=$<TARGET_FILE:${target}>
            -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
endfunction()
