# Each module folder is one static library named korvel_<folder>; every .cpp in it belongs to it,
# so adding a file never means editing a build script. DEPS are what its headers expose (other
# modules); PRIVATE_DEPS what only its sources use (the third-party libraries, whose headers stay
# out of every other module's and the window's sources).
function(korvel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(korvel_${name} STATIC ${sources})
  target_include_directories(korvel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(korvel_${name} PUBLIC ${ARG_DEPS})
  target_link_libraries(korvel_${name} PRIVATE korvel_build_settings ${ARG_PRIVATE_DEPS})
endfunction()

# One GoogleTest executable per test folder: korvel-tests-<folder>. ctest names a parameterised
# case by its generated name ("…/plain"), never by its parameter's printed bytes. THREADED marks a
# suite whose code crosses threads: ctest labels its cases "threaded" and korvel-tests-threaded, all
# the ThreadSanitizer tree builds, includes it; there, CASES (a GoogleTest filter) keeps only the
# cases that start threads.
function(korvel_test_suite name)
  cmake_parse_arguments(ARG "THREADED" "CASES" "DEPS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(korvel-tests-${name} ${sources})
  target_link_libraries(korvel-tests-${name} PRIVATE korvel_build_settings ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  set(cases)
  set(labels)
  # An empty ENVIRONMENT value would vanish from the list and take TIMEOUT's place; one variable
  # at most, so the list needs no escaping.
  set(environment)
  if(ARG_ENVIRONMENT)
    set(environment ENVIRONMENT ${ARG_ENVIRONMENT})
  endif()
  if(ARG_THREADED)
    add_dependencies(korvel-tests-threaded korvel-tests-${name})
    set(labels LABELS threaded)
    if(KORVEL_TSAN AND ARG_CASES)
      set(cases TEST_FILTER "${ARG_CASES}")
    endif()
  endif()
  gtest_discover_tests(korvel-tests-${name}
    NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    ${cases}
    PROPERTIES ${labels} TIMEOUT 300 ${environment})
endfunction()

# One benchmark program per source file: bench/foo.cpp becomes korvel-bench-foo.
function(korvel_benchmark name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(korvel-bench-${name} ${name}.cpp)
  target_link_libraries(korvel-bench-${name} PRIVATE korvel_build_settings ${ARG_DEPS})
endfunction()
