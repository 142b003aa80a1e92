// drive_window WALLCALC.EXE FOLDER [N]...: starts wallcalc.exe, places Form1 at the top left at
// the size of its whole layout, presses CommandN for each N given (5 opens the review window,
// which is put beside Form1), then writes FOLDER/ready and keeps the windows shown until
// FOLDER/done appears (a screenshot of the screen is taken meanwhile), at most two minutes.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/windows/window_driver.h"
#include "win32/ids.h"

int wmain(int argc, wchar_t** argv) {
    using namespace wallcalc;
    if (argc < 3) return 2;
    testing::Program program(argv[1]);
    const HWND form = program.form();
    if (!form) return 1;
    const UINT dpi = GetDpiForWindow(form);
    // The whole layout (15135 × 11055 twips) with the window's frame and menu.
    RECT frame{0, 0, MulDiv(15135, static_cast<int>(dpi), 1440), MulDiv(10700, static_cast<int>(dpi), 1440)};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0, dpi);
    SetWindowPos(form, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    for (int i = 3; i < argc; ++i) program.press(form, win32::commandId(std::wcstol(argv[i], nullptr, 10)));
    program.settle();
    for (HWND review : program.windows(win32::kReviewClass)) {
        RECT placed;
        GetWindowRect(form, &placed);
        SetWindowPos(review, HWND_TOP, placed.right, 0, 0, 0, SWP_NOSIZE);
    }
    Sleep(1000);  // the last paints
    const std::filesystem::path folder = testing::builtProgram(testing::utf8(argv[2]));
    std::ofstream(folder / "ready") << "ready\n";
    testing::waitFor([&] { return std::filesystem::exists(folder / "done"); }, 120);
    return 0;
}
