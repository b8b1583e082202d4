# Benchmarks of the Windows program (not tests: scripts/bench.sh builds and
# runs them under Wine and writes docs/benchmarks.md).
#   qd_bench_scan    the Scan command's passes against the bare system calls
#   qd_bench_load    Load Profile: command time against the last window's appearance
#   qd_bench_start   cold start to a painted main window, against an empty program
#   qd_empty_window  that empty program
set(QD_BENCH_DIR ${CMAKE_SOURCE_DIR}/tests/bench)

foreach(b scan load start)
  add_executable(qd_bench_${b} EXCLUDE_FROM_ALL ${QD_BENCH_DIR}/bench_${b}.cpp)
  target_include_directories(qd_bench_${b} PRIVATE ${QD_BENCH_DIR})
endforeach()
target_link_libraries(qd_bench_scan PRIVATE qd_win)
target_link_libraries(qd_bench_load PRIVATE qd_win)
target_link_libraries(qd_bench_start PRIVATE user32 gdi32)

add_executable(qd_empty_window WIN32 EXCLUDE_FROM_ALL ${QD_BENCH_DIR}/empty_window.cpp)
target_link_libraries(qd_empty_window PRIVATE user32 gdi32)
target_link_options(qd_empty_window PRIVATE -mwindows)

add_custom_target(qd_benchmarks DEPENDS qd_bench_scan qd_bench_load qd_bench_start qd_empty_window quorvel-dint)
if(TARGET qd_fixture)
  add_dependencies(qd_benchmarks qd_fixture)
endif()
