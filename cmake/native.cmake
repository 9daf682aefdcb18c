# Native build: the portable core, its unit tests and the benchmarks.
if(PENDRA_SANITIZE)
  set(SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(pendra_core PUBLIC ${SAN})
  # -O1 as the sanitizers advise: half the compile time of -O3, and reports
  # that still point at the right lines.
  list(APPEND SAN -O1)
  target_compile_options(pendra_core PRIVATE ${SAN})
endif()

if(PENDRA_TESTS)
  find_package(GTest REQUIRED)
  file(GLOB CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
  add_executable(core_tests ${CORE_TEST_SOURCES})
  target_link_libraries(core_tests PRIVATE pendra_core GTest::gtest_main)
  if(PENDRA_SANITIZE)
    target_compile_options(core_tests PRIVATE ${SAN})
  endif()
  add_test(NAME core_tests COMMAND core_tests)

  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
    if(BENCH_SOURCES)
      add_executable(core_bench ${BENCH_SOURCES})
      target_link_libraries(core_bench PRIVATE pendra_core benchmark::benchmark_main)
    endif()
  endif()
endif()

# libFuzzer targets, one per reader of outside data (tests/fuzz), with address
# and undefined-behaviour sanitizers. Configure with CC=clang CXX=clang++.
# Standard library checks make an index past a string or vector abort too,
# where it would otherwise read memory that still belongs to the container.
if(PENDRA_FUZZ)
  set(FUZZ_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g
      -D_GLIBCXX_ASSERTIONS)
  target_compile_options(pendra_core PRIVATE ${FUZZ_SAN} -fsanitize=fuzzer-no-link)
  target_link_options(pendra_core PUBLIC -fsanitize=address,undefined)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE pendra_core)
    target_compile_options(${name} PRIVATE ${FUZZ_SAN} -fsanitize=fuzzer ${PENDRA_WARNINGS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
  # Writes the program's own version record: the seed of its reader's corpus.
  add_executable(version_seed ${CMAKE_SOURCE_DIR}/tests/fuzz/version_seed.cpp)
  target_include_directories(version_seed PRIVATE ${CMAKE_SOURCE_DIR})
endif()
