// wallcalc.exe: Form1 on Windows. A .wall path on the command line opens that wall, so that a
// double-click on a wall file opens it.

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
// clang-format on

#include "office/office.h"
#include "win32/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    using namespace wallcalc::win32;
    // The imaging component (the diagram) and the rich edit of the report box want OLE.
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    loadSymbolFont(instance);
    if (!Form1::registerClass(instance)) return 1;
    Form1* form = Form1::create(instance, wallcalc::makePlatformOffice());
    if (!form) return 1;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc > 1) form->openWall(argv[1]);
    if (argv) LocalFree(argv);
    ShowWindow(form->window(), show);
    UpdateWindow(form->window());
    const int status = runMessageLoop(*form);
    OleUninitialize();
    return status;
}
