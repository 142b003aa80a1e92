# wallcalc_add_test(NAME
#                   SOURCES file...            test_<topic>.cpp, one file a topic
#                   LIBS library...            what the test drives
#                   [DEFINES NAME=VALUE...]    compile definitions (paths the test needs)
#                   [DEPENDS target...]        programs the test runs
#                   [LABELS label...] [TIMEOUT seconds]
#                   [OWN_MAIN]                 the sources bring main() (the window's tests)
#                   [ONE_PROCESS])             one CTest test for the whole executable instead of
#                                              one a case (a test that starts an office once)
function(wallcalc_add_test name)
  cmake_parse_arguments(T "OWN_MAIN;ONE_PROCESS" "TIMEOUT" "SOURCES;LIBS;DEFINES;DEPENDS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  endif()
  if(T_DEFINES)
    target_compile_definitions(${name} PRIVATE ${T_DEFINES})
  endif()
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  if(T_ONE_PROCESS)
    add_test(NAME ${name} COMMAND ${name})
    if(T_LABELS)
      set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
    if(T_TIMEOUT)
      set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    endif()
  else()
    set(properties)
    if(T_TIMEOUT)
      list(APPEND properties TIMEOUT ${T_TIMEOUT})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_TESTS PROPERTIES ${properties})
    # The labels are a list, which the discovery's PROPERTIES would spread into names and values
    # (a second label read as a property): they are set on the discovered cases by a script
    # that CTest reads after the discovery's own.
    if(T_LABELS)
      set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake")
      file(WRITE "${script}" "set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${T_LABELS}\")\n")
      set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
    endif()
  endif()
endfunction()
