# The unit tests (one binary) and the end-to-end table, both run by CTest.

if(CMAKE_CROSSCOMPILING)
  # GoogleTest from the sources that Debian's googletest package ships.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KESTRO_GTEST_LIBS gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  set(KESTRO_GTEST_LIBS GTest::gtest GTest::gtest_main)
endif()

set(KESTRO_TEST_SOURCES
  src/cmdline/cmdline_test.cc
  src/filespec/filespec_test.cc
  src/host/wildcard_test.cc
  src/compare/compare_test.cc
  tests/test_dir.cc)
if(NOT WIN32)
  list(APPEND KESTRO_TEST_SOURCES src/host/host_posix_test.cc src/filespec/filespec_posix_test.cc)
endif()

add_executable(kestro_tests ${KESTRO_TEST_SOURCES})
target_include_directories(kestro_tests PRIVATE tests)
target_link_libraries(kestro_tests PRIVATE kestro_core ${KESTRO_GTEST_LIBS})
if(WIN32)
  target_link_options(kestro_tests PRIVATE -static)
endif()

# Wine keeps its state inside the build directory and stays quiet.
set(KESTRO_WINE_ENV
  "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")

if(CMAKE_CROSSCOMPILING)
  # One process under the emulator: starting Wine per test case is slow.
  add_test(NAME unit COMMAND kestro_tests)
  set_tests_properties(unit PROPERTIES ENVIRONMENT "${KESTRO_WINE_ENV}" TIMEOUT 300)
else()
  include(GoogleTest)
  gtest_discover_tests(kestro_tests DISCOVERY_TIMEOUT 30)
endif()

set(KESTRO_E2E_ENV "KESTRO=$<TARGET_FILE:kestro>")
if(WIN32)
  list(APPEND KESTRO_E2E_ENV "KESTRO_PLATFORM=windows" "KESTRO_CRLF=1" ${KESTRO_WINE_ENV})
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " KESTRO_RUNNER)
    list(APPEND KESTRO_E2E_ENV "KESTRO_RUNNER=${KESTRO_RUNNER}")
  endif()
endif()
add_test(NAME e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run.sh)
set_tests_properties(e2e PROPERTIES ENVIRONMENT "${KESTRO_E2E_ENV}" TIMEOUT 900)

if(NOT WIN32)
  find_program(KESTRO_STRACE strace)
  if(KESTRO_STRACE)
    add_test(NAME readonly COMMAND bash ${CMAKE_SOURCE_DIR}/tests/readonly.sh)
    set_tests_properties(readonly PROPERTIES ENVIRONMENT "KESTRO=$<TARGET_FILE:kestro>")
  else()
    message(WARNING "strace not found: the read-only test is left out")
  endif()
endif()

# The manual page renders without a single warning.
find_program(KESTRO_GROFF_LINT groff)
if(KESTRO_GROFF_LINT)
  add_test(NAME manual-lint COMMAND bash -c
    "out=$(\"$0\" -man -Tutf8 -ww -z \"$1\" 2>&1); [ -z \"$out\" ] || { echo \"$out\"; exit 1; }"
    ${KESTRO_GROFF_LINT} ${CMAKE_SOURCE_DIR}/doc/kestro.1)
endif()

# The README's examples print what the README shows.
add_test(NAME readme COMMAND bash ${CMAKE_SOURCE_DIR}/tests/readme.sh)
set_tests_properties(readme PROPERTIES ENVIRONMENT "${KESTRO_E2E_ENV}" TIMEOUT 300)
