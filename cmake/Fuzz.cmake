# Fuzz targets of the parsers that read outside input (fuzz/). Built only with clang and
# -DZORVA_FUZZ=ON, in a build folder of their own; fuzz/run.sh does both.
option(ZORVA_FUZZ "Build the libFuzzer targets in fuzz/ (clang only)" OFF)
if(ZORVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZORVA_FUZZ needs clang: configure with CXX=clang++ (fuzz/run.sh does)")
  endif()
  add_subdirectory(${CMAKE_SOURCE_DIR}/fuzz ${CMAKE_BINARY_DIR}/fuzz)
endif()
