# Windows build (mingw-w64): the same core plus the Win32 layer, Corvid.exe, the
# core unit tests as a Windows program, and the tests that drive real windows.
# Everything runs under Wine in one prefix that the wine.setup fixture boots.
enable_language(C)
enable_language(RC)
set(CORVID_STATIC -static -static-libgcc -static-libstdc++)

corvid_core_library(corvid_core)
target_compile_options(corvid_core PRIVATE -O2)

add_library(corvid_win32 STATIC ${CORVID_WIN32_SOURCES})
target_include_directories(corvid_win32 PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(corvid_win32 PRIVATE ${CORVID_WARNINGS} -O2)
target_compile_definitions(corvid_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(corvid_win32 PUBLIC corvid_core user32 gdi32 shell32 ole32 advapi32 comdlg32 psapi)

set(CORVID_RESOURCES ${CMAKE_SOURCE_DIR}/src/app/corvid.rc)
if(NOT EXISTS ${CORVID_RESOURCES})
  set(CORVID_RESOURCES)
endif()
add_executable(Corvid WIN32 ${CMAKE_SOURCE_DIR}/src/main_win32.cpp ${CORVID_RESOURCES})
target_link_libraries(Corvid PRIVATE corvid_win32)
target_link_options(Corvid PRIVATE ${CORVID_STATIC})

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its one large source file is on the build's critical path; -O1 halves it.
target_compile_options(gtest PRIVATE -O1)
target_compile_options(gtest_main PRIVATE -O1)

set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
set(WINE_ENV "CORVID_WINE_DIR=${CMAKE_BINARY_DIR}/wine")

add_test(NAME wine.setup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session start ${CMAKE_BINARY_DIR}/wine)
set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
add_test(NAME wine.cleanup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session stop ${CMAKE_BINARY_DIR}/wine)
set_tests_properties(wine.cleanup PROPERTIES FIXTURES_CLEANUP wine)

add_executable(corvid_tests ${CORVID_TEST_SOURCES})
target_include_directories(corvid_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(corvid_tests PRIVATE corvid_core gtest_main)
# Tests need no optimisation, and the test framework's header is parsed once.
target_compile_options(corvid_tests PRIVATE -O0)
target_precompile_headers(corvid_tests PRIVATE <gtest/gtest.h> <string> <vector>)
target_compile_definitions(corvid_tests PRIVATE CORVID_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
target_link_options(corvid_tests PRIVATE ${CORVID_STATIC})
add_test(NAME wine.core_unit_tests COMMAND ${WINE_RUN} $<TARGET_FILE:corvid_tests> --gtest_brief=1)
set_tests_properties(wine.core_unit_tests PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${WINE_ENV}" TIMEOUT 300)

# Each tests/win32/<name>_test_win32.cpp is one Windows test program on
# GoogleTest; it gets the build's Corvid.exe, the source folder and the build
# folder as arguments.
file(GLOB CORVID_WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_test_win32.cpp)
add_library(corvid_wine_support STATIC ${CMAKE_SOURCE_DIR}/tests/win32/wine_support_win32.cpp)
target_include_directories(corvid_wine_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(corvid_wine_support PUBLIC corvid_win32 gtest version)
# The test programs share one precompiled header: windows.h, the test
# framework and the program's own headers are parsed once.
target_compile_options(corvid_wine_support PRIVATE -O0)
target_precompile_headers(corvid_wine_support PRIVATE <windows.h> <gtest/gtest.h>
                          ${CMAKE_SOURCE_DIR}/tests/win32/wine_support_win32.h)
foreach(src ${CORVID_WINE_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/tests/win32/wine_main_win32.cpp)
  target_compile_options(${name} PRIVATE -O0)
  target_precompile_headers(${name} REUSE_FROM corvid_wine_support)
  target_link_libraries(${name} PRIVATE corvid_wine_support)
  target_link_options(${name} PRIVATE ${CORVID_STATIC})
  add_dependencies(${name} Corvid corvid-replay corvid-window planted-hid)
  add_test(NAME wine.${name} COMMAND ${WINE_RUN} $<TARGET_FILE:${name}> --gtest_brief=1
           $<TARGET_FILE:Corvid> ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${WINE_ENV}" TIMEOUT 180 RUN_SERIAL ON)
endforeach()
# The full-disk test runs on a small file system of its own, mounted for it
# where the run may mount one.
set_property(TEST wine.full_disk_test_win32 PROPERTY ENVIRONMENT "${WINE_ENV}" "CORVID_SMALL_DISK_UNIX=${CMAKE_BINARY_DIR}/small-disk")
set_property(TEST wine.full_disk_test_win32 PROPERTY FIXTURES_REQUIRED wine small-disk)
add_test(NAME small_disk.mount COMMAND ${CMAKE_SOURCE_DIR}/scripts/small-disk mount ${CMAKE_BINARY_DIR}/small-disk)
set_tests_properties(small_disk.mount PROPERTIES FIXTURES_SETUP small-disk)
add_test(NAME small_disk.unmount COMMAND ${CMAKE_SOURCE_DIR}/scripts/small-disk unmount ${CMAKE_BINARY_DIR}/small-disk)
set_tests_properties(small_disk.unmount PROPERTIES FIXTURES_CLEANUP small-disk)

# corvid-replay as a Windows program too: the agreement test runs it beside
# Corvid.exe.
add_executable(corvid-replay ${CMAKE_SOURCE_DIR}/tools/corvid_replay.cpp)
target_link_libraries(corvid-replay PRIVATE corvid_core)
target_link_options(corvid-replay PRIVATE ${CORVID_STATIC})

# Benchmarks that need the Win32 layer; scripts/bench builds and runs them
# (the "benches" target), the test run does not.
add_custom_target(benches)
file(GLOB CORVID_WINE_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench_win32.cpp)
foreach(src ${CORVID_WINE_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${src})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench)
  # The Wine tests' support: Corvid in this process, windows in front.
  target_link_libraries(${name} PRIVATE corvid_wine_support)
  target_link_options(${name} PRIVATE ${CORVID_STATIC})
  add_dependencies(benches ${name})
endforeach()

# The demo's target window.
add_executable(corvid-target ${CMAKE_SOURCE_DIR}/tools/corvid_target_win32.cpp)
target_compile_definitions(corvid-target PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(corvid-target PRIVATE ${CORVID_STATIC})

# What the desktop did while a program ran (the demo).
add_executable(corvid-watch ${CMAKE_SOURCE_DIR}/tools/corvid_watch_win32.cpp)
target_compile_definitions(corvid-watch PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(corvid-watch PRIVATE ${CORVID_STATIC})

# A hid.dll planted beside Corvid.exe by a test, which must never be loaded.
add_library(planted-hid SHARED ${CMAKE_SOURCE_DIR}/tools/planted_library_win32.cpp)
set_target_properties(planted-hid PROPERTIES OUTPUT_NAME hid PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
target_include_directories(planted-hid PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_options(planted-hid PRIVATE ${CORVID_STATIC})

# A plain window of our own for the launch actions to start and close.
add_executable(corvid-window WIN32 ${CMAKE_SOURCE_DIR}/tools/corvid_window_win32.cpp)
target_compile_definitions(corvid-window PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(corvid-window PRIVATE ${CORVID_STATIC})
include(cmake/packaging.cmake)
