# Windows build (mingw-w64): the program, its Win32 tests and the end-to-end
# driver. Everything is linked statically so each .exe runs alone.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
add_link_options(-static -static-libgcc -static-libstdc++)

set(QD_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QD_BIN_DIR})

# --- the program -----------------------------------------------------------
# qd_win: every window and feature; the .exe adds only the entry point and
# the resources, so the Win32 tests link the same code the program runs.
file(GLOB_RECURSE QD_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sources/*.cpp)
list(FILTER QD_WIN_SOURCES EXCLUDE REGEX ".*/sources/main_prg/entry_point\\.cpp$")
add_library(qd_win STATIC ${QD_WIN_SOURCES})
target_include_directories(qd_win PUBLIC ${CMAKE_SOURCE_DIR}/sources ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(qd_win PUBLIC qd_core comctl32 gdi32 msimg32 ole32 uuid psapi user32 kernel32)

set(QD_RELEASE_DATE "2026-12-06")
configure_file(${CMAKE_SOURCE_DIR}/resources/app.manifest.in ${CMAKE_BINARY_DIR}/app.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/qd_version.h @ONLY)
target_include_directories(qd_win PUBLIC ${CMAKE_BINARY_DIR}/generated)

set(QD_RC_FLAGS "-I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_BINARY_DIR} -I${CMAKE_BINARY_DIR}/generated -I${CMAKE_SOURCE_DIR}/sources")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} ${QD_RC_FLAGS}")
enable_language(RC)
add_executable(quorvel-dint WIN32 ${CMAKE_SOURCE_DIR}/sources/main_prg/entry_point.cpp ${CMAKE_SOURCE_DIR}/resources/app.rc)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/app.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/app.manifest;${CMAKE_SOURCE_DIR}/resources/app.ico;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")
target_link_libraries(quorvel-dint PRIVATE qd_win)
target_link_options(quorvel-dint PRIVATE -mwindows -municode)

# --- tests -----------------------------------------------------------------
if(QD_BUILD_TESTS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()

  include(GoogleTest)
  set(QD_WINE ${CMAKE_SOURCE_DIR}/tests/wine/wine-env.sh)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QD_WINE} run)

  add_test(NAME wine_env_start COMMAND ${QD_WINE} start)
  set_tests_properties(wine_env_start PROPERTIES FIXTURES_SETUP WINE)
  add_test(NAME wine_env_stop COMMAND ${QD_WINE} stop)
  set_tests_properties(wine_env_stop PROPERTIES FIXTURES_CLEANUP WINE)

  # Win32 tests: the program's units against the real Win32 of Wine.
  # Helpers shared by the Win32 and the end-to-end tests.
  add_library(qd_test_common STATIC ${CMAKE_SOURCE_DIR}/tests/common/win_support.cpp)
  target_include_directories(qd_test_common PUBLIC ${CMAKE_SOURCE_DIR}/tests/common)
  target_link_libraries(qd_test_common PUBLIC user32 kernel32)

  file(GLOB QD_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
  add_executable(qd_win32_tests ${QD_WIN32_TESTS} ${CMAKE_SOURCE_DIR}/resources/app.rc)
  target_link_libraries(qd_win32_tests PRIVATE qd_win qd_test_common gtest_main)
  target_include_directories(qd_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)

  # End-to-end: a driver that starts the real .exe and works it from outside,
  # and a fixture program whose windows the scans find.
  file(GLOB QD_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
  add_executable(qd_e2e ${QD_E2E_SOURCES})
  target_link_libraries(qd_e2e PRIVATE gtest_main qd_core qd_test_common user32 gdi32 psapi shell32 ole32 comctl32 version)
  target_include_directories(qd_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(qd_e2e quorvel-dint)

  # A program of our own whose windows the scans and window searches find.
  add_executable(qd_fixture WIN32 ${CMAKE_SOURCE_DIR}/tests/fixture/fixture_app.cpp)
  target_link_libraries(qd_fixture PRIVATE user32 gdi32)
  target_link_options(qd_fixture PRIVATE -mwindows -municode)
  add_dependencies(qd_win32_tests qd_fixture)
  add_dependencies(qd_e2e qd_fixture)

  # A native Linux tool (Xlib), built with the machine's own compiler: a real
  # drag and drop from the X side, which the driver starts through Wine.
  set(QD_XDND_SRC ${CMAKE_SOURCE_DIR}/tests/fixture/xdnd_drop.cpp)
  add_custom_command(OUTPUT ${QD_BIN_DIR}/qd_xdnd_drop
    COMMAND c++ -O2 -Wall -Wextra -o ${QD_BIN_DIR}/qd_xdnd_drop ${QD_XDND_SRC} -lX11
    DEPENDS ${QD_XDND_SRC})
  add_custom_target(qd_xdnd_drop DEPENDS ${QD_BIN_DIR}/qd_xdnd_drop)
  add_dependencies(qd_e2e qd_xdnd_drop)

  # The stand-in shell (tests/fixture/shell_standin.h): a folder-window
  # program and the in-process server of the shell's collection of folder
  # windows over its windows, registered in the test prefix before the tests.
  add_executable(qd_file_explorer WIN32 ${CMAKE_SOURCE_DIR}/tests/fixture/file_explorer.cpp)
  set_target_properties(qd_file_explorer PROPERTIES OUTPUT_NAME QdFileExplorer)
  target_link_libraries(qd_file_explorer PRIVATE shell32 ole32 user32 gdi32)
  target_link_options(qd_file_explorer PRIVATE -mwindows -municode)
  add_library(qd_shell_standin SHARED ${CMAKE_SOURCE_DIR}/tests/fixture/shell_windows_standin.cpp
                                      ${CMAKE_SOURCE_DIR}/tests/fixture/shell_windows_standin.def)
  set_target_properties(qd_shell_standin PROPERTIES PREFIX "")
  target_link_libraries(qd_shell_standin PRIVATE shell32 ole32 oleaut32 uuid user32)
  foreach(t qd_win32_tests qd_e2e)
    add_dependencies(${t} qd_file_explorer qd_shell_standin)
    target_include_directories(${t} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fixture)
  endforeach()
  add_test(NAME wine_shell_standin
           COMMAND ${QD_WINE} shell-standin $<TARGET_FILE:qd_shell_standin> $<TARGET_FILE:qd_file_explorer>)
  set_tests_properties(wine_shell_standin PROPERTIES FIXTURES_SETUP WINE DEPENDS wine_env_start)

  set(QD_ARTIFACTS ${CMAKE_SOURCE_DIR}/artifacts)
  foreach(t qd_win32_tests qd_e2e)
    gtest_discover_tests(${t}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      TEST_FILTER "-TwoMonitors.*"
      PROPERTIES FIXTURES_REQUIRED WINE RUN_SERIAL TRUE TIMEOUT 120
                 ENVIRONMENT "QD_ARTIFACTS=${QD_ARTIFACTS}")
  endforeach()

  # The same program on other desktops (tests/wine/wine-env.sh desktop):
  # two monitors side by side, and a scale of 150 %. Each run switches the
  # environment and switches it back, so its place in the order is free.
  add_test(NAME two_monitor_desktop
           COMMAND ${QD_WINE} run-on two $<TARGET_FILE:qd_win32_tests> --gtest_filter=TwoMonitors.*)
  add_test(NAME dpi144_desktop
           COMMAND ${QD_WINE} run-on dpi144 $<TARGET_FILE:qd_win32_tests> --gtest_filter=*.AtAnyScale*)
  set_tests_properties(two_monitor_desktop dpi144_desktop PROPERTIES FIXTURES_REQUIRED WINE RUN_SERIAL TRUE TIMEOUT 120)
  set_tests_properties(dpi144_desktop PROPERTIES ENVIRONMENT "QD_TEST_DPI=144")
endif()

# Benchmarks (not part of the tests): built with the program, run by scripts/bench.sh.
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/bench_windows.cmake)
  include(${CMAKE_SOURCE_DIR}/cmake/bench_windows.cmake)
endif()
