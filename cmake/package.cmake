# The Windows setup program: `cmake --build --preset windows --target package` makes
# wallcalc-<version>-win64.exe with CPack's NSIS generator (Debian: nsis). It installs
# wallcalc.exe, wallcalc-cli.exe and the README into Program Files, puts the window into the
# Start menu, opens .wall files with wallcalc.exe, runs silently with /S, and its uninstaller
# takes all of it away again.

install(TARGETS wallcalc-win32 wallcalc-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)

set(CPACK_GENERATOR NSIS)
# The NSIS script lines below go into the installer as written.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME wallcalc)
set(CPACK_PACKAGE_VENDOR wallcalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "地下室外墙计算")
set(CPACK_PACKAGE_FILE_NAME wallcalc-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY wallcalc)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY wallcalc)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME wallcalc)
set(CPACK_NSIS_DISPLAY_NAME "wallcalc 地下室外墙计算")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/wallcalc.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/wallcalc.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME wallcalc.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# A 64-bit Unicode installer (Chinese names in the Start menu and the registry; a 64-bit
# program needs no 32-bit layer beneath its setup). "Target" must open the script, so the
# installer script is CMake's own with that line put first.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REPLACE "; CPack install script" "Target amd64-unicode\n; CPack install script" template "${template}")
file(WRITE ${CMAKE_BINARY_DIR}/cpack-nsis/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/cpack-nsis)
set(CPACK_NSIS_MENU_LINKS wallcalc.exe "地下室外墙计算")

# .wall opens with wallcalc.exe; the shell hears of the change at once. The uninstaller removes
# the association only while it still points at this program.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  WriteRegStr SHCTX "Software\Classes\.wall" "" "wallcalc.wall"
  WriteRegStr SHCTX "Software\Classes\wallcalc.wall" "" "墙体文件"
  WriteRegStr SHCTX "Software\Classes\wallcalc.wall\DefaultIcon" "" "$INSTDIR\wallcalc.exe,0"
  WriteRegStr SHCTX "Software\Classes\wallcalc.wall\shell\open\command" "" '"$INSTDIR\wallcalc.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  ReadRegStr $0 SHCTX "Software\Classes\.wall" ""
  StrCmp $0 "wallcalc.wall" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.wall"
  DeleteRegKey SHCTX "Software\Classes\wallcalc.wall"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
include(CPack)
