# libFuzzer targets, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer and
# run for a few seconds in every test run, from a fresh copy of their seed corpus.
find_program(CLANGXX clang++ REQUIRED)

# baykit_fuzz_target(NAME <test name> SOURCES <files...> INCLUDES <folders...> CORPUS <folder>)
function(baykit_fuzz_target target)
  cmake_parse_arguments(FUZZ "" "NAME;CORPUS" "SOURCES;INCLUDES" ${ARGN})
  set(binary ${CMAKE_CURRENT_BINARY_DIR}/${target})
  list(TRANSFORM FUZZ_INCLUDES PREPEND -I)
  add_custom_command(
    OUTPUT ${binary}
    COMMAND ${CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
            ${FUZZ_INCLUDES} ${FUZZ_SOURCES} -o ${binary}
    DEPENDS ${FUZZ_SOURCES}
    COMMENT "Building the fuzz target ${target}")
  add_custom_target(${target} ALL DEPENDS ${binary})
  add_test(NAME ${FUZZ_NAME}
           COMMAND sh -c "rm -rf corpus-${target} && cp -r '${FUZZ_CORPUS}' corpus-${target} && exec '${binary}' -max_total_time=5 -seed=1 -max_len=4096 corpus-${target}"
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
