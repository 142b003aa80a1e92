# Running the Windows programs of a cross build under Wine: tests/windows/wine-run is the
# emulator of every test, with a throw-away prefix inside the build tree that the build makes.

find_program(WALLCALC_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine
             DOC "Wine's 64-bit loader" NO_CMAKE_FIND_ROOT_PATH)
if(NOT WALLCALC_WINE64)
  message(WARNING "Wine's 64-bit loader not found (Debian: wine64): the Windows tests cannot run here")
  return()
endif()
set(WALLCALC_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${PROJECT_SOURCE_DIR}/tests/windows/wine-run ${WALLCALC_WINE64} ${WALLCALC_WINE_PREFIX})
add_custom_command(OUTPUT ${WALLCALC_WINE_PREFIX}/.made
                   COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
                   COMMENT "Making the Wine prefix of the tests")
add_custom_target(wine_prefix ALL DEPENDS ${WALLCALC_WINE_PREFIX}/.made)
