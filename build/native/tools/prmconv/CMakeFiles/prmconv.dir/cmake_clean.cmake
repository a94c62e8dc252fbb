file(REMOVE_RECURSE
  "CMakeFiles/prmconv.dir/main.cpp.o"
  "CMakeFiles/prmconv.dir/main.cpp.o.d"
  "prmconv"
  "prmconv.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/prmconv.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
