#pragma once
// 复核 on Windows: the review of Form1's wall, its options, its results per section beside the
// four buttons' figures, and its two diagrams drawn with GDI.

#include <windows.h>

namespace wallcalc::win32 {

class Form1;

class ReviewWindow {
public:
    static bool registerClass(HINSTANCE instance);
    explicit ReviewWindow(Form1& form);
    ~ReviewWindow();
    ReviewWindow(const ReviewWindow&) = delete;
    ReviewWindow& operator=(const ReviewWindow&) = delete;

    HWND window() const { return window_; }
    void show();
    // The wall's options changed (a wall opened, 新建): the controls show them.
    void optionsChanged();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    Form1& form_;
    HWND window_ = nullptr;
};

}  // namespace wallcalc::win32
