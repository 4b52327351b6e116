# libFuzzer targets, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer and
# run for a few seconds in every test run, from a fresh copy of their seed corpus.
find_program(CLANGXX clang++ REQUIRED)

# The sources of library targets, as full paths, so that a fuzz target builds from the same list.
function(baykit_library_sources out)
  set(all)
  foreach(library ${ARGN})
    get_target_property(dir ${library} SOURCE_DIR)
    get_target_property(sources ${library} SOURCES)
    list(TRANSFORM sources PREPEND ${dir}/)
    list(APPEND all ${sources})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

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
