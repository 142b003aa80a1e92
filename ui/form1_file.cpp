// The 文件 menu of Form1: wall files (新建, 打开…, 保存, 另存为…) and the report saved as a
// finished document (另存计算书…).

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QVBoxLayout>
#include <filesystem>

#include "form/texts.h"
#include "ui/filedialog.h"
#include "ui/form1.h"
#include "ui/messagebox.h"
#include "wallfile/wallfile.h"

namespace wallcalc::ui {
namespace {

// The dialog's filter: "NAME (PATTERN)", one a type, separated by ";;".
template <std::size_t N>
QString filter(const form::FileType (&types)[N]) {
    QStringList parts;
    for (const form::FileType& type : types)
        parts << QString::fromUtf8(type.name) + QStringLiteral(" (") + QString::fromUtf8(type.pattern) +
                     QStringLiteral(")");
    return parts.join(QStringLiteral(";;"));
}

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
}

int Form1::menuBarHeight() const {
    auto* bar = findChild<QMenuBar*>(QStringLiteral("MenuBar"));
    return bar ? bar->sizeHint().height() : 0;
}

bool Form1::settleChanges() {
    if (!isModified()) return true;
    switch (MessageBox::askToSave(this, QString::fromUtf8(form::kProgramTitle),
                                  QString::fromStdString(form::askToSaveText(document_)))) {
        case MessageBox::Answer::Save: return save();
        case MessageBox::Answer::Discard: return true;
        case MessageBox::Answer::Cancel: return false;
    }
    return false;
}

void Form1::newWall() {
    if (isRunning() || !settleChanges()) return;
    document_.newWall();
}

void Form1::openWallFile() {
    if (isRunning() || !settleChanges()) return;
    const QString path =
        FileDialog::openFile(this, QString::fromUtf8(form::kOpenWallTitle), filter(form::kWallFileTypes));
    if (!path.isEmpty()) openWall(path);
}

bool Form1::openWall(const QString& path) {
    if (isRunning()) return false;
    try {
        document_.open(path.toStdString());
        return true;
    } catch (const wallfile::WallFileError& error) {
        MessageBox::error(this, QString::fromUtf8(form::kProgramTitle), QString::fromUtf8(error.what()));
        return false;
    }
}

// A wall file holds only options the review takes: the first refused one, in the order of the
// option table and as the review window reports it, stops the save before anything is asked.
bool Form1::optionsCanBeSaved() {
    const std::optional<std::string> why = document_.whyUnsavable();
    if (why) MessageBox::error(this, QString::fromUtf8(form::kProgramTitle), QString::fromStdString(*why));
    return !why;
}

bool Form1::saveWall(const QString& path) {
    if (!optionsCanBeSaved()) return false;
    try {
        document_.save(path.toStdString());
        return true;
    } catch (const wallfile::WallFileError& error) {
        MessageBox::error(this, QString::fromUtf8(form::kProgramTitle), QString::fromUtf8(error.what()));
        return false;
    }
}

bool Form1::save() { return document_.path().empty() ? saveAs() : saveWall(wallPath()); }

bool Form1::saveAs() {
    if (!optionsCanBeSaved()) return false;
    QString path = FileDialog::saveFile(this, QString::fromUtf8(form::kSaveWallTitle), filter(form::kWallFileTypes),
                                        QString::fromStdString(form::wallSuggestion(document_)));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QString::fromUtf8(wallfile::kExtension.data());
    return saveWall(path);
}

void Form1::saveReportAs() {
    if (!reportIsCurrent()) return;  // said before a file name is asked for
    const QString suggestion = QString::fromStdString(form::reportSuggestion(document_));
    QString chosen = FileDialog::saveFile(this, QString::fromUtf8(form::kSaveReportTitle),
                                          filter(form::kDocumentFileTypes), suggestion);
    if (chosen.isEmpty()) return;
    if (!documentFormatOf(toPath(chosen))) chosen += QStringLiteral(".pdf");
    const std::filesystem::path path = toPath(chosen);
    if (!saver_) saver_ = makePlatformOffice();
    DocumentSaver* saver = saver_.get();
    // As 计算书保存: the office may take seconds, the window keeps painting, a fault is shown.
    run([saver,
         path](FieldSet& fields) { saver->saveReport(fields.text(Field::Text29), path, *documentFormatOf(path)); },
        Where::OnWorkerThread);
}

void Form1::closeEvent(QCloseEvent* event) {
    if (isRunning() || !settleChanges())
        event->ignore();
    else
        event->accept();
}

}  // namespace wallcalc::ui
