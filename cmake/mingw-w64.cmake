# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the POSIX-thread compilers, for
# std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
find_program(TF_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT TF_MINGW_CXX)
  message(FATAL_ERROR "The compiler x86_64-w64-mingw32-g++-posix was not found: install the "
                      "Debian package g++-mingw-w64-x86-64-posix (scripts/install-deps installs "
                      "everything the build needs).")
endif()
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Windows 8 and later: the wide-character and file-identity calls the core uses.
add_compile_definitions(_WIN32_WINNT=0x0602 WINVER=0x0602 UNICODE _UNICODE)
