# Header-only libraries from Debian (CLI11, nlohmann/json), usable by both trees. The win32 tree
# must not see the rest of /usr/include, so each library's own folder is linked into a folder of
# the build tree, and only that folder goes on the include path.
set(BAYKIT_HEADER_LIBRARIES CLI/CLI.hpp nlohmann/json.hpp)
set(header_root ${CMAKE_BINARY_DIR}/header_libraries)
foreach(header ${BAYKIT_HEADER_LIBRARIES})
  get_filename_component(folder ${header} DIRECTORY)
  if(NOT EXISTS /usr/include/${header})
    message(FATAL_ERROR "/usr/include/${header} is missing: run scripts/setup.sh")
  endif()
  if(NOT EXISTS ${header_root}/${folder})
    file(MAKE_DIRECTORY ${header_root})
    file(CREATE_LINK /usr/include/${folder} ${header_root}/${folder} SYMBOLIC)
  endif()
endforeach()
add_library(header_libraries INTERFACE)
target_include_directories(header_libraries SYSTEM INTERFACE ${header_root})
