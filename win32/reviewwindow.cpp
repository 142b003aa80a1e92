#include "win32/reviewwindow.h"

#include "win32/form1.h"
#include "win32/ids.h"

namespace wallcalc::win32 {

bool ReviewWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW review{};
    review.cbSize = sizeof review;
    review.lpfnWndProc = procedure;
    review.hInstance = instance;
    review.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    review.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    review.lpszClassName = kReviewClass;
    return RegisterClassExW(&review) != 0;
}

ReviewWindow::ReviewWindow(Form1& form) : form_(form) {
    window_ = CreateWindowExW(0, kReviewClass, L"复核", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 900, 700,
                              form_.window(), nullptr, GetModuleHandleW(nullptr), this);
}

ReviewWindow::~ReviewWindow() {
    if (window_) DestroyWindow(window_);
}

void ReviewWindow::show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

void ReviewWindow::optionsChanged() {}

LRESULT CALLBACK ReviewWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* review = reinterpret_cast<ReviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (review && review->window_ == window) return review->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ReviewWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: ShowWindow(window_, SW_HIDE); return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace wallcalc::win32
