// From the start of the process to the first paint of a window, and the memory that takes:
// a whole-process benchmark, measured from outside.
//
//   wallcalc-window-start bare|form|review
//
// bare    a plain QWidget of the main window's size: what any Qt program pays for a window
// form    the main window as the program opens it (app/main.cpp's set-up, then Form1)
// review  the review window as 现行规范复核 opens it (the same set-up, a new wall), on its own: in
//         the program the main window is already open when it is pressed
//
// The program quits once the window has taken its first Paint event and the event loop has come
// round again (the paint is then on the screen). It needs a display: a running X server (Xvfb)
// or QT_QPA_PLATFORM=offscreen. Start a server once rather than wrapping every run in
// xvfb-run, whose own start would swamp the figures:
//
//   Xvfb :77 -screen 0 1720x900x24 &
//   DISPLAY=:77 /usr/bin/time -v build/bench/wallcalc-window-start bare
//   DISPLAY=:77 /usr/bin/time -v build/bench/wallcalc-window-start form
//
// and compare "Elapsed (wall clock) time" and "Maximum resident set size" of a dozen or more
// runs each, bare and form (or review) in turn, by their medians.
//
// What the main window's peak holds beyond the bare window's: about 12 MB are pages of the three
// CJK font files (AR PL UMing, AR PL UKai, Noto Serif CJK Bold) that FreeType maps read-only and
// touches for the text on the screen (UKai 3.8 MB for the four characters of the verdict: its
// glyph outlines read all over, which looks like the auto-hinter's survey of its reference
// glyphs). They are the page cache, shared with every program using those fonts and
// never copied, but the resident set counts every page mapped in, and the kernel maps 64 KiB
// around each page touched. The rest is Qt's and FreeType's code and a few MB of heap.
// `valgrind --tool=callgrind` counts instructions where a shared machine's timings scatter.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "form/layout.h"
#include "form/wall_document.h"
#include "office/office.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/reviewwindow.h"

namespace {

// Quits the application once the watched window has been painted.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(QWidget* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    const char* mode = argc == 2 ? argv[1] : "";
    const bool bare = std::strcmp(mode, "bare") == 0, form = std::strcmp(mode, "form") == 0,
               review = std::strcmp(mode, "review") == 0;
    if (!bare && !form && !review) {
        std::fprintf(stderr, "usage: wallcalc-window-start bare|form|review\n");
        return 2;
    }

    QApplication app(argc, argv);
    wallcalc::form::WallDocument document;  // outlives the review window, which follows it
    std::unique_ptr<QWidget> window;
    std::unique_ptr<FirstPaint> watch;
    if (bare) {
        window = std::make_unique<QWidget>();
        // Form1's size: the client area of the layout and the menu bar above it (17 pixels in
        // the program's 9 pt Song face).
        window->resize(wallcalc::form::pixels(wallcalc::form::kClientWidth),
                       wallcalc::form::pixels(wallcalc::form::kClientHeight) + 17);
        watch = std::make_unique<FirstPaint>(window.get());
        window->show();
    } else if (form) {
        wallcalc::ui::setUpApplication(app);
        window = std::make_unique<wallcalc::ui::Form1>(wallcalc::makePlatformOffice());
        watch = std::make_unique<FirstPaint>(window.get());
        window->show();
    } else {
        wallcalc::ui::setUpApplication(app);
        window = std::make_unique<wallcalc::ui::ReviewWindow>(
            document, [](const wallcalc::Book&) { return false; }, nullptr);
        watch = std::make_unique<FirstPaint>(window.get());
        window->show();
    }
    return app.exec();
}
