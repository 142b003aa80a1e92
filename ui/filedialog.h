#pragma once
// The file dialogs of the window go through here, so that a test can choose the file instead
// of a user.

#include <QString>
#include <functional>

class QWidget;

namespace wallcalc::ui {

class FileDialog {
public:
    enum class Kind { Open, Save };
    struct Asked {
        Kind kind;
        QString title;
        QString filter;
    };
    // Gives the chosen path, or an empty text for 取消.
    using Interceptor = std::function<QString(const Asked&)>;

    static QString openFile(QWidget* parent, const QString& title, const QString& filter);
    // `suggestion`: the path the dialog starts from.
    static QString saveFile(QWidget* parent, const QString& title, const QString& filter, const QString& suggestion);

    // Installs an interceptor that answers every dialog instead of the user; an empty one shows
    // the dialogs again. Returns the one it replaces.
    static Interceptor setInterceptor(Interceptor interceptor);
};

}  // namespace wallcalc::ui
