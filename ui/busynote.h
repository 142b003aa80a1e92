#pragma once
// A small modal note shown while an action runs off the user-interface thread. Its one button,
// 取消, closes it at once and says so through cancelled(); Escape and the close button do
// nothing. finish() closes it when the work is done.

#include <QDialog>

namespace wallcalc::ui {

class BusyNote : public QDialog {
    Q_OBJECT
public:
    BusyNote(const QString& title, const QString& text, QWidget* parent);

    bool wasCancelled() const { return cancelled_; }

signals:
    void cancelled();

public slots:
    void finish();
    void cancel();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool finished_ = false;
    bool cancelled_ = false;
};

}  // namespace wallcalc::ui
