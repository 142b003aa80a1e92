#include "win32/form1.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>
#include <shlwapi.h>
#include <wincodec.h>
// clang-format on

#include <algorithm>
#include <exception>
#include <mutex>
#include <span>
#include <thread>
#include <utility>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/field_read.h"
#include "form/layout.h"
#include "form/texts.h"
#include "office/export_fault.h"
#include "report/compose.h"
#include "review/review.h"
#include "win32/controls.h"
#include "win32/ids.h"
#include "win32/layout.h"
#include "win32/resource.h"
#include "win32/reviewwindow.h"

namespace wallcalc::win32 {
namespace {

using form::kCredit;
using form::kExportNote;
using form::kProgramTitle;

constexpr const wchar_t* kPictureClass = L"WallcalcPicture";
constexpr UINT kWorkDone = WM_APP + 1;
constexpr UINT kFocusField = WM_APP + 2;
constexpr UINT_PTR kTitleTimer = 1;

// A colour with its top bit set names a system colour by its index, as COLOR_WINDOW.
COLORREF resolve(COLORREF colour) { return (colour & 0x80000000u) ? GetSysColor(colour & 0xFFu) : colour; }

// The diagram: a PNG among the resources, decoded by the system's imaging component.
HBITMAP loadDiagram(HINSTANCE instance) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_DIAGRAM), MAKEINTRESOURCEW(10));
    if (!found) return nullptr;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, found)));
    const UINT size = SizeofResource(instance, found);
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return nullptr;
    HBITMAP bitmap = nullptr;
    IStream* stream = SHCreateMemStream(data, size);
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT width = 0, height = 0;
    if (stream &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnLoad, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = static_cast<LONG>(width);
        info.bmiHeader.biHeight = -static_cast<LONG>(height);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)))) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (stream) stream->Release();
    factory->Release();
    return bitmap;
}

// Picture1: the diagram from its top-left corner, at the window's scale (its 512 × 384 pixels
// are drawn for 96 dpi). It takes the focus, as the other tab stops do.
LRESULT CALLBACK pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            if (auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
                BITMAP info;
                GetObjectW(bitmap, sizeof info, &info);
                HDC source = CreateCompatibleDC(dc);
                HGDIOBJ old = SelectObject(source, bitmap);
                const UINT dpi = dpiOf(window);
                SetStretchBltMode(dc, HALFTONE);
                StretchBlt(dc, 0, 0, MulDiv(info.bmWidth, static_cast<int>(dpi), 96),
                           MulDiv(info.bmHeight, static_cast<int>(dpi), 96), source, 0, 0, info.bmWidth, info.bmHeight,
                           SRCCOPY);
                SelectObject(source, old);
                DeleteDC(source);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN: SetFocus(window); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The report box holds the report's private-use symbols; the program's own font draws them,
// everything else stays in the box's face.
// The text of a rich edit box; with GT_USECRLF its line ends are CR LF, else the box's own (one
// character a line end, as its positions count them).
std::wstring richText(HWND box, DWORD flags) {
    const int length = static_cast<int>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) * 2 + 2, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = flags;
    get.codepage = 1200;
    text.resize(static_cast<std::size_t>(
        SendMessageW(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void markSymbols(HWND box) {
    const std::wstring text = richText(box, GT_DEFAULT);
    CHARFORMAT2W symbols{};
    symbols.cbSize = sizeof symbols;
    symbols.dwMask = CFM_FACE | CFM_CHARSET;
    symbols.bCharSet = DEFAULT_CHARSET;
    wcscpy(symbols.szFaceName, L"Wallcalc Symbols");
    CHARRANGE keep;
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&keep));
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] < 0xE000 || text[i] > 0xF8FF) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] >= 0xE000 && text[end] <= 0xF8FF) ++end;
        CHARRANGE run{static_cast<LONG>(i), static_cast<LONG>(end)};
        SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&run));
        SendMessageW(box, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&symbols));
        i = end;
    }
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&keep));
}

