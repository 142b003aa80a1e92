#include "ui/reportbox.h"

#include <QTextDocument>

namespace wallcalc::ui {

QString displayTextFromField(const std::string& fieldText) {
    QString text = QString::fromStdString(fieldText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string fieldTextFromRaw(const QString& rawText) {
    QString text = rawText;
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text.toStdString();
}

ReportBox::ReportBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in every other field.
    setTabChangesFocus(true);
}

// toPlainText() would also turn no-break spaces into plain ones; the raw text keeps every
// character the box holds.
std::string ReportBox::fieldText() const { return fieldTextFromRaw(document()->toRawText()); }

void ReportBox::setFieldText(const std::string& text) { setPlainText(displayTextFromField(text)); }

}  // namespace wallcalc::ui
