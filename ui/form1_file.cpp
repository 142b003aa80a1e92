// The 文件 menu of Form1: wall files (新建, 打开…, 保存, 另存为…) and the report saved as a
// finished document (另存计算书…).

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>
#include <filesystem>

#include "core/fault.h"
#include "core/field_read.h"
#include "form/texts.h"
#include "review/review.h"
#include "ui/filedialog.h"
#include "ui/form1.h"
#include "ui/messagebox.h"
#include "wallfile/wallfile.h"

namespace wallcalc::ui {
namespace {

constexpr const char* kWallFilter = "墙体文件 (*.wall)";
constexpr const char* kDocumentFilter = "PDF 文件 (*.pdf);;Word 文档 (*.docx);;OpenDocument 文本 (*.odt)";

std::filesystem::path toPath(const QString& path) { return std::filesystem::u8path(path.toStdString()); }

QKeySequence keys(form::Shortcut shortcut) {
    switch (shortcut) {
        case form::Shortcut::None: return {};
        case form::Shortcut::New: return QKeySequence::New;
        case form::Shortcut::Open: return QKeySequence::Open;
        case form::Shortcut::Save: return QKeySequence::Save;
        case form::Shortcut::SaveAs: return QKeySequence::SaveAs;
    }
    return {};
}

}  // namespace

void Form1::menu(form::MenuCommand command) {
    switch (command) {
        case form::MenuCommand::New: newWall(); break;
        case form::MenuCommand::Open: openWallFile(); break;
        case form::MenuCommand::Save: save(); break;
        case form::MenuCommand::SaveAs: saveAs(); break;
        case form::MenuCommand::SaveReport: saveReportAs(); break;
    }
}

void Form1::buildMenu() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MenuBar"));
    QMenu* file = bar->addMenu(QString::fromUtf8(form::kFileMenu));
    file->setObjectName(QStringLiteral("FileMenu"));
    for (const form::MenuItem& item : form::fileMenu()) {
        if (item.separatorBefore) file->addSeparator();
        QAction* action = file->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromUtf8(item.name));
        action->setShortcut(keys(item.shortcut));
        connect(action, &QAction::triggered, this, [this, command = item.command] { menu(command); });
    }

    // The menu bar above, the client area below: the controls keep their places in the latter.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->addWidget(client_);

    for (Field field : wallfile::inputFields()) {
        QWidget* widget = fieldWidget(field);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, &Form1::updateTitle);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            connect(combo, &QComboBox::editTextChanged, this, &Form1::updateTitle);
    }
    savedWall_ = currentWall();
    updateTitle();
}

int Form1::menuBarHeight() const {
    auto* bar = findChild<QMenuBar*>(QStringLiteral("MenuBar"));
    return bar ? bar->sizeHint().height() : 0;
}

wallfile::Wall Form1::currentWall() const {
    wallfile::Wall wall;
    for (Field field : wallfile::inputFields()) wall.fields.setText(field, fieldText(field));
    wall.options = options_;
    return wall;
}

bool Form1::isModified() const { return !refusedOptions_.empty() || currentWall() != savedWall_; }

void Form1::setReviewOptions(wallfile::OptionTexts options) {
    options_ = std::move(options);
    refusedOptions_.clear();
    updateTitle();
    emit reviewOptionsChanged();
}

void Form1::setReviewOption(std::string_view key, std::string_view text) {
    if (!wallfile::isOptionKey(key)) return;
    const wallfile::OptionTexts options = options_;
    const auto refused = refusedOptions_;
    try {
        // The default's own text needs no check; any other is checked as it is set.
        if (text == review::optionText(review::Options{}, key))
            options_.unset(key);
        else
            options_.set(key, text);
        if (auto at = refusedOptions_.find(key); at != refusedOptions_.end()) refusedOptions_.erase(at);
    } catch (const FaultError& error) {
        refusedOptions_.insert_or_assign(std::string(key), RefusedOption{std::string(text), error.fault().what});
    }
    // The window that typed it hears back only when something changed, and then finds its text.
    if (options_ == options && refusedOptions_ == refused) return;
    updateTitle();
    emit reviewOptionsChanged();
}

std::string Form1::reviewOptionText(std::string_view key) const {
    if (auto at = refusedOptions_.find(key); at != refusedOptions_.end()) return at->second.text;
    if (const std::string* text = options_.find(key)) return *text;
    return review::optionText(review::Options{}, key);
}

