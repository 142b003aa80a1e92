#include "ui/application.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QPixmap>

#include "ui/fonts.h"

// The resources live in this static library; registering them by name here makes the linker
// keep them.
static void registerBundledResources() { Q_INIT_RESOURCE(wallcalc); }

namespace wallcalc::ui {

void initResources() {
    static const bool done = [] {
        registerBundledResources();
        return true;
    }();
    (void)done;
}

bool setUpApplication(QApplication& app) {
    initResources();
    app.setFont(defaultUiFont());
    app.setWindowIcon(programIcon());
    static const bool symbolsLoaded =
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/WallcalcSymbols.ttf")) >= 0;
    return symbolsLoaded;
}

QPixmap diagramPicture() {
    initResources();
    return QPixmap(QStringLiteral(":/diagram.png"));
}

QIcon programIcon() {
    initResources();
    QIcon icon;
    for (int size : {16, 32, 48}) {
        const QString path = QStringLiteral(":/icon-%1.png").arg(size);
        if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}

}  // namespace wallcalc::ui
