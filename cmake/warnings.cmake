# Warnings are errors on our own code; third-party headers come in as system includes.
add_library(tf_warnings INTERFACE)
target_compile_options(tf_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wimplicit-fallthrough -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports impossible overlaps inside std::string's operator+ at -O3 (GCC bug 105329).
  target_compile_options(tf_warnings INTERFACE -Wno-restrict)
endif()
