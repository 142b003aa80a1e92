#pragma once
// 复核 on Windows: the review of Form1's wall with its options, the results per section beside
// the four buttons' figures, the two diagrams drawn with GDI, and the review report. It follows
// Form1's inputs a moment after each change; an input the review refuses leaves the last good
// results greyed, with the reason in the status line. It draws what the review model keeps.

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/review_layout.h"
#include "form/review_model.h"
#include "win32/ids.h"

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
    // Form1's fields changed: the review follows a moment later.
    void inputsChanged();

private:
    static constexpr int kColumns = kReviewColumns;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK diagramProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    HWND add(const wchar_t* windowClass, const std::string& text, DWORD style, int id, DWORD extended = 0);
    void build();
    void place(UINT dpi);
    void optionEdited(std::size_t index);
    void recompute();
    void showResult();
    std::string reportText() const;
    void showReport();
    void paintDiagram(HWND diagram, HDC dc);

    Form1& form_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    struct Place {
        HWND control;
        RECT box;
    };
    std::vector<Place> places_;
    struct Option {
        std::string_view key;
        HWND control;
    };
    std::vector<Option> options_;
    bool showingOptions_ = false;
    HWND options_box_ = nullptr;
    std::array<HWND, form::kResultRowCount> rowHeaders_{};
    // The columns the wall's sections take (one storey: two or three; the rest hidden), so that
    // the diagrams stand beside the table, not beyond the screen.
    int shownColumns_ = 2;
    std::array<HWND, kColumns> columnHeaders_{};
    std::array<std::array<HWND, form::kResultRowCount>, kColumns> cells_{};
    HWND pressure_ = nullptr, moment_ = nullptr;
    HWND compare_ = nullptr, summary_ = nullptr, shear_ = nullptr, warnings_ = nullptr, status_ = nullptr;
    bool warningsShown_ = false;
    HWND showButton_ = nullptr, exportButton_ = nullptr;
    HWND report_ = nullptr;
    form::ReviewModel model_;
};

}  // namespace wallcalc::win32
