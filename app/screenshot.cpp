// Opens the window at the size of the screen, presses the buttons named on the command line in
// turn (1 强度计算, 2 裂缝计算, 4 生成计算书), and writes a picture of the screen.
//
//   wallcalc-screenshot OUT.png [boxes] [slow] [review] [FILE.wall] [NAME=TEXT ...] [1|2|3|4 ...]
//
// FILE.wall is opened first, with its review options. NAME=TEXT sets a field's text before the
// presses ("Text10=C30").
// Error boxes are written to the standard error stream instead of being shown, unless "boxes"
// is given: then the picture shows the box a failing press leaves open. With "slow", 计算书保存
// takes a few seconds and hands the report nowhere, so the note shown meanwhile can be seen.
// With "review", the window keeps its own size (enlarged to show its buttons) and the review
// window (现行规范复核) stands beside it.

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <thread>

#include "office/office.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/messagebox.h"
#include "ui/reviewwindow.h"

namespace {
class SlowExporter final : public wallcalc::ReportExporter {
public:
    void exportReport(const std::string&) override { std::this_thread::sleep_for(std::chrono::seconds(3)); }
};
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(
            stderr,
            "usage: wallcalc-screenshot OUT.png [boxes] [slow] [review] [FILE.wall] [NAME=TEXT ...] [1|2|3|4 ...]\n");
        return 2;
    }
    const QString output = arguments.at(1);
    QStringList presses = arguments.mid(2);
    const bool showBoxes = presses.removeAll(QStringLiteral("boxes")) > 0;
    const bool slowExport = presses.removeAll(QStringLiteral("slow")) > 0;
    const bool review = presses.removeAll(QStringLiteral("review")) > 0;

    wallcalc::ui::setUpApplication(app);
    if (!showBoxes) {
        wallcalc::ui::MessageBox::setInterceptor([](const wallcalc::ui::MessageBox::Shown& box) {
            std::fprintf(stderr, "error box: %s\n", qUtf8Printable(box.text));
        });
    }

    std::unique_ptr<wallcalc::ReportExporter> exporter;
    if (slowExport)
        exporter = std::make_unique<SlowExporter>();
    else
        exporter = wallcalc::makePlatformOffice();
    wallcalc::ui::Form1 form(std::move(exporter));
    if (review) {
        // Tall enough for the bottom row of buttons, where 现行规范复核 stands, below the menu bar.
        form.setGeometry(0, 0, form.width(), 720 + form.height() - form.clientArea()->height());
        form.show();
    } else {
        // Without a window manager nothing maximises the window, so give it the screen's size.
        form.setGeometry(app.primaryScreen()->availableGeometry());
        form.showMaximized();
    }

    // Set before the presses, so that it also fires while a box or note waits for the user.
    QTimer::singleShot(1500, &form, [&] {
        QPixmap picture = app.primaryScreen()->grabWindow(0);
        if (picture.isNull()) picture = form.grab();
        app.exit(picture.save(output) ? 0 : 1);
    });
    QTimer::singleShot(700, &form, [&] {
        for (const QString& press : presses)
            if (press.endsWith(QStringLiteral(".wall")) && !form.openWall(press)) app.exit(2);
        for (const QString& press : presses) {
            if (press.endsWith(QStringLiteral(".wall"))) continue;
            if (const qsizetype equals = press.indexOf('='); equals > 0) {
                if (auto field = wallcalc::fieldFromName(press.left(equals).toStdString()))
                    form.setFieldText(*field, press.mid(equals + 1).toStdString());
                continue;
            }
            auto* button = form.findChild<QPushButton*>(QStringLiteral("Command") + press);
            if (!button) {
                std::fprintf(stderr, "no button Command%s\n", qUtf8Printable(press));
                app.exit(2);
                return;
            }
            button->click();
        }
        if (review) {
            form.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
            auto* window = form.findChild<wallcalc::ui::ReviewWindow*>();
            window->move(form.geometry().right() + 10, 0);
        }
    });
    return app.exec();
}
