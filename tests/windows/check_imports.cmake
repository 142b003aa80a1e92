# cmake -DOBJDUMP=... -DPROGRAM=... -DREFUSED="user32;ole32" -P check_imports.cmake: fails when
# PROGRAM's import table names one of the DLLs in REFUSED. Each of them loaded at start-up (user32
# comes with shell32 and with COM) makes a console program under Wine start twice as slowly; COM
# is loaded when Word is first called instead.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
string(TOLOWER "${imports}" imports)
foreach(dll IN LISTS REFUSED)
  if(imports MATCHES "dll name: ${dll}\\.dll")
    message(FATAL_ERROR "${PROGRAM} loads ${dll}.dll at start-up; its imports: ${imports}")
  endif()
endforeach()
message(STATUS "imports: ${imports}")
