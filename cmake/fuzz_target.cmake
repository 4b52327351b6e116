# libFuzzer targets, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer and
# run in every test run from a fresh copy of their seed corpus.
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

# baykit_fuzz_target(<target> NAME <test name> SOURCES <files...> INCLUDES <folders...>
#                    CORPUS <folder> [LIMIT <libFuzzer option>] [MAX_LEN <bytes>])
# The sources compile in batches, each batch one translation unit that includes its sources as
# CMake's unity builds do, so that the headers they share are parsed and instantiated once per
# batch; each batch has a depfile, so that a change to any source or header it includes rebuilds
# it. Line tables are all the debug information a report needs. The test runs in a folder of its
# own in the build tree, with TMPDIR inside it, and fails if anything is left in TMPDIR. LIMIT
# defaults to five seconds.
function(baykit_fuzz_target target)
  cmake_parse_arguments(FUZZ "" "NAME;CORPUS;LIMIT;MAX_LEN" "SOURCES;INCLUDES" ${ARGN})
  if(NOT FUZZ_LIMIT)
    set(FUZZ_LIMIT -max_total_time=5)
  endif()
  if(NOT FUZZ_MAX_LEN)
    set(FUZZ_MAX_LEN 4096)
  endif()
  set(flags -std=c++17 -gline-tables-only -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  set(includes ${FUZZ_INCLUDES} ${PROJECT_SOURCE_DIR}/tests/fuzz)
  list(TRANSFORM includes PREPEND -I)
  # Not at the target's own path: Ninja takes that for the target.
  set(binary ${CMAKE_CURRENT_BINARY_DIR}/${target}.bin/${target})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target}.bin)
  set(objects)
  set(batch_size 12)
  list(LENGTH FUZZ_SOURCES count)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}.objects)
  file(MAKE_DIRECTORY ${folder})
  set(first 0)
  while(first LESS count)
    list(SUBLIST FUZZ_SOURCES ${first} ${batch_size} batch)
    math(EXPR number "${first} / ${batch_size}")
    set(text "")
    foreach(source ${batch})
      string(APPEND text "#include \"${source}\"\n")
    endforeach()
    # Written only when its text changes, so that a new configure rebuilds nothing.
    set(unit ${folder}/batch_${number}.cpp)
    file(CONFIGURE OUTPUT ${unit} CONTENT "${text}")
    set(object ${unit}.o)
    add_custom_command(
      OUTPUT ${object}
      COMMAND ${CLANGXX} ${flags} ${includes} -MD -MF ${object}.d -c ${unit} -o ${object}
      DEPENDS ${unit} ${batch}
      DEPFILE ${object}.d
      COMMENT "Compiling batch ${number} of the fuzz target ${target}")
    list(APPEND objects ${object})
    math(EXPR first "${first} + ${batch_size}")
  endwhile()
  add_custom_command(
    OUTPUT ${binary}
    COMMAND ${CLANGXX} ${flags} ${objects} -o ${binary}
    DEPENDS ${objects}
    COMMENT "Linking the fuzz target ${target}")
  add_custom_target(${target} ALL DEPENDS ${binary})
  set(run run-${target})
  add_test(NAME ${FUZZ_NAME}
           COMMAND sh -c "rm -rf ${run} && mkdir -p ${run}/tmp && cp -r '${FUZZ_CORPUS}' ${run}/corpus && cd ${run} && TMPDIR=$PWD/tmp '${binary}' ${FUZZ_LIMIT} -seed=1 -max_len=${FUZZ_MAX_LEN} corpus && if [ -n \"$(ls -A tmp)\" ]; then echo \"left in TMPDIR:\" tmp/*; exit 1; fi"
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
