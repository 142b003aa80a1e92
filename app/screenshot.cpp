// Opens the window at the size of the screen, presses the buttons named on the command line in
// turn (1 强度计算, 2 裂缝计算, 4 生成计算书), and writes a picture of the screen.
//
//   wallcalc-screenshot OUT.png [1|2|4 ...]
//
// Error boxes are written to the standard error stream instead of being shown.

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "report/export.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/messagebox.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: wallcalc-screenshot OUT.png [1|2|4 ...]\n");
        return 2;
    }
    const QString output = arguments.at(1);
    const QStringList presses = arguments.mid(2);

    wallcalc::ui::setUpApplication(app);
    wallcalc::ui::MessageBox::setInterceptor([](const wallcalc::ui::MessageBox::Shown& box) {
        std::fprintf(stderr, "error box: %s\n", qUtf8Printable(box.text));
    });

    wallcalc::ui::Form1 form(wallcalc::makePlatformExporter());
    // Without a window manager nothing maximises the window, so give it the screen's size.
    form.setGeometry(app.primaryScreen()->availableGeometry());
    form.showMaximized();

    QTimer::singleShot(700, &form, [&] {
        for (const QString& press : presses) {
            auto* button = form.findChild<QPushButton*>(QStringLiteral("Command") + press);
            if (!button) {
                std::fprintf(stderr, "no button Command%s\n", qUtf8Printable(press));
                app.exit(2);
                return;
            }
            button->click();
        }
        QTimer::singleShot(700, &form, [&] {
            QPixmap picture = app.primaryScreen()->grabWindow(0);
            if (picture.isNull()) picture = form.grab();
            app.exit(picture.save(output) ? 0 : 1);
        });
    });
    return app.exec();
}
