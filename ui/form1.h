#pragma once
// Form1, the program's one window. Every value of the program is the text of one of its fields;
// the four buttons run the actions on those texts.

#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/action.h"
#include "core/fault.h"
#include "core/fields.h"
#include "form/layout.h"
#include "report/export.h"
#include "report/export/document_saver.h"
#include "wallfile/wallfile.h"

class QCloseEvent;

namespace wallcalc::ui {

class Form1 : public QWidget {
    Q_OBJECT
public:
    // The exporter serves 计算书保存; without one that press ends with a fault.
    explicit Form1(std::unique_ptr<ReportExporter> exporter, QWidget* parent = nullptr);
    ~Form1() override;

    // The field texts as the actions see them (UTF-8; Text29 with CR LF line ends).
    std::string fieldText(Field field) const;
    // Sets a field's text as the engineer would type it (a result typed counts as current).
    void setFieldText(Field field, const std::string& text);
    // The texts with what the engineer typed since the last press, and which results are current.
    FieldSet fieldTexts() const;

    // The control of a field: a QLineEdit, the QComboBox Combo1 or the ReportBox Text29.
    QWidget* fieldWidget(Field field) const { return fields_[static_cast<int>(field)]; }

    // True while a press is being run (the export waits on a worker thread meanwhile).
    bool isRunning() const { return running_; }

    // The 文件 menu (form1_file.cpp). The wall file shown (empty for a new wall), and whether
    // the input fields or the review options differ from it.
    const QString& wallPath() const { return wallPath_; }
    bool isModified() const;
    // Opens or saves a wall file; a file that cannot be read or written is reported in a box
    // and changes nothing. openWall asks first about unsaved changes.
    bool openWall(const QString& path);
    bool saveWall(const QString& path);
    // The review options of the wall (kept with it in its file); the review window shows and
    // edits these. Setting them all forgets any refused text.
    const wallfile::OptionTexts& reviewOptions() const { return options_; }
    void setReviewOptions(wallfile::OptionTexts options);
    // One option as the engineer typed it. A text the review accepts is set, or unset when it is
    // the default's own text, so that the file keeps only what differs. A text it refuses is held
    // apart: the wall counts as modified, and 保存 is refused until it is mended, since a wall
    // file holds only options the review accepts (another would make the file unreadable).
    void setReviewOption(std::string_view key, std::string_view text);
    // The text of an option as the review window shows it: the refused text, else the set one,
    // else the default's.
    std::string reviewOptionText(std::string_view key) const;
    // Replaces the saver of 另存计算书… (by default the platform's, made when first used).
    void setDocumentSaver(std::unique_ptr<DocumentSaver> saver) { saver_ = std::move(saver); }
    // The client area below the menu bar, which holds every control at its place.
    QWidget* clientArea() const { return client_; }
    // Hands `text` to the word processor as 计算书保存 hands the report box (the same export,
    // worker thread, note and faults), e.g. the review report. Returns whether it completed.
    bool exportDocument(const std::string& text);

signals:
    // The review options changed: a wall opened, 新建, setReviewOptions or setReviewOption.
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

    // The one runner of every button: the action runs on a copy of the field texts; when it
    // completes, the fields whose text it changed are written back, otherwise the fault is
    // shown and nothing changes. Returns whether the action completed.
    bool run(const Action& action, Where where);
    // Sets `cancelled` when the engineer pressed 取消 on the busy note.
    std::optional<Fault> runOnWorkerThread(FieldSet& fields, const Action& action, bool& cancelled);
    void showFault(const Fault& fault);

    void buildWindow();
    void press(form::Command command);
    void menu(form::MenuCommand command);
    void buildMenu();
    int menuBarHeight() const;
    wallfile::Wall currentWall() const;
    void showWall(const wallfile::Wall& wall, const QString& path);
    void updateTitle();
    // Unsaved changes: asks, and saves when told to. False when the user cancelled.
    bool settleChanges();

    void showText(Field field, const std::string& text);

    std::unique_ptr<ReportExporter> exporter_;
    std::array<QWidget*, kFieldCount> fields_{};
    // The texts as last written or seen by fieldTexts(), with their currency: a control whose
    // text differs from its field here was typed into since.
    mutable FieldSet shown_;
    bool running_ = false;
    QWidget* client_ = nullptr;
    QString wallPath_;
    wallfile::Wall savedWall_;
    wallfile::OptionTexts options_;
    struct RefusedOption {
        std::string text, why;  // the engineer's text and the review's reason
        bool operator==(const RefusedOption&) const = default;
    };
    std::map<std::string, RefusedOption, std::less<>> refusedOptions_;
    std::unique_ptr<DocumentSaver> saver_;
};

}  // namespace wallcalc::ui