// The dialogs' filter from the window's table of file types: "name (pattern)", NUL, pattern, NUL,
// and a second NUL at the end. The first type's extension is the one a bare name gets.
std::wstring filterOf(std::span<const form::FileType> types) {
    std::wstring filter;
    for (const form::FileType& type : types) {
        filter += wide(type.name) + L" (" + wide(type.pattern) + L")";
        filter += L'\0';
        filter += wide(type.pattern);
        filter += L'\0';
    }
    return filter + L'\0';
}

std::wstring fileDialog(HWND owner, bool save, const char* title, std::span<const form::FileType> types,
                        const std::wstring& suggestion) {
    const std::wstring filter = filterOf(types), caption = wide(title);
    const std::wstring extension = wide(std::string_view(types.front().pattern).substr(2));
    wchar_t path[MAX_PATH * 4] = {};
    wcsncpy(path, suggestion.c_str(), MAX_PATH * 4 - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH * 4;
    dialog.lpstrTitle = caption.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? std::wstring(path) : std::wstring();
}

// The busy note of a press that waits on a worker thread: closes when the work is done, or at
// once on 取消, which tells the exporter to stop.
struct BusyState {
    std::mutex mutex;
    HWND note = nullptr;
    bool done = false;
    form::Worker* worker = nullptr;
    std::wstring text;
};

INT_PTR CALLBACK busyProcedure(HWND note, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<BusyState*>(GetWindowLongPtrW(note, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<BusyState*>(lParam);
            SetWindowLongPtrW(note, DWLP_USER, lParam);
            SetDlgItemTextW(note, IDC_BUSY_TEXT, state->text.c_str());
            SetWindowTextW(note, wide(kProgramTitle).c_str());
            std::lock_guard lock(state->mutex);
            state->note = note;
            if (state->done) PostMessageW(note, kWorkDone, 0, 0);
            return TRUE;
        }
        case kWorkDone: EndDialog(note, 0); return TRUE;
        case WM_COMMAND:
            // 取消 tells the work to stop and closes the note at once; Escape does the same.
            if (LOWORD(wParam) == IDCANCEL && state) {
                state->worker->cancel();
                EndDialog(note, 1);
            }
            return TRUE;
    }
    return FALSE;
}

Form1* formOf(HWND window) { return reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

}  // namespace

bool Form1::registerClass(HINSTANCE instance) {
    return registerWindowClass(instance, kForm1Class, procedure, COLOR_BTNFACE, IDI_WALLCALC) &&
           registerWindowClass(instance, kPictureClass, pictureProcedure, COLOR_BTNFACE) &&
           ReviewWindow::registerClass(instance);
}

Form1::Form1(std::unique_ptr<ReportExporter> exporter) : exporter_(std::move(exporter)) {
    // WALLCALC_END_AFTER_FIRST_PAINT set: the start-up is being timed.
    endAfterFirstPaint_ = GetEnvironmentVariableW(L"WALLCALC_END_AFTER_FIRST_PAINT", nullptr, 0) > 0;
}

Form1* Form1::create(HINSTANCE instance, std::unique_ptr<ReportExporter> exporter) {
    auto* form = new Form1(std::move(exporter));
    HWND window = CreateWindowExW(0, kForm1Class, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                                  nullptr, nullptr, instance, form);
    if (!window) {
        delete form;
        return nullptr;
    }
    return form;
}

HWND Form1::reviewWindow() const { return review_ ? review_->window() : nullptr; }

LRESULT CALLBACK Form1::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    if (Form1* form = formOf(window)) return form->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: build(); return 0;
        case WM_COMMAND: command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
        case WM_CTLCOLOREDIT: return colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), true);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: return colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), false);
        case WM_DPICHANGED: {
            // The monitor changed: the window takes the size the system suggests, and every
            // control its place and face at the new DPI.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            makeFonts(HIWORD(wParam));
            place(HIWORD(wParam));
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(window_, nullptr, TRUE);
            return 0;
        }
        case WM_ACTIVATE:
            // The focus comes back to the control that had it.
            if (LOWORD(wParam) == WA_INACTIVE)
                lastFocus_ = GetFocus();
            else if (lastFocus_ && IsWindow(lastFocus_))
                SetFocus(lastFocus_);
            return 0;
        case WM_TIMER:
            if (wParam == kTitleTimer) {
                KillTimer(window_, kTitleTimer);
                document_.setText(Field::Combo1, controlText(Field::Combo1));
            }
            return 0;
        case kFocusField: focusField(static_cast<Field>(wParam)); return 0;
        case WM_PAINT:
            if (endAfterFirstPaint_) {
                // Timing the start: every control painted once, then the program ends.
                DefWindowProcW(window_, message, wParam, lParam);
                RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                PostQuitMessage(0);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (!runner_.isRunning() && settleChanges()) DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            if (review_) review_.reset();
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::build() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadLibraryW(L"msftedit.dll");
    diagram_ = loadDiagram(instance);
    specs_ = form1Controls();
    const UINT dpi = dpiOf(window_);
    makeFonts(dpi);

    // Focus order is the order of creation: the tab stops by their index first; labels and
    // frames after them, the frames at the bottom so that they are drawn beneath the rest.
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& spec : specs_) order.push_back(&spec);
    auto rank = [](const ControlSpec* spec) {
        return spec->kind == ControlSpec::Kind::Frame ? 2 : spec->tabIndex > 0 ? 0 : 1;
    };
    std::stable_sort(order.begin(), order.end(), [&](const ControlSpec* a, const ControlSpec* b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a->tabIndex < b->tabIndex;
    });
    for (const ControlSpec* spec : order) {
        const std::wstring caption = wide(spec->caption);
        // Labels are transparent and may reach under their neighbours (a row's caption under
        // the next caption), so they do not clip their siblings: every caption shows whole.
        const bool label = spec->kind == ControlSpec::Kind::Label;
        DWORD style = WS_CHILD | (label ? 0 : WS_CLIPSIBLINGS) | (spec->hidden ? 0 : WS_VISIBLE) |
                      (spec->tabIndex > 0 ? WS_TABSTOP : 0);
        DWORD extended = 0;
        const wchar_t* windowClass = L"STATIC";
        switch (spec->kind) {
            case ControlSpec::Kind::Frame:
                windowClass = L"BUTTON";
                style |= BS_GROUPBOX;
                break;
            case ControlSpec::Kind::Label:
                style |= spec->look == ControlSpec::Look::Note ? SS_LEFT : SS_LEFTNOWORDWRAP;
                style |= SS_NOPREFIX;
                break;
            case ControlSpec::Kind::Edit:
                windowClass = L"EDIT";
                style |= ES_AUTOHSCROLL;
                extended = WS_EX_CLIENTEDGE;
                break;
            case ControlSpec::Kind::Combo:
                windowClass = L"COMBOBOX";
                style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
                break;
            case ControlSpec::Kind::Report:
                windowClass = MSFTEDIT_CLASS;
                style |= ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | WS_HSCROLL | WS_VSCROLL |
                         ES_NOHIDESEL;
                extended = WS_EX_CLIENTEDGE;
                break;
            case ControlSpec::Kind::Button:
                windowClass = L"BUTTON";
                style |= BS_PUSHBUTTON;
                break;
            case ControlSpec::Kind::Picture:
                windowClass = kPictureClass;
                extended = WS_EX_CLIENTEDGE;
                break;
        }
        HWND control = CreateWindowExW(extended, windowClass, caption.c_str(), style, 0, 0, 10, 10, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec->id)), instance, nullptr);
        const int key = spec->kind == ControlSpec::Kind::Frame ? -spec->id : spec->id;
        controls_[key] = control;
        if (spec->kind == ControlSpec::Kind::Picture)
            SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(diagram_));
        if (spec->kind == ControlSpec::Kind::Combo) {
            for (const wchar_t* item : {L"1", L"2", L"3"}) {
                const LRESULT at = SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
                SendMessageW(control, CB_SETITEMDATA, static_cast<WPARAM>(at), 0);
            }
        }
        if (spec->kind == ControlSpec::Kind::Report) {
            // No wrapping: a line wider than the box scrolls sideways; no length limit.
            SendMessageW(control, EM_SETTARGETDEVICE, 0, 1);
            SendMessageW(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
            SendMessageW(control, EM_SETEVENTMASK, 0, ENM_CHANGE);
        }
        if (spec->kind == ControlSpec::Kind::Edit) SendMessageW(control, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    }
    for (const ControlSpec& spec : specs_)
        if (spec.kind == ControlSpec::Kind::Frame)
            SetWindowPos(controls_[-spec.id], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (Field field : allFields()) {
        fields_[static_cast<int>(field)] = controls_[fieldId(field)];
        showText(field, document_.text(field));
    }
    document_.observe([this](form::WallDocument::Change change) { follow(change); });
    place(dpi);
    buildMenu();

    // The initial client area, smaller than the layout: the report box and its buttons come
    // into view when the window is enlarged.
    RECT frame{0, 0, pixels(form::kClientWidth, dpi), pixels(form::kClientHeight, dpi)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    updateTitle();
    // The focus starts on the picture.
    lastFocus_ = controls_[kPictureId];
    SetFocus(lastFocus_);
}

void Form1::makeFonts(UINT dpi) {
    for (HFONT* font : {&plain_, &raised_, &banner_, &kai_, &report_})
        if (*font) DeleteObject(std::exchange(*font, nullptr));
    auto face = [&](const form::Font& font) {
        return makeFont(firstInstalled(form::faceCandidates(font.family, font.bold)), font.points, dpi, font.bold);
    };
    plain_ = face(form::kDefaultFont);
    raised_ = face(form::kRaisedFont);
    banner_ = face(form::kBannerFont);
    kai_ = face(form::kVerdictFont);
    report_ = face(form::kDefaultFont);
}

HFONT Form1::fontFor(ControlSpec::Look look) const {
    switch (look) {
        case ControlSpec::Look::Raised: return raised_;
        case ControlSpec::Look::Banner: return banner_;
        case ControlSpec::Look::Kai: return kai_;
        default: return plain_;
    }
}

void Form1::place(UINT dpi) {
    std::map<int, POINT> origins{{0, POINT{0, 0}}};
    for (const ControlSpec& spec : specs_)
        if (spec.kind == ControlSpec::Kind::Frame) origins[spec.id] = POINT{spec.left, spec.top};
    HDWP positions = BeginDeferWindowPos(static_cast<int>(specs_.size()));
    for (const ControlSpec& spec : specs_) {
        HWND control = controls_[spec.kind == ControlSpec::Kind::Frame ? -spec.id : spec.id];
        const POINT origin = spec.kind == ControlSpec::Kind::Frame ? POINT{0, 0} : origins[spec.container];
        RECT box = twipsRect(origin.x + spec.left, origin.y + spec.top, spec.width, spec.height, dpi);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(spec.look)), FALSE);
        if (spec.kind == ControlSpec::Kind::Label && spec.look != ControlSpec::Look::Note) {
            // A one-line caption is never cut off: where the face runs wider or taller than
            // the box, the box grows to the right and downwards.
            HDC dc = GetDC(control);
            HGDIOBJ old = SelectObject(dc, fontFor(spec.look));
            SIZE size{};
            const std::wstring caption = wide(spec.caption);
            GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
            SelectObject(dc, old);
            ReleaseDC(control, dc);
            box.right = std::max(box.right, box.left + size.cx);
            box.bottom = std::max(box.bottom, box.top + size.cy);
        }
        if (spec.kind == ControlSpec::Kind::Combo) box.bottom = box.top + pixels(spec.height + 1500, dpi);
        positions = DeferWindowPos(positions, control, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EndDeferWindowPos(positions);
    if (HWND report = fields_[static_cast<int>(Field::Text29)]) {
        SendMessageW(report, WM_SETFONT, reinterpret_cast<WPARAM>(report_), TRUE);
        markSymbols(report);
    }
}

void Form1::buildMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    std::vector<ACCEL> keys;
    for (const form::MenuItem& item : form::fileMenu()) {
        if (item.separatorBefore) AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        const WORD id = static_cast<WORD>(menuIdOf(item.command));
        std::string text = item.text;
        switch (item.shortcut) {
            case form::Shortcut::None: break;
            case form::Shortcut::New:
                text += "\tCtrl+N";
                keys.push_back({FCONTROL | FVIRTKEY, 'N', id});
                break;
            case form::Shortcut::Open:
                text += "\tCtrl+O";
                keys.push_back({FCONTROL | FVIRTKEY, 'O', id});
                break;
            case form::Shortcut::Save:
                text += "\tCtrl+S";
                keys.push_back({FCONTROL | FVIRTKEY, 'S', id});
                break;
            case form::Shortcut::SaveAs:
                text += "\tCtrl+Shift+S";
                keys.push_back({FCONTROL | FSHIFT | FVIRTKEY, 'S', id});
                break;
        }
        AppendMenuW(file, MF_STRING, id, wide(text).c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), wide(form::kFileMenu).c_str());
    SetMenu(window_, bar);
    accelerators_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

LRESULT Form1::colour(HDC dc, HWND control, bool edit) {
    // A combo box's edit asks through the combo box.
    const int id = GetDlgCtrlID(GetParent(control) == window_ ? control : GetParent(control));
    const auto spec = std::find_if(specs_.begin(), specs_.end(), [&](const ControlSpec& s) {
        return s.id == id && s.kind != ControlSpec::Kind::Frame;
    });
    if (spec != specs_.end() && !edit &&
        (spec->kind == ControlSpec::Kind::Label || spec->kind == ControlSpec::Kind::Frame)) {
        // Captions on the window's face: text only, no box of their own.
        SetBkMode(dc, TRANSPARENT);
        if (spec->ink) SetTextColor(dc, resolve(*spec->ink));
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    COLORREF paper = edit ? GetSysColor(COLOR_WINDOW) : face;
    if (spec != specs_.end()) {
        ControlSpec look = *spec;
        // A field is drawn for what it holds: a result that is not current is greyed.
        for (const form::FieldSpec& field : form::fieldSpecs())
            if (fieldId(field.field) == spec->id) {
                const form::FieldLook now = form::fieldLook(field, document_.fields().isCurrent(field.field));
                setFieldColours(look, now.paper, now.ink);
            }
        if (look.paper) paper = resolve(*look.paper);
        if (look.ink) SetTextColor(dc, resolve(*look.ink));
    }
    SetBkColor(dc, paper);
    auto& brush = brushes_[paper];
    if (!brush) brush = CreateSolidBrush(paper);
    return reinterpret_cast<LRESULT>(brush);
}

std::string Form1::controlText(Field field) const {
    HWND control = fields_[static_cast<int>(field)];
    if (field != Field::Text29) return windowText(control);
    // The report box with CR LF line ends, as the actions write it.
    return utf8(richText(control, GT_USECRLF));
}

void Form1::showText(Field field, const std::string& text) {
    HWND control = fields_[static_cast<int>(field)];
    const bool wasSyncing = std::exchange(syncing_, true);
    setWindowText(control, text);
    if (field == Field::Text29) markSymbols(control);
    syncing_ = wasSyncing;
}

// Every control's text into the document before it is used: a text set without a change notice
// (a combo box's text set by a message) counts as much as a typed one.
void Form1::pullFields() {
    // Only what differs from the document was typed: setting a result's text makes it the
    // engineer's own, so the others keep whether they are current.
    FieldSet fields = document_.fields();
    for (Field field : allFields()) {
        const std::string text = controlText(field);
        if (text != fields.text(field)) fields.setText(field, text);
    }
    document_.setFields(fields);
}

void Form1::follow(form::WallDocument::Change change) {
    using Change = form::WallDocument::Change;
    if (change == Change::Fields)
        for (Field field : allFields()) {
            if (controlText(field) != document_.text(field)) showText(field, document_.text(field));
            // Whether it is current may have changed with another field: draw it again.
            InvalidateRect(fields_[static_cast<int>(field)], nullptr, TRUE);
        }
    updateTitle();
    if (change == Change::Options && review_) review_->optionsChanged();
    if (change == Change::Fields && review_) review_->inputsChanged();
}

void Form1::updateTitle() { setWindowText(window_, document_.title()); }

void Form1::command(int id, int code, HWND control) {
    if (control) {
        // A typed change of a field goes into the document (the title follows it).
        if ((code == EN_CHANGE || code == CBN_EDITCHANGE) && !syncing_) {
            for (Field field : allFields())
                if (fields_[static_cast<int>(field)] == control) document_.setText(field, controlText(field));
        }
        // A pick from the list changes the combo box's text only after this notice.
        if (code == CBN_SELCHANGE) SetTimer(window_, kTitleTimer, 0, nullptr);
        if (code != BN_CLICKED) return;
    }
    if (id == commandId(1)) {
        run(strengthCalculation);
    } else if (id == commandId(2)) {
        run(crackWidthCheck);
    } else if (id == commandId(4)) {
        run(composeReport);
    } else if (id == commandId(3)) {
        if (reportIsCurrent()) exportDocument(document_.text(Field::Text29));
    } else if (id == commandId(5)) {
        openReview();
    } else if (id == IDM_NEW) {
        newWall();
    } else if (id == IDM_OPEN) {
        openWallFile();
    } else if (id == IDM_SAVE) {
        save();
    } else if (id == IDM_SAVE_AS) {
        saveAs();
    } else if (id == IDM_SAVE_REPORT) {
        saveReportAs();
    }
}

bool Form1::run(const Action& action) {
    if (runner_.isRunning()) return false;
    pullFields();
    const form::Runner::Outcome outcome = runner_.run(action);
    if (outcome.ending == form::Runner::Ending::Faulted) showFault(*outcome.fault);
    return outcome.completed();
}

bool Form1::runOnWorker(const Action& action) {
    if (runner_.isRunning()) return false;
    pullFields();
    ReportExporter* exporter = exporter_.get();
    const form::Runner::Outcome outcome = runner_.runOnWorker(
        action,
        [exporter] {
            if (exporter) exporter->cancel();
        },
        [this](form::Worker& worker) {
            BusyState state;
            state.worker = &worker;
            state.text = wide(kExportNote);
            worker.start([&state] {
                std::lock_guard lock(state.mutex);
                state.done = true;
                if (state.note) PostMessageW(state.note, kWorkDone, 0, 0);
            });
            DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BUSY), window_, busyProcedure,
                            reinterpret_cast<LPARAM>(&state));
            // Nothing is posted to the note once it is gone: the worker ends first.
            worker.wait();
        });
    if (outcome.ending == form::Runner::Ending::Faulted) showFault(*outcome.fault);
    return outcome.completed();
}

void Form1::showFault(const Fault& fault) {
    const form::FaultNotice notice = form::faultNotice(fault);
    errorBox(window_, kProgramTitle, notice.text);
    // The cursor goes to the field to mend, its text selected so that typing replaces it. Posted:
    // the focus moves once the box has given the activation back to the window, which would
    // otherwise put the focus back onto the button pressed.
    if (notice.focus) PostMessageW(window_, kFocusField, static_cast<WPARAM>(*notice.focus), 0);
}

void Form1::focusField(Field field) {
    HWND control = fields_[static_cast<int>(field)];
    if (!control || !IsWindowVisible(control)) return;
    SetFocus(control);
    lastFocus_ = control;
    if (field == Field::Combo1)
        SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageW(control, EM_SETSEL, 0, -1);
}

bool Form1::exportDocument(const std::string& text) {
    ReportExporter* exporter = exporter_.get();
    // The word processor can take many seconds to answer; the window keeps painting meanwhile.
    return runOnWorker([exporter, text](FieldSet&) {
        if (!exporter) throw export_fault::cannotCreate("本程序没有配置文字处理软件的接口");
        exporter->exportReport(text);
    });
}

bool Form1::exportBook(const Book& book) {
    ReportExporter* exporter = exporter_.get();
    return runOnWorker([exporter, book](FieldSet&) {
        if (!exporter) throw export_fault::cannotCreate("本程序没有配置文字处理软件的接口");
        exporter->exportBook(book);
    });
}

// The 文件 menu.

bool Form1::settleChanges() {
    pullFields();
    if (!document_.isModified()) return true;
    switch (askToSave(window_, kProgramTitle, form::askToSaveText(document_))) {
        case IDOK: return save();
        case IDC_ASK_DISCARD: return true;
        default: return false;
    }
}

void Form1::newWall() {
    if (runner_.isRunning() || !settleChanges()) return;
    document_.newWall();
}

void Form1::openWallFile() {
    if (runner_.isRunning() || !settleChanges()) return;
    const std::wstring path = fileDialog(window_, false, form::kOpenWallTitle, form::kWallFileTypes, {});
    if (!path.empty()) openWall(path);
}

bool Form1::openWall(const std::filesystem::path& path) {
    if (runner_.isRunning()) return false;
    try {
        document_.open(utf8(path.wstring()));
        return true;
    } catch (const wallfile::WallFileError& error) {
        errorBox(window_, kProgramTitle, error.what());
        return false;
    }
}

bool Form1::saveWall(const std::filesystem::path& path) {
    pullFields();
    if (const std::optional<std::string> why = document_.whyUnsavable()) {
        errorBox(window_, kProgramTitle, *why);
        return false;
    }
    try {
        document_.save(utf8(path.wstring()));
        return true;
    } catch (const std::exception& error) {
        errorBox(window_, kProgramTitle, error.what());
        return false;
    }
}

bool Form1::save() { return document_.path().empty() ? saveAs() : saveWall(wide(document_.path())); }

bool Form1::saveAs() {
    pullFields();
    if (const std::optional<std::string> why = document_.whyUnsavable()) {
        errorBox(window_, kProgramTitle, *why);
        return false;
    }
    const std::wstring path =
        fileDialog(window_, true, form::kSaveWallTitle, form::kWallFileTypes, wide(form::wallSuggestion(document_)));
    return !path.empty() && saveWall(path);
}

// Only a report made from the inputs now shown, or typed by the engineer, goes out.
bool Form1::reportIsCurrent() {
    return run([](FieldSet& fields) { requireCurrent(fields, Field::Text29); });
}

void Form1::saveReportAs() {
    if (!reportIsCurrent()) return;
    const std::wstring chosen = fileDialog(window_, true, form::kSaveReportTitle, form::kDocumentFileTypes,
                                           wide(form::reportSuggestion(document_)));
    if (chosen.empty()) return;
    std::filesystem::path path = chosen;
    if (!documentFormatOf(path)) path += L".pdf";
    if (!saver_) saver_ = makePlatformOffice();
    DocumentSaver* saver = saver_.get();
    // As 计算书保存: the office may take seconds, the window keeps painting, a fault is shown.
    runOnWorker([saver, path](FieldSet& fields) {
        saver->saveReport(fields.text(Field::Text29), path, *documentFormatOf(path));
    });
}

void Form1::openReview() {
    if (!review_) review_ = std::make_unique<ReviewWindow>(*this);
    review_->show();
}

int runMessageLoop(Form1& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND review = form.reviewWindow();
        if (form.accelerators_ && TranslateAcceleratorW(form.window(), form.accelerators_, &message)) continue;
        // Tab moves on from every control of Form1, the report box included (a rich edit box
        // would take the Tab as text).
        if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetParent(message.hwnd) == form.window()) {
            const bool back = GetKeyState(VK_SHIFT) < 0;
            SetFocus(GetNextDlgTabItem(form.window(), message.hwnd, back));
            continue;
        }
        if (review && IsDialogMessageW(review, &message)) continue;
        if (IsDialogMessageW(form.window(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void loadSymbolFont(HINSTANCE instance) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_SYMBOL_FONT), MAKEINTRESOURCEW(10));
    if (!found) return;
    void* data = LockResource(LoadResource(instance, found));
    DWORD installed = 0;
    AddFontMemResourceEx(data, SizeofResource(instance, found), nullptr, &installed);
}

}  // namespace wallcalc::win32
