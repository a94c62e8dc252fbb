file(REMOVE_RECURSE
  "CMakeFiles/prmconv_options.dir/ConvOptions.cpp.o"
  "CMakeFiles/prmconv_options.dir/ConvOptions.cpp.o.d"
  "libprmconv_options.a"
  "libprmconv_options.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/prmconv_options.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
