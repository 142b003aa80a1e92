#pragma once
// A small modal note shown while an action runs off the user-interface thread. It has no
// buttons and cannot be closed by the user; finish() closes it.

#include <QDialog>

namespace wallcalc::ui {

class BusyNote : public QDialog {
    Q_OBJECT
public:
    BusyNote(const QString& title, const QString& text, QWidget* parent);

public slots:
    void finish();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool finished_ = false;
};

}  // namespace wallcalc::ui
