file(REMOVE_RECURSE
  "CMakeFiles/pipeline.dir/CCalcBytePerLine.cpp.o"
  "CMakeFiles/pipeline.dir/CCalcBytePerLine.cpp.o.d"
  "CMakeFiles/pipeline.dir/CConvChar2Hex.cpp.o"
  "CMakeFiles/pipeline.dir/CConvChar2Hex.cpp.o.d"
  "CMakeFiles/pipeline.dir/CConvChar2Str.cpp.o"
  "CMakeFiles/pipeline.dir/CConvChar2Str.cpp.o.d"
  "CMakeFiles/pipeline.dir/CConvClrComment.cpp.o"
  "CMakeFiles/pipeline.dir/CConvClrComment.cpp.o.d"
  "CMakeFiles/pipeline.dir/CConvCrc32.cpp.o"
  "CMakeFiles/pipeline.dir/CConvCrc32.cpp.o.d"
  "CMakeFiles/pipeline.dir/CConvHex2Char.cpp.o"
  "CMakeFiles/pipeline.dir/CConvHex2Char.cpp.o.d"
  "CMakeFiles/pipeline.dir/CConvSetComment.cpp.o"
  "CMakeFiles/pipeline.dir/CConvSetComment.cpp.o.d"
  "CMakeFiles/pipeline.dir/CFreeEndian.cpp.o"
  "CMakeFiles/pipeline.dir/CFreeEndian.cpp.o.d"
  "CMakeFiles/pipeline.dir/CPackBinary.cpp.o"
  "CMakeFiles/pipeline.dir/CPackBinary.cpp.o.d"
  "CMakeFiles/pipeline.dir/CStream.cpp.o"
  "CMakeFiles/pipeline.dir/CStream.cpp.o.d"
  "CMakeFiles/pipeline.dir/Chains.cpp.o"
  "CMakeFiles/pipeline.dir/Chains.cpp.o.d"
  "CMakeFiles/pipeline.dir/platform/PosixByteFile.cpp.o"
  "CMakeFiles/pipeline.dir/platform/PosixByteFile.cpp.o.d"
  "libpipeline.a"
  "libpipeline.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/pipeline.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
