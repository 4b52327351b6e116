# Links an application manifest (cmake/app.manifest.in) into a Windows program as resource 1 of
# type 24, the manifest that the loader reads at start. DPI_AWARE adds system DPI awareness.
function(baykit_app_manifest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "DPI_AWARE" "" "")
  set(BAYKIT_MANIFEST_PROGRAM ${target}.exe)
  set(BAYKIT_MANIFEST_NOTE "")
  set(BAYKIT_MANIFEST_SETTINGS "")
  if(arg_DPI_AWARE)
    set(BAYKIT_MANIFEST_NOTE ", system DPI aware")
    string(CONCAT BAYKIT_MANIFEST_SETTINGS "\n"
      "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
      "    <windowsSettings>\n"
      "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>\n"
      "    </windowsSettings>\n"
      "  </application>")
  endif()
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/app.manifest.in ${manifest} @ONLY)
  # The resource script names the manifest by its file name alone and finds it through -I, so
  # no build folder is written into the script or the program.
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc
       CONTENT "/* Manifest resource of ${target}.exe. */\n1 24 \"${target}.manifest\"\n")
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc PROPERTIES
    INCLUDE_DIRECTORIES ${CMAKE_CURRENT_BINARY_DIR} OBJECT_DEPENDS ${manifest})
endfunction()
