# libFuzzer targets of the portable core, in a native build of their own:
#   cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
#         -DQD_FUZZ=ON -DQD_BUILD_TESTS=OFF
# scripts/fuzz.sh configures, builds and runs them (docs/fuzzing.md).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QD_FUZZ needs clang (libFuzzer): configure with "
                      "-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
endif()

set(QD_FUZZ_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)

# The core again, instrumented for coverage and the sanitizers; the fuzz
# targets bring libFuzzer's main at link time.
file(GLOB QD_FUZZ_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/core/*.cpp)
add_library(qd_core_fuzz STATIC ${QD_FUZZ_CORE_SOURCES})
target_include_directories(qd_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR}/core)
target_compile_options(qd_core_fuzz PRIVATE -fsanitize=fuzzer-no-link ${QD_FUZZ_SAN})

foreach(t fuzz_profile_reader fuzz_store_append)
  add_executable(${t} ${CMAKE_SOURCE_DIR}/tests/fuzz/${t}.cpp)
  target_link_libraries(${t} PRIVATE qd_core_fuzz)
  target_compile_options(${t} PRIVATE -fsanitize=fuzzer ${QD_FUZZ_SAN})
  target_link_options(${t} PRIVATE -fsanitize=fuzzer ${QD_FUZZ_SAN})
endforeach()

# The seed corpus generator: plain native code on the plain core.
add_executable(make_corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/make_corpus.cpp)
target_link_libraries(make_corpus PRIVATE qd_core)
