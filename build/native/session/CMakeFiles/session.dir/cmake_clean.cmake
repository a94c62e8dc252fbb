file(REMOVE_RECURSE
  "CMakeFiles/session.dir/Crc32.cpp.o"
  "CMakeFiles/session.dir/Crc32.cpp.o.d"
  "CMakeFiles/session.dir/SessionBlock.cpp.o"
  "CMakeFiles/session.dir/SessionBlock.cpp.o.d"
  "libsession.a"
  "libsession.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/session.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
