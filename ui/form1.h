#pragma once
// Form1, the program's one window: a view of its wall document (form/wall_document.h). Every
// value of the program is the text of one of its fields; the four buttons run the actions on
// those texts.

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/action.h"
#include "core/fault.h"
#include "core/fields.h"
#include "form/layout.h"
#include "form/runner.h"
#include "form/wall_document.h"
#include "office/office.h"
#include "wallfile/wallfile.h"

class QCloseEvent;

namespace wallcalc::ui {

class Form1 : public QWidget {
    Q_OBJECT
public:
    // The exporter serves 计算书保存; without one that press ends with a fault.
    explicit Form1(std::unique_ptr<ReportExporter> exporter, QWidget* parent = nullptr);
    ~Form1() override;

    // The wall shown: the field texts, the file, the review options. The window writes what is
    // typed into it and follows it.
    form::WallDocument& document() { return document_; }

    // The field texts as the actions see them (UTF-8; Text29 with CR LF line ends).
    std::string fieldText(Field field) const { return document_.text(field); }
    void setFieldText(Field field, const std::string& text) { document_.setText(field, text); }
    FieldSet fieldTexts() const { return document_.fields(); }

    // The control of a field: a QLineEdit, the QComboBox Combo1 or the ReportBox Text29.
    QWidget* fieldWidget(Field field) const { return fields_[static_cast<int>(field)]; }

    // True while a press is being run (the export waits on a worker thread meanwhile).
    bool isRunning() const { return runner_.isRunning(); }

    // The 文件 menu (form1_file.cpp). The wall file shown (empty for a new wall), and whether
    // the input fields or the review options differ from it.
    QString wallPath() const { return QString::fromStdString(document_.path()); }
    bool isModified() const { return document_.isModified(); }
    // Opens or saves a wall file; a file that cannot be read or written is reported in a box
    // and changes nothing. openWall asks first about unsaved changes.
    bool openWall(const QString& path);
    bool saveWall(const QString& path);
    // The review options of the wall, as the document keeps them (see WallDocument).
    const wallfile::OptionTexts& reviewOptions() const { return document_.options(); }
    void setReviewOptions(wallfile::OptionTexts options) { document_.setOptions(std::move(options)); }
    void setReviewOption(std::string_view key, std::string_view text) { document_.setOption(key, text); }
    std::string reviewOptionText(std::string_view key) const { return document_.optionText(key); }
    // Replaces the saver of 另存计算书… (by default the platform's, made when first used).
    void setDocumentSaver(std::unique_ptr<DocumentSaver> saver) { saver_ = std::move(saver); }
    // The client area below the menu bar, which holds every control at its place.
    QWidget* clientArea() const { return client_; }
    // Hands `text` to the word processor as 计算书保存 hands the report box (the same export,
    // worker thread, note and faults), e.g. the review report. Returns whether it completed.
    bool exportDocument(const std::string& text);
    // The same with a book, built as one in the word processor.
    bool exportBook(const Book& book);

signals:
    // The document's review options changed: a wall opened, 新建, setReviewOptions or
    // setReviewOption.
    void reviewOptionsChanged();

public slots:
    void Command1_Click();  // 强度计算
    void Command2_Click();  // 裂缝计算
    void Command3_Click();  // 计算书保存
    void Command4_Click();  // 生成计算书
    void Command5_Click();  // 现行规范复核: opens the review window

    void newWall();       // 文件 → 新建
    void openWallFile();  // 文件 → 打开…
    bool save();          // 文件 → 保存
    bool saveAs();        // 文件 → 另存为…
    void saveReportAs();  // 文件 → 另存计算书…

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool optionsCanBeSaved();
    enum class Where { OnThisThread, OnWorkerThread };

    // Every button runs through the document's runner (form/runner.h): the action on a copy of
    // the field texts, written back when it completes, else the fault shown and nothing
    // changed. Returns whether the action completed.
    bool run(const Action& action, Where where);
    void showFault(const Fault& fault);
    // Whether the report box is current; if not, says so as a fault and the press stops.
    bool reportIsCurrent();

    void buildWindow();
    void press(form::Command command);
    void menu(form::MenuCommand command);
    void buildMenu();
    int menuBarHeight() const;
    // The document changed: the controls that differ from it and the title follow.
    void follow(form::WallDocument::Change change);
    // Every field in the look of what it holds: results that are not current greyed.
    void paintFields();
    // The text a control shows.
    std::string widgetText(Field field) const;
    void showText(Field field, const std::string& text);
    // Unsaved changes: asks, and saves when told to. False when the user cancelled.
    bool settleChanges();

    std::unique_ptr<ReportExporter> exporter_;
    std::array<QWidget*, kFieldCount> fields_{};
    QWidget* client_ = nullptr;
    form::WallDocument document_;
    form::Runner runner_{document_};
    int observer_ = -1;
    std::unique_ptr<DocumentSaver> saver_;
};

}  // namespace wallcalc::ui
