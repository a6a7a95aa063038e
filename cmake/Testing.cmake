# Test helpers shared by every folder.
#
# rf_add_gtest(NAME name SOURCES ... [LIBS ...] [WINE] [LABELS ...])
#   One GoogleTest program. Natively each case becomes a ctest test of its
#   own; under Wine the program runs as a single ctest test, since every
#   Wine start costs about a second.
include_guard(GLOBAL)

if(RF_TESTS AND NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    message(FATAL_ERROR "GoogleTest sources not found in /usr/src/googletest (apt-get install googletest)")
  endif()
endif()

include(GoogleTest)

# Where the Windows test programs find the shared data and the built module.
set(RF_TEST_ENV "RF_SHARED_DIR=${RF_SHARED_DIR}")

function(rf_add_gtest)
  # DESKTOP: the test shows windows on the display (every e2e test does).
  cmake_parse_arguments(T "DESKTOP" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  # Each 32-bit start costs about a minute under emulation: the 32-bit tree
  # builds only its own few checks, never the suite.
  if(RF_WIN32_ONLY)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE
    RF_SHARED_DIR="${RF_SHARED_DIR}"
    RF_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    RF_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(RF_WINDOWS)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    # A Wine program that dies early (its server stopped under it) can
    # still exit with 0: a run counts only with GoogleTest's own summary of
    # a pass and no failure.
    set_tests_properties(${T_NAME} PROPERTIES
      FIXTURES_REQUIRED wineprefix
      LABELS "wine;${T_LABELS}"
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ tests?\\."
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
      TIMEOUT 600)
    # Windows shown by two tests at once on one display take the focus and
    # the activation from each other and cover each other's pixels: such
    # tests run one at a time, beside the tests that show none.
    if(T_DESKTOP OR "e2e" IN_LIST T_LABELS)
      set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK desktop)
    endif()
  else()
    gtest_discover_tests(${T_NAME}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES LABELS "native;${T_LABELS}" TIMEOUT 300)
  endif()
endfunction()

if(RF_WINDOWS AND RF_TESTS)
  # One Wine prefix, made once before any Windows test runs (parallel first
  # use of a fresh prefix fails); its server and system processes started on
  # this run's display before the first test and stopped after the last, so
  # no process outlives the run or holds the caller's pipes.
  add_test(NAME wine_prefix_setup
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --init)
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 600)
  add_test(NAME wine_prefix_stop
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --stop)
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wineprefix)
endif()
