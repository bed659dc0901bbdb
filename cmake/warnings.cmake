# Warnings are errors on our own code; third-party headers come in as system includes.
add_library(tf_warnings INTERFACE)
target_compile_options(tf_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wimplicit-fallthrough -Werror)
