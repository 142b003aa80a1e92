#include "ui/busynote.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace wallcalc::ui {

BusyNote::BusyNote(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("BusyNote"));
    setWindowTitle(title);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("BusyNoteText"));
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(this);
    auto* cancelButton = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("BusyNoteCancel"));
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &BusyNote::cancel);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
    setFixedSize(sizeHint());
}

void BusyNote::finish() {
    finished_ = true;
    accept();
}

void BusyNote::cancel() {
    if (finished_) return;
    cancelled_ = true;
    finished_ = true;
    emit cancelled();
    QDialog::reject();
}

// Escape and the window's close button do nothing while the work goes on.
void BusyNote::reject() {
    if (finished_) QDialog::reject();
}

void BusyNote::closeEvent(QCloseEvent* event) {
    if (finished_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

}  // namespace wallcalc::ui
