# Fails when a C++ source of the tree differs from what clang-format (with the tree's
# .clang-format) would write.
#
#   cmake -DROOT=<source tree> -DCLANG_FORMAT=<clang-format> -P cmake/check_format.cmake

set(folders numtext core calc review report wallfile ui app cli tests bench fuzz)
set(sources)
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE found "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(SORT sources)
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run -Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted as .clang-format says (run clang-format -i on these):\n${errors}")
endif()
list(LENGTH sources count)
message(STATUS "clang-format: ${count} files as formatted")
