# What every Korvel target is compiled with, linked PRIVATE by each of them (the helpers in
# KorvelTargets.cmake do it), so a flag never leaks into a third-party build or a consumer's.
add_library(korvel_build_settings INTERFACE)
target_compile_options(korvel_build_settings INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wpedantic)
# GCC 12 reports std::string copies of short literals as overlapping memcpy at -O2 and above
# (GCC bug 105329); the warning is noise there and would break -Werror builds.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(korvel_build_settings INTERFACE -Wno-restrict)
endif()
if(KORVEL_WERROR)
  target_compile_options(korvel_build_settings INTERFACE -Werror)
endif()
