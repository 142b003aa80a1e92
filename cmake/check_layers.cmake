# Fails when a source file includes a header of a layer above its own, or Qt outside the window.
#
#   cmake -DROOT=<source tree> -P cmake/check_layers.cmake
#
# The layers point down: app -> ui -> report -> review, calc -> core -> numtext; wallfile reads
# the review's options; win32 (the window on Windows) stands beside ui and app, and nothing
# includes it; cli uses everything below the window. Tests, benchmarks and fuzz targets
# may include anything.

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P check_layers.cmake")
endif()

set(layers numtext core calc review report wallfile ui app win32 cli)
set(allowed_numtext numtext)
set(allowed_core core numtext)
set(allowed_calc calc core numtext)
set(allowed_review review core numtext)
set(allowed_report report calc review core numtext)
set(allowed_wallfile wallfile review core numtext)
set(allowed_ui ui report calc review wallfile core numtext)
set(allowed_app app ui report calc review wallfile core numtext)
set(allowed_win32 win32 form report calc review wallfile core numtext)
set(allowed_cli cli report calc review wallfile core numtext)
set(qt_layers ui app)

set(faults 0)
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE sources "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.hpp" "${ROOT}/${layer}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    file(RELATIVE_PATH shown "${ROOT}" "${source}")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"].*$" "\\1;\\2" parsed "${line}")
      list(GET parsed 0 bracket)
      list(GET parsed 1 header)
      if(bracket STREQUAL "\"")
        string(REGEX REPLACE "/.*$" "" target "${header}")
        list(FIND layers "${target}" known)
        list(FIND allowed_${layer} "${target}" permitted)
        if(known GREATER -1 AND permitted EQUAL -1)
          message(SEND_ERROR "${shown}: ${layer}/ includes \"${header}\" of the layer ${target}/ above it")
          math(EXPR faults "${faults} + 1")
        endif()
      elseif(header MATCHES "^Q[A-Za-z]*(/|$)")
        list(FIND qt_layers "${layer}" permitted)
        if(permitted EQUAL -1)
          message(SEND_ERROR "${shown}: ${layer}/ includes Qt <${header}>; only ui/ and app/ may")
          math(EXPR faults "${faults} + 1")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the layers")
endif()
message(STATUS "layers: every include points down")