void Form1::updateTitle() {
    const QString program =
        QString::fromUtf8(form::kProgramTitle) + QStringLiteral("  ") + QString::fromUtf8(form::kCredit);
    const bool modified = isModified();
    if (wallPath_.isEmpty() && !modified) {
        setWindowTitle(program);
        return;
    }
    const QString name = wallPath_.isEmpty() ? QStringLiteral("未命名") : QFileInfo(wallPath_).fileName();
    setWindowTitle(name + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") + program);
}

// The wall's inputs and options; every other field back at its default, since results of
// another wall mean nothing for this one.
void Form1::showWall(const wallfile::Wall& wall, const QString& path) {
    for (Field field : allFields())
        setFieldText(field, wallfile::isInputField(field) ? wall.fields.text(field) : std::string(defaultText(field)));
    shown_.forgetResults();
    options_ = wall.options;
    refusedOptions_.clear();
    wallPath_ = path;
    savedWall_ = currentWall();
    updateTitle();
    emit reviewOptionsChanged();
}

bool Form1::settleChanges() {
    if (!isModified()) return true;
    const QString name = wallPath_.isEmpty() ? QStringLiteral("未命名的墙体") : QFileInfo(wallPath_).fileName();
    switch (MessageBox::askToSave(this, QString::fromUtf8(form::kProgramTitle),
                                  QStringLiteral("“%1”已修改。是否保存修改？").arg(name))) {
        case MessageBox::Answer::Save: return save();
        case MessageBox::Answer::Discard: return true;
        case MessageBox::Answer::Cancel: return false;
    }
    return false;
}

void Form1::newWall() {
    if (running_ || !settleChanges()) return;
    showWall(wallfile::Wall{}, QString());
}

void Form1::openWallFile() {
    if (running_ || !settleChanges()) return;
    const QString path = FileDialog::openFile(this, QStringLiteral("打开墙体文件"), QString::fromUtf8(kWallFilter));
    if (!path.isEmpty()) openWall(path);
}

bool Form1::openWall(const QString& path) {
    if (running_) return false;
    try {
        const wallfile::Wall wall = wallfile::load(toPath(path));
        showWall(wall, path);
        return true;
    } catch (const wallfile::WallFileError& error) {
        MessageBox::error(this, QString::fromUtf8(form::kProgramTitle), QString::fromUtf8(error.what()));
        return false;
    }
}

// A wall file holds only options the review takes: the first refused one, in the documented
// order and as the review window reports it, stops the save before anything is asked.
bool Form1::optionsCanBeSaved() {
    for (std::string_view key : review::optionKeys()) {
        const auto refused = refusedOptions_.find(key);
        if (refused == refusedOptions_.end()) continue;
        MessageBox::error(this, QString::fromUtf8(form::kProgramTitle),
                          QStringLiteral("墙体没有保存：%1。请在复核窗口中改正后再保存。")
                              .arg(QString::fromStdString(refused->second.why)));
        return false;
    }
    return true;
}

bool Form1::saveWall(const QString& path) {
    if (!optionsCanBeSaved()) return false;
    try {
        const wallfile::Wall wall = currentWall();
        wallfile::save(toPath(path), wall);
        wallPath_ = path;
        savedWall_ = wall;
        updateTitle();
        return true;
    } catch (const wallfile::WallFileError& error) {
        MessageBox::error(this, QString::fromUtf8(form::kProgramTitle), QString::fromUtf8(error.what()));
        return false;
    }
}

bool Form1::save() { return wallPath_.isEmpty() ? saveAs() : saveWall(wallPath_); }

bool Form1::saveAs() {
    if (!optionsCanBeSaved()) return false;
    QString path = FileDialog::saveFile(this, QStringLiteral("另存为"), QString::fromUtf8(kWallFilter),
                                        wallPath_.isEmpty() ? QStringLiteral("墙体.wall") : wallPath_);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QString::fromUtf8(wallfile::kExtension.data());
    return saveWall(path);
}

void Form1::saveReportAs() {
    const QString suggestion = wallPath_.isEmpty()
                                   ? QStringLiteral("计算书.pdf")
                                   : QFileInfo(wallPath_).path() + QStringLiteral("/") +
                                         QFileInfo(wallPath_).completeBaseName() + QStringLiteral(".pdf");
    QString chosen =
        FileDialog::saveFile(this, QStringLiteral("另存计算书"), QString::fromUtf8(kDocumentFilter), suggestion);
    if (chosen.isEmpty()) return;
    if (!documentFormatOf(toPath(chosen))) chosen += QStringLiteral(".pdf");
    const std::filesystem::path path = toPath(chosen);
    if (!saver_) saver_ = makePlatformSaver();
    DocumentSaver* saver = saver_.get();
    // As 计算书保存: the office may take seconds, the window keeps painting, a fault is shown.
    run(
        [saver, path](FieldSet& fields) {
            requireCurrent(fields, Field::Text29);
            saver->saveReport(fields.text(Field::Text29), path, *documentFormatOf(path));
        },
        Where::OnWorkerThread);
}

void Form1::closeEvent(QCloseEvent* event) {
    if (running_ || !settleChanges())
        event->ignore();
    else
        event->accept();
}

}  // namespace wallcalc::ui
