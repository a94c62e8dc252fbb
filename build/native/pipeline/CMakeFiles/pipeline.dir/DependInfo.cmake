
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/pipeline/CCalcBytePerLine.cpp" "pipeline/CMakeFiles/pipeline.dir/CCalcBytePerLine.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CCalcBytePerLine.cpp.o.d"
  "/work/main/pipeline/CConvChar2Hex.cpp" "pipeline/CMakeFiles/pipeline.dir/CConvChar2Hex.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CConvChar2Hex.cpp.o.d"
  "/work/main/pipeline/CConvChar2Str.cpp" "pipeline/CMakeFiles/pipeline.dir/CConvChar2Str.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CConvChar2Str.cpp.o.d"
  "/work/main/pipeline/CConvClrComment.cpp" "pipeline/CMakeFiles/pipeline.dir/CConvClrComment.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CConvClrComment.cpp.o.d"
  "/work/main/pipeline/CConvCrc32.cpp" "pipeline/CMakeFiles/pipeline.dir/CConvCrc32.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CConvCrc32.cpp.o.d"
  "/work/main/pipeline/CConvHex2Char.cpp" "pipeline/CMakeFiles/pipeline.dir/CConvHex2Char.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CConvHex2Char.cpp.o.d"
  "/work/main/pipeline/CConvSetComment.cpp" "pipeline/CMakeFiles/pipeline.dir/CConvSetComment.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CConvSetComment.cpp.o.d"
  "/work/main/pipeline/CFreeEndian.cpp" "pipeline/CMakeFiles/pipeline.dir/CFreeEndian.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CFreeEndian.cpp.o.d"
  "/work/main/pipeline/CPackBinary.cpp" "pipeline/CMakeFiles/pipeline.dir/CPackBinary.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CPackBinary.cpp.o.d"
  "/work/main/pipeline/CStream.cpp" "pipeline/CMakeFiles/pipeline.dir/CStream.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/CStream.cpp.o.d"
  "/work/main/pipeline/Chains.cpp" "pipeline/CMakeFiles/pipeline.dir/Chains.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/Chains.cpp.o.d"
  "/work/main/pipeline/platform/PosixByteFile.cpp" "pipeline/CMakeFiles/pipeline.dir/platform/PosixByteFile.cpp.o" "gcc" "pipeline/CMakeFiles/pipeline.dir/platform/PosixByteFile.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/native/session/CMakeFiles/session.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
