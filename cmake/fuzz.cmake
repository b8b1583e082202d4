# The libFuzzer target of the portable core, in a native build of its own:
#   cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
#         -DQD_FUZZ=ON -DQD_BUILD_TESTS=OFF
# scripts/fuzz.sh configures, builds and runs it (docs/fuzzing.md).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QD_FUZZ needs clang (libFuzzer): configure with "
                      "-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
endif()

set(QD_FUZZ_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)

# The core again, instrumented for coverage and the sanitizers; the target
# brings libFuzzer's main at link time.
file(GLOB QD_FUZZ_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/core/*.cpp)
add_library(qd_core_fuzz STATIC ${QD_FUZZ_CORE_SOURCES})
target_include_directories(qd_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR}/core)
target_compile_options(qd_core_fuzz PRIVATE -fsanitize=fuzzer-no-link ${QD_FUZZ_SAN})

add_executable(fuzz_profile ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_profile.cpp)
target_link_libraries(fuzz_profile PRIVATE qd_core_fuzz)
target_compile_options(fuzz_profile PRIVATE -fsanitize=fuzzer ${QD_FUZZ_SAN})
target_link_options(fuzz_profile PRIVATE -fsanitize=fuzzer ${QD_FUZZ_SAN})
