# Warnings and sanitizer flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Wshadow -Wno-unused-parameter)

if(CAUCHY_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined
           -fno-omit-frame-pointer)
  add_compile_options(${_san} -g)
  add_link_options(${_san})
endif()

# The checking build (./test) lets no warning through; the program's own build
# only prints them, so a newer compiler cannot stop a user from building.
if(CAUCHY_SANITIZE AND NOT CAUCHY_FUZZ)
  add_compile_options(-Werror)
endif()

if(CAUCHY_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz build needs clang (CMAKE_CXX_COMPILER=clang++)")
  endif()
  # Libraries get coverage instrumentation; the fuzz targets link the fuzzer runtime.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# One call per test directory: a GoogleTest program with a QApplication-owning main.
function(cauchy_add_test name)
  cmake_parse_arguments(T "SERIAL;WHOLE" "" "SOURCES;LIBS" ${ARGN})
  list(FILTER T_SOURCES INCLUDE REGEX "\\.cpp$")
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE cauchy_test_main ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Each test case is a CTest test of its own, so a failure names it and the
  # cases run in parallel. Listing them waits for the test run, so the build
  # needs no display. The environment comes through `cmake -E env`, since the
  # discovered tests' properties cannot carry a list.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tools/lsan.supp:print_suppressions=0;CAUCHY_BIN_DIR=${CAUCHY_BIN_DIR};CAUCHY_SOURCE_DIR=${PROJECT_SOURCE_DIR};CAUCHY_BUILD_DIR=${CMAKE_BINARY_DIR};CAUCHY_CMAKE=${CMAKE_COMMAND}")
  # SERIAL: the program's cases share files beside the test program (its
  # translation table), so they run one after the other.
  set(lock)
  if(T_SERIAL)
    set(lock RESOURCE_LOCK ${name})
  endif()
  # WHOLE: the cases share a setup too costly to repeat per case (packing
  # the build), so the program runs once as one test.
  if(T_WHOLE)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 1200)
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600 ${lock})
endfunction()
