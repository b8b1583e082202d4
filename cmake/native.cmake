# Native build: the portable core and its GoogleTest suite.
if(QD_SANITIZE)
  set(QD_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(qd_core PUBLIC ${QD_SAN_FLAGS})
  target_link_options(qd_core PUBLIC ${QD_SAN_FLAGS})
endif()

if(QD_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB QD_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
  add_executable(qd_native_tests ${QD_NATIVE_TESTS})
  target_link_libraries(qd_native_tests PRIVATE qd_core GTest::gtest_main)
  target_include_directories(qd_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  gtest_discover_tests(qd_native_tests DISCOVERY_TIMEOUT 30)
endif()

# Native benchmarks and fuzz targets, when their files exist.
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/bench_native.cmake)
  include(${CMAKE_SOURCE_DIR}/cmake/bench_native.cmake)
endif()
