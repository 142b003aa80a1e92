#pragma once
// Form1 on Windows: native controls at their twip positions, scaled by the DPI of the monitor
// the window stands on; the 文件 menu; the presses run through the one runner of the model.

#include <windows.h>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/action.h"
#include "core/fault.h"
#include "core/fields.h"
#include "form/runner.h"
#include "form/wall_document.h"
#include "office/office.h"

namespace wallcalc::win32 {

class ReviewWindow;

// One control of a window as the view places it: where (twips, in its container, frame 0 being
// the window), how it looks, and its tab index (0: takes no focus).
struct ControlSpec {
    enum class Kind { Frame, Label, Edit, Combo, Report, Button, Picture } kind;
    int id = 0;  // the control identifier (ids.h); frames: their number
    int container = 0;
    std::string caption;
    int left = 0, top = 0, width = 0, height = 0;
    std::optional<COLORREF> paper, ink;
    enum class Look { Plain, Raised, Banner, Kai, Note } look = Look::Plain;
    int tabIndex = 0;
    bool hidden = false;
};

class Form1 {
public:
    static bool registerClass(HINSTANCE instance);
    // Makes the window (not yet shown).
    static Form1* create(HINSTANCE instance, std::unique_ptr<ReportExporter> exporter);

    HWND window() const { return window_; }
    // The review window while it is open, for the message loop's keyboard handling.
    HWND reviewWindow() const;

    // The wall shown: both windows are views of it.
    form::WallDocument& document() { return document_; }
    bool openWall(const std::filesystem::path& path);
    // Hands `text` to the word processor as 计算书保存 hands the report box.
    bool exportDocument(const std::string& text);
    // Hands the book to the word processor the same way (复核计算书保存).
    bool exportBook(const Book& book);

private:
    explicit Form1(std::unique_ptr<ReportExporter> exporter);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void build();
    void place(UINT dpi);
    void makeFonts(UINT dpi);
    HFONT fontFor(ControlSpec::Look look) const;
    void buildMenu();
    LRESULT colour(HDC dc, HWND control, bool edit);
    void command(int id, int code, HWND control);

    // The controls and the document: a control's text goes into the document as it changes; the
    // document's changes come back into the controls that differ.
    std::string controlText(Field field) const;
    void showText(Field field, const std::string& text);
    void pullFields();
    void follow(form::WallDocument::Change change);

    bool reportIsCurrent();
    bool run(const Action& action);
    bool runOnWorker(const Action& action);
    void showFault(const Fault& fault);
    void focusField(Field field);

    // The 文件 menu.
    void updateTitle();
    bool settleChanges();
    void newWall();
    void openWallFile();
    bool save();
    bool saveAs();
    bool saveWall(const std::filesystem::path& path);
    void saveReportAs();
    void openReview();

    HWND window_ = nullptr;
    std::unique_ptr<ReportExporter> exporter_;
    std::unique_ptr<DocumentSaver> saver_;
    std::vector<ControlSpec> specs_;
    std::map<int, HWND> controls_;  // by control identifier; frames by -number
    std::array<HWND, kFieldCount> fields_{};
    HFONT plain_ = nullptr, raised_ = nullptr, banner_ = nullptr, kai_ = nullptr, report_ = nullptr;
    std::map<COLORREF, HBRUSH> brushes_;
    HBITMAP diagram_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool syncing_ = false;  // the controls are being set from the document
    bool endAfterFirstPaint_ = false;
    form::WallDocument document_;
    form::Runner runner_{document_};
    std::unique_ptr<ReviewWindow> review_;

    friend int runMessageLoop(Form1& form);
};

// The message loop of the program: Tab and the accelerators of Form1 and the review window.
int runMessageLoop(Form1& form);

// The program's private symbol font, loaded from its resources for this process only.
void loadSymbolFont(HINSTANCE instance);

}  // namespace wallcalc::win32
