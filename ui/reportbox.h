#pragma once
// The report box Text29: a multi-line box with both scroll bars and no word wrap, whose field
// text keeps CR LF line ends. The editor keeps paragraphs instead of line ends, so the text is
// converted on the way in and out: what is put in as a field text comes back unchanged, and
// text the engineer types comes back with CR LF line ends as well.

#include <QPlainTextEdit>
#include <QString>
#include <string>

namespace wallcalc::ui {

// Field text (UTF-8, CR LF) to the text the editor shows (LF).
QString displayTextFromField(const std::string& fieldText);
// The editor's raw text (paragraph separators U+2029 between lines) to the field text.
std::string fieldTextFromRaw(const QString& rawText);

class ReportBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ReportBox(QWidget* parent = nullptr);

    std::string fieldText() const;
    void setFieldText(const std::string& text);
};

}  // namespace wallcalc::ui
