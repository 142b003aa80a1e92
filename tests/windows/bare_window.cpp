// bare_window: a window of Form1's initial size with nothing in it, which ends at its first
// paint; the yardstick for wallcalc.exe's start to first paint.

#include <windows.h>

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW bare{};
    bare.lpfnWndProc = procedure;
    bare.hInstance = instance;
    bare.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    bare.lpszClassName = L"Bare";
    RegisterClassW(&bare);
    // Form1's client area, 9930 × 9600 twips at 96 dpi, with a menu bar.
    RECT frame{0, 0, 662, 640};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
    HWND window =
        CreateWindowW(L"Bare", L"bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
