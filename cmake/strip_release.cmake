# Windows programs of an optimised build ship without their debug information: it is most of an
# .exe's size and is read from disk at every start. Each program's is kept apart beside it in
# NAME.exe.debug, which the .exe names (.gnu_debuglink), so that a debugger still finds it. The
# link rule gets the two steps, so every executable of the build is stripped the same way.

if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND CMAKE_OBJCOPY)
  foreach(lang IN ITEMS C CXX)
    list(APPEND CMAKE_${lang}_LINK_EXECUTABLE
         "${CMAKE_OBJCOPY} --only-keep-debug <TARGET> <TARGET>.debug"
         "${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=<TARGET>.debug <TARGET>")
  endforeach()
endif()
