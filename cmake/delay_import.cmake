# wallcalc_delay_import(TARGET DLL...): TARGET, an interface library, links the functions of the
# system DLLs named (ole32, oleaut32, ...) so that each DLL is loaded at the first call of one of
# its functions instead of at the program's start. mingw-w64: an import library made by
# `dlltool --output-delaylib` from the export names of the toolchain's own import library; the
# runtime's __delayLoadHelper2 (libmingwex) resolves each function at its first call.

function(wallcalc_delay_import target)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  file(MAKE_DIRECTORY ${dir})
  set(libraries)
  foreach(dll IN LISTS ARGN)
    find_library(WALLCALC_IMPORT_${dll} NAMES ${dll} REQUIRED)
    set(def ${dir}/${dll}.def)
    set(library ${dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${library} OR ${WALLCALC_IMPORT_${dll}} IS_NEWER_THAN ${library})
      execute_process(COMMAND ${CMAKE_NM} -g ${WALLCALC_IMPORT_${dll}} OUTPUT_VARIABLE symbols
                      COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE " I __imp_" "")
      list(REMOVE_DUPLICATES imports)
      list(JOIN imports "\n" exports)
      file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${library}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND libraries ${library})
  endforeach()
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${libraries})
endfunction()
