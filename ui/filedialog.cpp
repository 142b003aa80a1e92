#include "ui/filedialog.h"

#include <QFileDialog>
#include <utility>

namespace wallcalc::ui {
namespace {
FileDialog::Interceptor& interceptor() {
    static FileDialog::Interceptor current;
    return current;
}
}  // namespace

QString FileDialog::openFile(QWidget* parent, const QString& title, const QString& filter) {
    if (const Interceptor& intercept = interceptor()) return intercept(Asked{Kind::Open, title, filter});
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString FileDialog::saveFile(QWidget* parent, const QString& title, const QString& filter, const QString& suggestion) {
    if (const Interceptor& intercept = interceptor()) return intercept(Asked{Kind::Save, title, filter});
    return QFileDialog::getSaveFileName(parent, title, suggestion, filter);
}

FileDialog::Interceptor FileDialog::setInterceptor(Interceptor next) {
    return std::exchange(interceptor(), std::move(next));
}

}  // namespace wallcalc::ui
