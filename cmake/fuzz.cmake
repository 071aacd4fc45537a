# The libFuzzer target, built with clang beside the main build (whatever its
# compiler) when clang links -fsanitize=fuzzer; `item_file_fuzz` runs it for
# a bounded number of inputs over the seed corpus (new finds go to a scratch
# folder of the build tree, never into the sources).
find_program(RPGITEM_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT RPGITEM_CLANGXX)
  message(STATUS "libFuzzer: no clang++; the replay driver stands in")
  return()
endif()
set(probe ${CMAKE_BINARY_DIR}/fuzz_probe.cpp)
file(WRITE ${probe} "#include <cstddef>\n#include <cstdint>\nextern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
execute_process(COMMAND ${RPGITEM_CLANGXX} -fsanitize=fuzzer ${probe} -o ${CMAKE_BINARY_DIR}/fuzz_probe
                RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
if(NOT probe_result EQUAL 0)
  message(STATUS "libFuzzer: ${RPGITEM_CLANGXX} cannot link -fsanitize=fuzzer; the replay driver stands in")
  return()
endif()
message(STATUS "libFuzzer: ${RPGITEM_CLANGXX}")

get_target_property(editor_sources editor_core SOURCES)
list(TRANSFORM editor_sources PREPEND ${CMAKE_SOURCE_DIR}/)
set(fuzz_sources ${CMAKE_SOURCE_DIR}/tests/fuzz/item_file_fuzz.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/item_file_oracle.cpp
    ${editor_sources})
set(fuzz_binary ${CMAKE_BINARY_DIR}/item_file_fuzz)
add_custom_command(
  OUTPUT ${fuzz_binary}
  COMMAND ${RPGITEM_CLANGXX} -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
          -I${CMAKE_SOURCE_DIR} ${fuzz_sources} -o ${fuzz_binary}
  DEPENDS ${fuzz_sources}
  COMMENT "Building the item file fuzz target with ${RPGITEM_CLANGXX}"
  VERBATIM)
add_custom_target(item_file_fuzz_target ALL DEPENDS ${fuzz_binary})
set(fuzz_scratch ${CMAKE_BINARY_DIR}/fuzz-corpus)
file(MAKE_DIRECTORY ${fuzz_scratch})
add_test(NAME item_file_fuzz
         COMMAND ${fuzz_binary} -runs=30000 -max_len=4096 -timeout=10 -rss_limit_mb=2048 ${fuzz_scratch}
                 ${RPGITEM_FUZZ_CORPUS})
