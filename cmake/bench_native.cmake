if(QD_FUZZ)
  include(${CMAKE_SOURCE_DIR}/cmake/fuzz.cmake)
endif()

# Profile validation speed against memcpy (a benchmark, not a test: run by
# scripts/bench.sh).
add_executable(qd_bench_profile EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/bench/bench_profile_native.cpp)
target_link_libraries(qd_bench_profile PRIVATE qd_core)
