#include "ui/messagebox.h"

#include <QMessageBox>
#include <QPushButton>
#include <deque>
#include <utility>

#include "core/shown_text.h"

namespace wallcalc::ui {
namespace {

// The text line by line with its control characters and direction marks written out: a file
// name or a field text must not reverse or hide the rest of the message.
QString shown(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = QString::fromStdString(shownText(line.toStdString()));
    return lines.join(QLatin1Char('\n'));
}

MessageBox::Interceptor& interceptor() {
    static MessageBox::Interceptor current;
    return current;
}
}  // namespace

void MessageBox::error(QWidget* parent, const QString& title, const QString& given) {
    const QString text = shown(given);
    if (const Interceptor& intercept = interceptor()) {
        intercept(Shown{Kind::Error, title, text});
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);  // a name like <b>x</b> is shown as typed
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

static std::deque<MessageBox::Answer>& answers() {
    static std::deque<MessageBox::Answer> queued;
    return queued;
}

MessageBox::Answer MessageBox::askToSave(QWidget* parent, const QString& title, const QString& given) {
    const QString text = shown(given);
    if (const Interceptor& intercept = interceptor()) {
        intercept(Shown{Kind::Question, title, text});
        if (answers().empty()) return Answer::Cancel;
        const Answer answer = answers().front();
        answers().pop_front();
        return answer;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return Answer::Save;
    if (box.clickedButton() == discard) return Answer::Discard;
    return Answer::Cancel;
}

void MessageBox::preAnswer(Answer answer) { answers().push_back(answer); }

MessageBox::Interceptor MessageBox::setInterceptor(Interceptor next) {
    return std::exchange(interceptor(), std::move(next));
}

}  // namespace wallcalc::ui
