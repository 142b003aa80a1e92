# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix: the
# POSIX thread model, which std::thread needs). The runtime is linked statically, so that the
# programs run on a bare Windows without the compiler's DLLs beside them.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WALLCALC_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${WALLCALC_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WALLCALC_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${WALLCALC_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WALLCALC_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
