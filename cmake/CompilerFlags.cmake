# Flags shared by every tree.
add_compile_options(-Wall -Wextra)

# Sources are UTF-8; narrow literals hold code page 932 bytes at run time.
# clang knows no other execution character set, so the fuzz tree keeps UTF-8
# literals (the texts it exercises are bytes, not messages).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
elseif(PRAMEL_FUZZ)
  add_compile_options(-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(PRAMEL_SANITIZE)
  add_compile_options(-g -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
