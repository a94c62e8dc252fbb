# CMake generated Testfile for 
# Source directory: /work/main/library
# Build directory: /work/main/build/native/library
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("core")
