#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QWidget;

namespace skylane {

enum class MessageAnswer { Yes, No, Cancel };

// The modal dialogs of the program and its one message box. Each call
// returns when the user closes the dialog; no value means Cancel.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // `initialPath` may name a folder or a file inside the folder to start in;
    // `fileName` is the preset of the file name field.
    virtual std::optional<QString> openFile(QWidget *parent, const QString &initialPath,
                                            const QString &fileName) = 0;
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) = 0;
    virtual std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) = 0;
    // Yes, No and Cancel, Yes the default, no icon.
    virtual MessageAnswer askYesNoCancel(QWidget *parent, const QString &text,
                                         const QString &title) = 0;
};

} // namespace skylane
