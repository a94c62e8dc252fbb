# Registers (or with UNREGISTER set, unregisters) Velda.dll in the test
# prefix through the system's registration tool, as the editor does:
#
#   cmake -DWINE_RUN=... -DPREFIX=... -DDLL=/unix/path/Velda.dll [-DUNREGISTER=1] -P RunRegsvr32.cmake
#
# regsvr32 gets the DLL's Windows path (Z:\...), which is what lands in the
# registry's InprocServer32 entries.
if(NOT WINE_RUN OR NOT PREFIX OR NOT DLL)
  message(FATAL_ERROR "usage: cmake -DWINE_RUN=... -DPREFIX=... -DDLL=... [-DUNREGISTER=1] -P RunRegsvr32.cmake")
endif()
string(REPLACE "/" "\\" windows_dll "Z:${DLL}")
set(args /s)
if(UNREGISTER)
  list(APPEND args /u)
endif()
execute_process(COMMAND ${WINE_RUN} --prefix ${PREFIX} regsvr32 ${args} ${windows_dll}
  RESULT_VARIABLE rc INPUT_FILE /dev/null)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "regsvr32 ${args} ${windows_dll} failed with exit code ${rc}")
endif()
