#pragma once
// Form1, the program's one window. Every value of the program is the text of one of its fields;
// the four buttons run the actions on those texts.

#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "core/action.h"
#include "core/fault.h"
#include "core/fields.h"
#include "report/export.h"

namespace wallcalc::ui {

class Form1 : public QWidget {
    Q_OBJECT
public:
    // The exporter serves 计算书保存; without one that press ends with a fault.
    explicit Form1(std::unique_ptr<ReportExporter> exporter, QWidget* parent = nullptr);
    ~Form1() override;

    // The field texts as the actions see them (UTF-8; Text29 with CR LF line ends).
    std::string fieldText(Field field) const;
    void setFieldText(Field field, const std::string& text);
    FieldSet fieldTexts() const;

    // The control of a field: a QLineEdit, the QComboBox Combo1 or the ReportBox Text29.
    QWidget* fieldWidget(Field field) const { return fields_[static_cast<int>(field)]; }

    // True while a press is being run (the export waits on a worker thread meanwhile).
    bool isRunning() const { return running_; }

    // Hands `text` to the word processor as 计算书保存 hands the report box (the same export,
    // worker thread, note and faults), e.g. the review report. Returns whether it completed.
    bool exportDocument(const std::string& text);

public slots:
    void Command1_Click();  // 强度计算
    void Command2_Click();  // 裂缝计算
    void Command3_Click();  // 计算书保存
    void Command4_Click();  // 生成计算书
    void Command5_Click();  // 现行规范复核: opens the review window

private:
    enum class Where { OnThisThread, OnWorkerThread };

    // The one runner of every button: the action runs on a copy of the field texts; when it
    // completes, the fields whose text it changed are written back, otherwise the fault is
    // shown and nothing changes. Returns whether the action completed.
    bool run(const Action& action, Where where);
    std::optional<Fault> runOnWorkerThread(FieldSet& fields, const Action& action);
    void showFault(const Fault& fault);

    void buildWindow();

    std::unique_ptr<ReportExporter> exporter_;
    std::array<QWidget*, kFieldCount> fields_{};
    bool running_ = false;
};

}  // namespace wallcalc::ui
