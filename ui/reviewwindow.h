#pragma once
// 复核: the wall checked by the codes in force, in a window of its own that follows the wall
// document Form1 shows. The option controls show the document's review options, which are saved
// with the wall: a change of a control goes to the document, and a change there (a wall opened,
// 新建) comes back to the controls. The results, the comparison with the four buttons and the two
// diagrams are recomputed a moment after every change. An input the review refuses leaves the
// last good results in place, greyed, with the reason in the status line.

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "form/review_model.h"
#include "form/wall_document.h"
#include "review/review.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QPlainTextEdit;

namespace wallcalc::ui {

class ReviewDiagram;

class ReviewWindow : public QWidget {
    Q_OBJECT
public:
    // Hands a document to the word processor as 计算书保存 does; returns whether it completed.
    using Exporter = std::function<bool(const std::string& text)>;

    // A window of its own, owned by `owner` and closed with it, following `document`.
    ReviewWindow(form::WallDocument& document, Exporter exporter, QWidget* owner);
    ~ReviewWindow() override;

    // The last good review (none before the first), and whether it is shown greyed because the
    // inputs since then were refused.
    const std::optional<review::Result>& result() const { return model_.result(); }
    bool isStale() const { return model_.isStale(); }
    QString statusText() const;
    int reviews() const { return model_.reviews(); }

    // The review report of the last good review, dated today.
    std::string reportText() const;

    // The option control of a command-line key ("edition", "gamma0", ...).
    QWidget* optionWidget(std::string_view key) const;

public slots:
    void recompute();     // now, without waiting for the debounce
    void showReport();    // 生成复核计算书
    void exportReport();  // 复核计算书保存

private:
    void scheduleRecompute();
    QWidget* buildOptions();
    // Puts the document's option texts into the controls, changing only those that differ.
    void showOptions();
    // The document changed: a new input is reviewed once typing pauses.
    void follow(form::WallDocument::Change change);
    // A control's text, handed to the document unless it is being set from there.
    void optionEdited(std::string_view key, const QString& text);
    void showResult(const review::Result& result);
    void setStale(bool stale);

    form::WallDocument& document_;
    form::ReviewModel model_;
    Exporter exporter_;
    int observer_ = -1;
    FieldSet inputs_;  // the field texts last heard, for telling a change of the inputs
    QTimer debounce_;

    struct Option {
        std::string_view key;
        QWidget* widget;
    };
    std::vector<Option> options_;
    bool showingOptions_ = false;
    QWidget* results_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* oldMethod_ = nullptr;
    QLabel* newMethod_ = nullptr;
    ReviewDiagram* pressure_ = nullptr;
    ReviewDiagram* moment_ = nullptr;
    QLabel* status_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
};

}  // namespace wallcalc::ui
