#pragma once
// Every modal box of the window goes through here, so that a test can capture a box instead of
// showing it, and no test ever waits for a click.

#include <QString>
#include <functional>

class QWidget;

namespace wallcalc::ui {

class MessageBox {
public:
    enum class Kind { Error, Question };
    enum class Answer { Save, Discard, Cancel };

    struct Shown {
        Kind kind;
        QString title;
        QString text;
    };
    using Interceptor = std::function<void(const Shown&)>;

    // Shows a modal error box with one OK button and returns when it is closed, or hands the
    // box to the interceptor when one is installed.
    static void error(QWidget* parent, const QString& title, const QString& text);

    // Asks whether to save changes first: 保存, 不保存 or 取消. With an interceptor installed the
    // box goes to it and the answer is the next one given to preAnswer (取消 when none is left).
    static Answer askToSave(QWidget* parent, const QString& title, const QString& text);
    static void preAnswer(Answer answer);

    // Installs an interceptor that receives every box instead of the user; an empty one shows
    // the boxes again. Returns the one it replaces.
    static Interceptor setInterceptor(Interceptor interceptor);
};

}  // namespace wallcalc::ui
