# Linux build: the core with its unit tests under sanitizers, fuzzers (clang),
# benchmarks and tools against an uninstrumented copy of the core.
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Threads REQUIRED)

corvid_core_library(corvid_core)
target_compile_options(corvid_core PRIVATE -O2)

set(CORVID_SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
set(CORVID_IS_CLANG OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(CORVID_IS_CLANG ON)
endif()

corvid_core_library(corvid_core_checked)
# -O1: what the sanitizers are tuned for, and half the compile time of -O2.
target_compile_options(corvid_core_checked PUBLIC ${CORVID_SAN} PRIVATE -O1)
target_link_options(corvid_core_checked PUBLIC ${CORVID_SAN})
if(CORVID_IS_CLANG)
  # Coverage edges for the fuzzers; harmless for the unit tests.
  target_compile_options(corvid_core_checked PRIVATE -fsanitize=fuzzer-no-link)
endif()

add_executable(corvid_tests ${CORVID_TEST_SOURCES})
target_include_directories(corvid_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(corvid_tests PRIVATE corvid_core_checked GTest::gmock GTest::gtest_main Threads::Threads)
target_compile_definitions(corvid_tests PRIVATE CORVID_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Tests need no optimisation, and the test framework's header is parsed once.
target_compile_options(corvid_tests PRIVATE -O0)
target_precompile_headers(corvid_tests PRIVATE <gtest/gtest.h> <string> <vector>)
# One process for all of them: a sanitized process per test costs more to
# start than most tests take to run.
add_test(NAME unit_tests COMMAND corvid_tests --gtest_brief=1)
set_tests_properties(unit_tests PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")

set(CORVID_FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs under ctest")
if(CORVID_IS_CLANG)
  file(GLOB CORVID_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${CORVID_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE corvid_core_checked)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # New inputs go to the build folder; the seeds kept in the repository
    # start each run from known coverage.
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
    add_test(NAME fuzz.${name}
             COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                     sh -c "mkdir -p '${corpus}' && exec '$<TARGET_FILE:${name}>' -max_total_time=${CORVID_FUZZ_SECONDS} -max_len=4096 -rss_limit_mb=1536 -print_final_stats=1 '${corpus}' '${seeds}'")
    set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
  endforeach()
else()
  message(STATUS "Fuzz targets need clang; skipped with ${CMAKE_CXX_COMPILER_ID}")
endif()

# Benchmarks and the uninstrumented core they and the demo's corvid-replay
# use are built on request (scripts/bench, scripts/demo), not by the test run.
set_target_properties(corvid_core PROPERTIES EXCLUDE_FROM_ALL ON)
add_custom_target(benches)
file(GLOB CORVID_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(src ${CORVID_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${src} ${CMAKE_SOURCE_DIR}/bench/alloc_counter.cpp)
  add_dependencies(benches ${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE corvid_core benchmark::benchmark Threads::Threads)
  target_compile_options(${name} PRIVATE -O2)
endforeach()

add_executable(corvid-replay EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tools/corvid_replay.cpp)
target_link_libraries(corvid-replay PRIVATE corvid_core)
target_compile_options(corvid-replay PRIVATE ${CORVID_WARNINGS} -O2)
# The same tool on the sanitized core for the tests: every recorded session
# prints what examples/expected holds (scripts/check-sessions REPLAY --update
# writes it anew after a deliberate change).
add_executable(corvid-replay-checked ${CMAKE_SOURCE_DIR}/tools/corvid_replay.cpp)
target_link_libraries(corvid-replay-checked PRIVATE corvid_core_checked)
target_compile_options(corvid-replay-checked PRIVATE ${CORVID_WARNINGS})
add_test(NAME sessions.expected_output
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-sessions $<TARGET_FILE:corvid-replay-checked>)

# No file of src/ includes one from a higher floor.
add_test(NAME house.floors COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-floors)

# A copied or moved checkout (its build folder with it) still builds.
add_test(NAME scripts.moved_checkout COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/moved_checkout_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(scripts.moved_checkout PROPERTIES TIMEOUT 600)
