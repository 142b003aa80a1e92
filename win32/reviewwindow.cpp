#include "win32/reviewwindow.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <exception>

#include "core/fault.h"
#include "form/review_layout.h"
#include "report/document.h"
#include "report/review_compose.h"
#include "review/edition.h"
#include "review/options.h"
#include "win32/controls.h"
#include "win32/form1.h"
#include "win32/ids.h"
#include "win32/layout.h"
#include "win32/resource.h"

namespace wallcalc::win32 {
namespace {

constexpr const wchar_t* kDiagramClass = L"WallcalcReviewDiagram";
constexpr const wchar_t* kReportClass = L"WallcalcReviewReport";
constexpr UINT_PTR kDebounceTimer = 1;
constexpr int kPressureId = 2300, kMomentId = 2301;

// The window is laid out in pixels at 96 dpi, scaled by the window's DPI.
constexpr int kMargin = 8, kRow = 26, kOptionLabel = 150, kOptionBox = 70, kOptionUnit = 50;
constexpr int kOptionColumn = kOptionLabel + kOptionBox + kOptionUnit + 8;
constexpr int kHeaderWidth = 150, kCellWidth = 140, kCellHeight = 20, kDiagramWidth = 250;
constexpr int kLineHeight = 20;

COLORREF earthColour() { return RGB(176, 128, 80); }
COLORREF surchargeColour() { return RGB(240, 190, 40); }
COLORREF ulsColour() { return RGB(220, 0, 0); }
COLORREF slsColour() { return RGB(0, 90, 200); }

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

void drawText(HDC dc, int x, int y, const std::string& text) {
    const std::wstring wideText = wide(text);
    TextOutW(dc, x, y, wideText.c_str(), static_cast<int>(wideText.size()));
}

}  // namespace

bool ReviewWindow::registerClass(HINSTANCE instance) {
    return registerWindowClass(instance, kReviewClass, procedure, COLOR_BTNFACE, IDI_WALLCALC) &&
           registerWindowClass(instance, kDiagramClass, diagramProcedure, COLOR_WINDOW) &&
           registerWindowClass(instance, kReportClass, DefWindowProcW, COLOR_BTNFACE, IDI_WALLCALC);
}

ReviewWindow::ReviewWindow(Form1& form) : form_(form), model_(form.document()) {
    window_ = CreateWindowExW(0, kReviewClass, wide(form::kReviewTitle).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 800, 600, form_.window(), nullptr, GetModuleHandleW(nullptr), this);
}

ReviewWindow::~ReviewWindow() {
    if (report_) DestroyWindow(report_);
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

void ReviewWindow::show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    recompute();
}

LRESULT CALLBACK ReviewWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* review = static_cast<ReviewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        review->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(review));
    }
    auto* review = reinterpret_cast<ReviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (review) return review->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND ReviewWindow::add(const wchar_t* windowClass, const std::string& text, DWORD style, int id, DWORD extended) {
    HWND control =
        CreateWindowExW(extended, windowClass, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    places_.push_back({control, {}});
    return control;
}

void ReviewWindow::build() {
    options_box_ = add(L"BUTTON", form::kReviewOptionsTitle, BS_GROUPBOX, 0);
    int index = 0;
    for (const review::OptionSpec& option : review::optionTable()) {
        add(L"STATIC", std::string(option.caption), SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0);
        HWND control;
        if (option.isNumber() || option.isText()) {
            control = add(L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, kReviewOptionBase + index, WS_EX_CLIENTEDGE);
        } else {
            control = add(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, kReviewOptionBase + index);
            for (const review::OptionWord& word : option.words)
                if (!word.text.empty())
                    SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(word.caption).c_str()));
        }
        add(L"STATIC", std::string(option.unit), SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0);
        options_.push_back({option.key, control});
        ++index;
    }
    for (int row = 0; row < form::kResultRowCount; ++row)
        rowHeaders_[row] = add(L"STATIC", form::kResultRowHeaders[row], SS_LEFTNOWORDWRAP | SS_CENTERIMAGE,
                               kReviewCellBase - 50 + row, WS_EX_STATICEDGE);
    for (int column = 0; column < kColumns; ++column) {
        columnHeaders_[column] =
            add(L"STATIC", "", SS_CENTER | SS_CENTERIMAGE, kReviewCellBase - 10 + column, WS_EX_STATICEDGE);
        for (int row = 0; row < form::kResultRowCount; ++row)
            cells_[column][row] = add(L"STATIC", "", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
                                      kReviewCellBase + row * kColumns + column, WS_EX_STATICEDGE);
    }
    pressure_ = add(kDiagramClass, "", 0, kPressureId, WS_EX_CLIENTEDGE);
    moment_ = add(kDiagramClass, "", 0, kMomentId, WS_EX_CLIENTEDGE);
    compare_ = add(L"STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kReviewCompareId);
    summary_ = add(L"STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kReviewSummaryId);
    // The shear and the warnings wrap within the window's width.
    shear_ = add(L"STATIC", "", SS_LEFT | SS_NOPREFIX, kReviewShearId);
    warnings_ = add(L"STATIC", "", SS_LEFT | SS_NOPREFIX, kReviewWarningsId);
    status_ = add(L"STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kReviewStatusId);
    showButton_ = add(L"BUTTON", form::kShowReviewReport.caption, BS_PUSHBUTTON | WS_TABSTOP, kReviewReportId);
    exportButton_ = add(L"BUTTON", form::kExportReviewReport.caption, BS_PUSHBUTTON | WS_TABSTOP, kReviewExportId);
    place(dpiOf(window_));
    optionsChanged();
}

void ReviewWindow::place(UINT dpi) {
    auto px = [dpi](int pixels96) { return MulDiv(pixels96, static_cast<int>(dpi), 96); };
    if (font_) DeleteObject(font_);
    font_ = makeFont(firstInstalled(form::faceCandidates(form::kDefaultFont.family, false)), form::kDefaultFont.points,
                     dpi);
    auto put = [&](HWND control, int x, int y, int width, int height) {
        SetWindowPos(control, nullptr, px(x), px(y), px(width), px(height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    };
    const int optionRows = static_cast<int>((options_.size() + form::kOptionsPerRow - 1) / form::kOptionsPerRow);
    const int optionsHeight = 24 + optionRows * kRow + 4;
    put(options_box_, kMargin, kMargin, form::kOptionsPerRow * kOptionColumn + 16, optionsHeight);
    // Option rows: caption, control and unit, kOptionsPerRow to a row (the controls come after
    // the group box among the places: caption, control, unit for each option).
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const int x = kMargin + 8 + static_cast<int>(i % form::kOptionsPerRow) * kOptionColumn;
        const int y = kMargin + 22 + static_cast<int>(i / form::kOptionsPerRow) * kRow;
        HWND caption = places_[1 + i * 3].control, unit = places_[3 + i * 3].control;
        put(caption, x, y, kOptionLabel, 22);
        // A number's box and its unit; a choice of words spans both, its list dropping below.
        if (review::optionTable()[i].isNumber() || review::optionTable()[i].isText())
            put(options_[i].control, x + kOptionLabel, y, kOptionBox, 22);
        else
            put(options_[i].control, x + kOptionLabel, y, kOptionBox + kOptionUnit, 200);
        put(unit, x + kOptionLabel + kOptionBox + 4, y, kOptionUnit, 22);
    }
    const int top = kMargin + optionsHeight + kMargin;
    for (int row = 0; row < form::kResultRowCount; ++row)
        put(rowHeaders_[row], kMargin, top + (row + 1) * kCellHeight, kHeaderWidth, kCellHeight);
    for (int column = 0; column < kColumns; ++column) {
        const int x = kMargin + kHeaderWidth + column * kCellWidth;
        const int show = column < shownColumns_ ? SW_SHOW : SW_HIDE;
        put(columnHeaders_[column], x, top, kCellWidth, kCellHeight);
        ShowWindow(columnHeaders_[column], show);
        for (int row = 0; row < form::kResultRowCount; ++row) {
            put(cells_[column][row], x, top + (row + 1) * kCellHeight, kCellWidth, kCellHeight);
            ShowWindow(cells_[column][row], show);
        }
    }
    const int tableHeight = (form::kResultRowCount + 1) * kCellHeight;
    const int diagrams = kMargin + kHeaderWidth + shownColumns_ * kCellWidth + kMargin;
    put(pressure_, diagrams, top, kDiagramWidth, tableHeight);
    put(moment_, diagrams + kDiagramWidth + kMargin, top, kDiagramWidth, tableHeight);
    const int width =
        std::max(diagrams + 2 * kDiagramWidth + kMargin, form::kOptionsPerRow * kOptionColumn + 16) + kMargin;
    const int lines = top + tableHeight + kMargin;
    put(compare_, kMargin, lines, width - 2 * kMargin, kLineHeight);
    put(summary_, kMargin, lines + kLineHeight, width - 2 * kMargin, kLineHeight);
    put(shear_, kMargin, lines + 2 * kLineHeight, width - 2 * kMargin, 2 * kLineHeight);
    const int warningLines = warningsShown_ ? 2 : 0;
    put(warnings_, kMargin, lines + 4 * kLineHeight, width - 2 * kMargin, warningLines * kLineHeight);
    ShowWindow(warnings_, warningsShown_ ? SW_SHOW : SW_HIDE);
    put(status_, kMargin, lines + (4 + warningLines) * kLineHeight, width - 2 * kMargin, kLineHeight);
    const int bottom = lines + (5 + warningLines) * kLineHeight + 4;
    put(showButton_, kMargin, bottom, 140, 28);
    put(exportButton_, kMargin + 150, bottom, 140, 28);
    RECT frame{0, 0, px(width), px(bottom + 28 + kMargin)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void ReviewWindow::optionsChanged() {
    // A control set from here must not hand its text back.
    showingOptions_ = true;
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const std::string text = form_.document().optionText(options_[i].key);
        const review::OptionSpec& spec = review::optionTable()[i];
        if (spec.isNumber() || spec.isText()) {
            if (windowText(options_[i].control) != text) setWindowText(options_[i].control, text);
        } else {
            int chosen = -1;
            for (int w = 0; w < static_cast<int>(spec.words.size()); ++w)
                if (spec.words[w].text == text) chosen = w;
            SendMessageW(options_[i].control, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
        }
    }
    showingOptions_ = false;
    inputsChanged();
}

void ReviewWindow::inputsChanged() {
    if (window_ && IsWindowVisible(window_)) SetTimer(window_, kDebounceTimer, form::kReviewDebounceMs, nullptr);
}

void ReviewWindow::optionEdited(std::size_t index) {
    if (showingOptions_) return;
    const review::OptionSpec& spec = review::optionTable()[index];
    std::string text;
    if (spec.isNumber() || spec.isText()) {
        text = windowText(options_[index].control);
    } else {
        const LRESULT chosen = SendMessageW(options_[index].control, CB_GETCURSEL, 0, 0);
        if (chosen < 0 || chosen >= static_cast<LRESULT>(spec.words.size())) return;
        text = std::string(spec.words[static_cast<std::size_t>(chosen)].text);
    }
    form_.document().setOption(spec.key, text);
    inputsChanged();
}

void ReviewWindow::recompute() {
    KillTimer(window_, kDebounceTimer);
    model_.recompute();
    if (model_.result() && !model_.isStale()) showResult();
    setWindowText(status_, model_.status());
    // The last good results stay, greyed, while the inputs are refused.
    const bool current = model_.result() && !model_.isStale();
    for (auto& column : cells_)
        for (HWND cell : column) EnableWindow(cell, current);
    for (HWND line : {compare_, summary_, shear_, warnings_}) EnableWindow(line, current);
    EnableWindow(showButton_, current);
    EnableWindow(exportButton_, current);
    InvalidateRect(pressure_, nullptr, TRUE);
    InvalidateRect(moment_, nullptr, TRUE);
    InvalidateRect(status_, nullptr, TRUE);
}

void ReviewWindow::showResult() {
    const review::Result& result = *model_.result();
    const int columns = std::clamp(static_cast<int>(result.sections.size()), 2, kColumns);
    const bool warnings = !model_.warningsText().empty();
    if (columns != shownColumns_ || warnings != warningsShown_) {
        shownColumns_ = columns;
        warningsShown_ = warnings;
        place(dpiOf(window_));
    }
    for (int row = 0; row < form::kResultRowCount; ++row)
        setWindowText(rowHeaders_[row], row == form::kRowMsls ? form::crackMomentHeader(result.edition->crackSymbol)
                                                              : std::string(form::kResultRowHeaders[row]));
    for (int column = 0; column < kColumns; ++column) {
        const bool shown = column < static_cast<int>(result.sections.size());
        setWindowText(columnHeaders_[column], shown ? form::sectionWord(result.sections[column], result) : "");
        const auto cells = shown ? form::resultCells(result.sections[column]) : decltype(form::resultCells({})){};
        for (int row = 0; row < form::kResultRowCount; ++row) {
            std::string text = cells[row];
            // A cell is drawn in one face, and the Song faces have no check marks: the verdict
            // cell says 满足 or 不满足 in green or red instead.
            if (row == form::kRowVerdict)
                for (std::string_view mark : {"✔ ", "✘ "})
                    if (text.starts_with(mark)) text.erase(0, mark.size());
            setWindowText(cells_[column][row], text);
        }
    }
    setWindowText(compare_, model_.fourButtons());
    setWindowText(summary_, model_.reviewFigures());
    setWindowText(shear_, model_.shearFigures());
    setWindowText(warnings_, model_.warningsText());
}

std::string ReviewWindow::reportText() const { return model_.reportText(today()); }

void ReviewWindow::exportBook() {
    const report::book::Document book = model_.book(today());
    form_.exportBook(Book{report::book::bookJson(book), report::book::plainText(book)});
}

void ReviewWindow::showReport() {
    if (!model_.result() || model_.isStale()) return;
    if (!report_) {
        const UINT dpi = dpiOf(window_);
        report_ = CreateWindowExW(0, kReportClass, wide(form::kReviewReportTitle).c_str(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, MulDiv(820, static_cast<int>(dpi), 96),
                                  MulDiv(640, static_cast<int>(dpi), 96), window_, nullptr, GetModuleHandleW(nullptr),
                                  nullptr);
        RECT client;
        GetClientRect(report_, &client);
        HWND text = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                        ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                                    0, 0, client.right, client.bottom, report_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReviewReportTextId)),
                                    GetModuleHandleW(nullptr), nullptr);
        SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    setWindowText(GetDlgItem(report_, kReviewReportTextId), reportText());
    ShowWindow(report_, SW_SHOWNORMAL);
    SetForegroundWindow(report_);
}

LRESULT ReviewWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: build(); return 0;
        case WM_TIMER:
            if (wParam == kDebounceTimer) recompute();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam), code = HIWORD(wParam);
            if (id >= kReviewOptionBase && id < kReviewOptionBase + static_cast<int>(options_.size()) &&
                (code == EN_CHANGE || code == CBN_SELCHANGE))
                optionEdited(static_cast<std::size_t>(id - kReviewOptionBase));
            else if (id == kReviewReportId && code == BN_CLICKED)
                showReport();
            else if (id == kReviewExportId && code == BN_CLICKED && model_.result() && !model_.isStale())
                exportBook();
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const HWND control = reinterpret_cast<HWND>(lParam);
            SetBkMode(dc, TRANSPARENT);
            if (control == status_) SetTextColor(dc, model_.isStale() ? RGB(200, 0, 0) : RGB(0, 110, 0));
            if (control == warnings_ && !model_.isStale()) SetTextColor(dc, RGB(170, 90, 0));
            const int id = GetDlgCtrlID(control);
            const int row = (id - kReviewCellBase) / kColumns;
            if (model_.result() && !model_.isStale() && id >= kReviewCellBase && row == form::kRowVerdict) {
                const int column = (id - kReviewCellBase) % kColumns;
                if (column < static_cast<int>(model_.result()->sections.size())) {
                    const bool ok = model_.result()->sections[column].given.ok;
                    SetTextColor(dc, ok ? RGB(0, 110, 0) : RGB(190, 0, 0));
                }
            }
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            place(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE: ShowWindow(window_, SW_HIDE); return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The two diagrams, the wall's top slab at the top edge and its base slab at the bottom edge:
// the pressures (earth and water G, surcharge Q above it) and the moments of the ULS and the
// crack combination with the sections' values.
LRESULT CALLBACK ReviewWindow::diagramProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    auto* review = reinterpret_cast<ReviewWindow*>(GetWindowLongPtrW(GetParent(window), GWLP_USERDATA));
    if (review) review->paintDiagram(window, dc);
    EndPaint(window, &paint);
    return 0;
}

void ReviewWindow::paintDiagram(HWND diagram, HDC dc) {
    RECT client;
    GetClientRect(diagram, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    const bool pressure = diagram == pressure_;
    const UINT dpi = dpiOf(diagram);
    auto px = [dpi](int pixels96) { return MulDiv(pixels96, static_cast<int>(dpi), 96); };
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    drawText(dc, px(4), px(2), pressure ? "侧压力标准值（kN/m²）" : "弯矩（kN·m/m）");
    if (!model_.result() || model_.points().empty()) {
        SelectObject(dc, oldFont);
        return;
    }
    const std::vector<review::DiagramPoint>& points = model_.points();
    const double length = model_.result()->L;
    const RECT area{client.left + px(pressure ? 40 : 10), client.top + px(24), client.right - px(10),
                    client.bottom - px(44)};
    double low = 0, high = 0;
    for (const review::DiagramPoint& p : points) {
        low = std::min({low, pressure ? 0.0 : std::min(p.Muls, p.Msls)});
        high = std::max({high, pressure ? p.eG + p.eQ : std::max(p.Muls, p.Msls)});
    }
    if (high - low < 1e-9) high = low + 1;
    auto xOf = [&](double value) -> int {
        return area.left + static_cast<int>(std::lround((value - low) / (high - low) * (area.right - area.left)));
    };
    auto yOf = [&](double x) -> int {
        return area.top + static_cast<int>(std::lround(x / length * (area.bottom - area.top)));
    };
    // Greyed while the inputs are refused.
    auto tone = [&](COLORREF colour) { return model_.isStale() ? RGB(190, 190, 190) : colour; };
    auto polyline = [&](auto valueOf, COLORREF colour, int width) {
        HPEN pen = CreatePen(PS_SOLID, px(width), tone(colour));
        HGDIOBJ old = SelectObject(dc, pen);
        std::vector<POINT> line;
        for (const review::DiagramPoint& p : points) line.push_back(POINT{xOf(valueOf(p)), yOf(p.x)});
        Polyline(dc, line.data(), static_cast<int>(line.size()));
        SelectObject(dc, old);
        DeleteObject(pen);
    };
    auto fill = [&](auto from, auto to, COLORREF colour) {
        std::vector<POINT> shape;
        for (const review::DiagramPoint& p : points) shape.push_back(POINT{xOf(to(p)), yOf(p.x)});
        for (auto p = points.rbegin(); p != points.rend(); ++p) shape.push_back(POINT{xOf(from(*p)), yOf(p->x)});
        HBRUSH brush = CreateSolidBrush(tone(colour));
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, shape.data(), static_cast<int>(shape.size()));
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    };
    // The wall's axis (value 0) and the slabs.
    HPEN axis = CreatePen(PS_SOLID, px(1), RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, axis);
    MoveToEx(dc, xOf(0), area.top, nullptr);
    LineTo(dc, xOf(0), area.bottom);
    for (int y : {static_cast<int>(area.top), static_cast<int>(area.bottom)}) {
        MoveToEx(dc, area.left - px(6), y, nullptr);
        LineTo(dc, area.right, y);
    }
    SelectObject(dc, oldPen);
    DeleteObject(axis);
    const int line = px(16);
    int legend = area.bottom + px(6);
    if (pressure) {
        fill([](const review::DiagramPoint&) { return 0.0; }, [](const review::DiagramPoint& p) { return p.eG; },
             earthColour());
        fill([](const review::DiagramPoint& p) { return p.eG; },
             [](const review::DiagramPoint& p) { return p.eG + p.eQ; }, surchargeColour());
        drawText(dc, px(2), area.top - px(8), "顶板");
        drawText(dc, px(2), area.bottom - px(8), "底板");
        const review::DiagramPoint& base = points.back();
        SetTextColor(dc, tone(earthColour()));
        drawText(dc, area.left, legend, "土压力＋水压力 G");
        SetTextColor(dc, tone(RGB(150, 110, 0)));
        drawText(dc, area.left, legend + line,
                 "堆载 Q　底：eG＝" + form::fixed(base.eG, 1) + "，eQ＝" + form::fixed(base.eQ, 1));
    } else {
        polyline([](const review::DiagramPoint& p) { return p.Muls; }, ulsColour(), 2);
        polyline([](const review::DiagramPoint& p) { return p.Msls; }, slsColour(), 1);
        for (const review::Section& s : model_.result()->sections) {
            SetTextColor(dc, tone(RGB(0, 0, 0)));
            const int y =
                std::clamp(yOf(s.x) - px(8), static_cast<int>(area.top), static_cast<int>(area.bottom) - px(16));
            const std::wstring label = wide(form::sectionWord(s, *model_.result()) + " M＝" + form::fixed(s.Muls, 1));
            SIZE size{};
            GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
            const int x = std::min(xOf(0) + px(4), static_cast<int>(client.right) - px(2) - static_cast<int>(size.cx));
            TextOutW(dc, x, y, label.c_str(), static_cast<int>(label.size()));
        }
        SetTextColor(dc, tone(ulsColour()));
        drawText(dc, area.left, legend, "基本组合");
        SetTextColor(dc, tone(slsColour()));
        drawText(
            dc, area.left, legend + line,
            model_.result()->edition->crackMoment == review::CrackMoment::Characteristic ? "标准组合" : "准永久组合");
    }
    SelectObject(dc, oldFont);
}

}  // namespace wallcalc::win32
