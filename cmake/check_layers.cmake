# Fails when a source file includes a header of a layer above its own, or Qt outside the window.
#
#   cmake -DROOT=<source tree> -P cmake/check_layers.cmake
#
# The layers point down: app -> ui, win32 -> form -> report -> review, calc -> core -> numtext;
# office (the word processor) stands only on core and beside report, which never needs it;
# wallfile reads the review's options; form is the windows' model without a toolkit, below both
# views; cli uses everything below the windows except form (it has no window to model: it runs
# the same actions through core's atomic runner and reads wall files itself). Tests, benchmarks
# and fuzz targets may include anything.

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P check_layers.cmake")
endif()

set(layers numtext core office calc review report wallfile form ui win32 app cli)
set(allowed_numtext numtext)
set(allowed_core core numtext)
set(allowed_office office core)
set(allowed_calc calc core numtext)
set(allowed_review review core numtext)
set(allowed_report report calc review core numtext)
set(allowed_wallfile wallfile review core numtext)
set(allowed_form form report office calc review wallfile core numtext)
set(allowed_ui ui form report office calc review wallfile core numtext)
set(allowed_win32 win32 form report office calc review wallfile core numtext)
set(allowed_app app ui form report office calc review wallfile core numtext)
set(allowed_cli cli report office calc review wallfile core numtext)
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
