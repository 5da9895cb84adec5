# Each module folder is one static library named korvel_<folder>; every .cpp in it belongs to it,
# so adding a file never means editing a build script.
function(korvel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(korvel_${name} STATIC ${sources})
  target_include_directories(korvel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(korvel_${name} PUBLIC ${ARG_DEPS})
endfunction()

# One GoogleTest executable per test folder: korvel-tests-<folder>. ctest names a parameterised
# case by its generated name ("…/plain"), never by its parameter's printed bytes. THREADED marks a
# suite whose code crosses threads: ctest labels its cases "threaded" and the ThreadSanitizer tree
# builds it; there, CASES (a GoogleTest filter) keeps only the cases that start threads.
function(korvel_test_suite name)
  cmake_parse_arguments(ARG "THREADED" "CASES" "DEPS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(korvel-tests-${name} ${sources})
  target_link_libraries(korvel-tests-${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  set(threaded)
  set(labels)
  if(ARG_THREADED)
    korvel_threaded_suite(korvel-tests-${name} "${ARG_CASES}" threaded)
  endif()
  gtest_discover_tests(korvel-tests-${name}
    NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    ${threaded}
    PROPERTIES ${labels} ENVIRONMENT "${ARG_ENVIRONMENT}" TIMEOUT 300)
endfunction()

# Marks a suite for the ThreadSanitizer run: korvel-tests-threaded builds every marked suite. Sets
# `out` in the caller to the arguments of gtest_discover_tests that pick the cases (in build/tsan
# only; elsewhere every case runs) and `labels` to its ctest label.
function(korvel_threaded_suite target cases out)
  if(NOT TARGET korvel-tests-threaded)
    add_custom_target(korvel-tests-threaded)
  endif()
  add_dependencies(korvel-tests-threaded ${target})
  set(${out} "" PARENT_SCOPE)
  if(KORVEL_TSAN AND cases)
    set(${out} TEST_FILTER "${cases}" PARENT_SCOPE)
  endif()
  set(labels LABELS threaded PARENT_SCOPE)
endfunction()

# One benchmark program per source file: bench/foo.cpp becomes korvel-bench-foo.
function(korvel_benchmark name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(korvel-bench-${name} ${name}.cpp)
  target_link_libraries(korvel-bench-${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()
