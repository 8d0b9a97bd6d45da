# Native Linux build of the window-free core: fuzz targets and benchmarks.

# One libFuzzer target per fuzz/fuzz_<name>.cpp, when the compiler is clang.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  option(RC_FUZZ "Build the libFuzzer targets" ON)
else()
  set(RC_FUZZ OFF)
endif()
set(RC_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs as a test")

if(RC_FUZZ)
  file(GLOB RC_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
  foreach(src IN LISTS RC_FUZZ_SOURCES)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE rccore)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${RC_WARNINGS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    string(REGEX REPLACE "^fuzz_" "" corpus ${name})
    add_test(NAME ${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tools/run-fuzz.sh $<TARGET_FILE:${name}>
              ${CMAKE_SOURCE_DIR}/fuzz/corpus/${corpus} ${RC_FUZZ_SECONDS})
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
  endforeach()
endif()

# Benchmarks: built apart from the tests and never run by ctest.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB RC_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(RC_BENCH_SOURCES)
    add_executable(core_bench ${RC_BENCH_SOURCES})
    target_link_libraries(core_bench PRIVATE rccore benchmark::benchmark benchmark::benchmark_main)
  endif()
endif()
