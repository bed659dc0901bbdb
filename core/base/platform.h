#pragma once

namespace tf {

// Which system the program was built for. Code for the other system still compiles where its
// headers exist everywhere (Qt's registry settings, local sockets, processes), so it is chosen
// with `if constexpr` rather than left out by the preprocessor.
#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

}  // namespace tf
