# Finds the LibreOffice SDK (the C++ UNO API) and the office it belongs to.
#
# Hints: LibreOfficeSDK_ROOT (CMake or environment variable) naming the office's base directory,
# the one holding program/ and sdk/ (/usr/lib/libreoffice on Debian, /opt/libreoffice* for the
# upstream packages).
#
# Defines:
#   LibreOfficeSDK_FOUND
#   LibreOfficeSDK_PROGRAM_DIR   the office's program/ directory (soffice, fundamentalrc, types.rdb)
#   LibreOfficeSDK_CPPUMAKER     the C++ header generator
#   LibreOfficeSDK_INCLUDE_DIR   the SDK's fixed headers (sal/, rtl/, cppuhelper/, ...)
#   LibreOfficeSDK_TYPE_RDBS     the type registries the API headers are generated from
#   LibreOffice::UNO             imported target: headers, defines, the three UNO libraries, and
#                                an rpath to the program/ directory where their sonames live
#   libreoffice_generate_headers(<target> <output dir> <type>...)
#       generates the C++ headers of the listed UNO types (and of the types they use) into
#       <output dir> before <target> compiles, and gives <target> those headers and UNO.

set(_lo_hints ${LibreOfficeSDK_ROOT} $ENV{LibreOfficeSDK_ROOT} /usr/lib/libreoffice /usr/lib64/libreoffice)
file(GLOB _lo_opt LIST_DIRECTORIES true /opt/libreoffice*)
list(APPEND _lo_hints ${_lo_opt})

find_program(LibreOfficeSDK_CPPUMAKER cppumaker
  HINTS ${_lo_hints} PATH_SUFFIXES sdk/bin NO_DEFAULT_PATH)
find_path(LibreOfficeSDK_INCLUDE_DIR cppuhelper/bootstrap.hxx
  HINTS ${_lo_hints} PATH_SUFFIXES sdk/include PATHS /usr/include/libreoffice)
find_path(LibreOfficeSDK_PROGRAM_DIR fundamentalrc
  HINTS ${_lo_hints} PATH_SUFFIXES program NO_DEFAULT_PATH)
foreach(_lib uno_cppuhelpergcc3 uno_cppu uno_sal)
  find_library(LibreOfficeSDK_${_lib}_LIBRARY ${_lib} HINTS ${_lo_hints} PATH_SUFFIXES sdk/lib NO_DEFAULT_PATH)
endforeach()
if(LibreOfficeSDK_PROGRAM_DIR AND EXISTS ${LibreOfficeSDK_PROGRAM_DIR}/types.rdb
   AND EXISTS ${LibreOfficeSDK_PROGRAM_DIR}/types/offapi.rdb)
  set(LibreOfficeSDK_TYPE_RDBS ${LibreOfficeSDK_PROGRAM_DIR}/types.rdb ${LibreOfficeSDK_PROGRAM_DIR}/types/offapi.rdb)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(LibreOfficeSDK
  REQUIRED_VARS LibreOfficeSDK_CPPUMAKER LibreOfficeSDK_INCLUDE_DIR LibreOfficeSDK_PROGRAM_DIR
                LibreOfficeSDK_TYPE_RDBS LibreOfficeSDK_uno_cppuhelpergcc3_LIBRARY
                LibreOfficeSDK_uno_cppu_LIBRARY LibreOfficeSDK_uno_sal_LIBRARY)

if(LibreOfficeSDK_FOUND AND NOT TARGET LibreOffice::UNO)
  add_library(LibreOffice::UNO INTERFACE IMPORTED)
  target_include_directories(LibreOffice::UNO SYSTEM INTERFACE ${LibreOfficeSDK_INCLUDE_DIR})
  target_compile_definitions(LibreOffice::UNO INTERFACE LINUX CPPU_ENV=gcc3)
  target_link_libraries(LibreOffice::UNO INTERFACE
    ${LibreOfficeSDK_uno_cppuhelpergcc3_LIBRARY} ${LibreOfficeSDK_uno_cppu_LIBRARY}
    ${LibreOfficeSDK_uno_sal_LIBRARY})
  target_link_options(LibreOffice::UNO INTERFACE "LINKER:-rpath,${LibreOfficeSDK_PROGRAM_DIR}")
endif()

function(libreoffice_generate_headers target outdir)
  set(_types)
  foreach(_t ${ARGN})
    list(APPEND _types -T${_t})
  endforeach()
  set(_stamp ${outdir}/.generated)
  add_custom_command(OUTPUT ${_stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND ${LibreOfficeSDK_CPPUMAKER} -Gc -O${outdir} ${_types} ${LibreOfficeSDK_TYPE_RDBS}
    COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
    DEPENDS ${LibreOfficeSDK_TYPE_RDBS}
    COMMENT "Generating the C++ headers of the UNO types for ${target}"
    VERBATIM)
  add_custom_target(${target}_uno_headers DEPENDS ${_stamp})
  add_dependencies(${target} ${target}_uno_headers)
  target_include_directories(${target} SYSTEM PRIVATE ${outdir})
  target_link_libraries(${target} PRIVATE LibreOffice::UNO)
endfunction()

mark_as_advanced(LibreOfficeSDK_CPPUMAKER LibreOfficeSDK_INCLUDE_DIR LibreOfficeSDK_PROGRAM_DIR
  LibreOfficeSDK_uno_cppuhelpergcc3_LIBRARY LibreOfficeSDK_uno_cppu_LIBRARY LibreOfficeSDK_uno_sal_LIBRARY)
