// Opens the window. The program takes no command line and keeps nothing.

#include <QApplication>

#include "office/office.h"
#include "ui/application.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    wallcalc::ui::setUpApplication(app);
    wallcalc::ui::Form1 form(wallcalc::makePlatformOffice());
    form.show();
    return app.exec();
}
