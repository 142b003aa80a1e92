#include "ui/messagebox.h"

#include <QMessageBox>
#include <utility>

namespace wallcalc::ui {
namespace {
MessageBox::Interceptor& interceptor() {
    static MessageBox::Interceptor current;
    return current;
}
}  // namespace

void MessageBox::error(QWidget* parent, const QString& title, const QString& text) {
    if (const Interceptor& intercept = interceptor()) {
        intercept(Shown{Kind::Error, title, text});
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

MessageBox::Interceptor MessageBox::setInterceptor(Interceptor next) {
    return std::exchange(interceptor(), std::move(next));
}

}  // namespace wallcalc::ui
