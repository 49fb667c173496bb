#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>

namespace skylane {

class AppPaths;
class ConfigWriter;
class BarWindow;
class Dialogs;
class ProgramButton;
class ProgramIcons;
class ProgramLauncher;

// What a mouse release over a program button does: in the "Exit" category
// it first asks for the exit dialog; a right release gives the button
// another program, a left release starts the button's program. It wires
// every button of the row as the button is loaded.
class ButtonActions : public QObject {
    Q_OBJECT
public:
    // The services it uses: the program start, the confirmation box, the
    // icons of chosen programs.
    struct Services {
        ProgramLauncher &launcher;
        Dialogs &dialogs;
        ProgramIcons &icons;
    };
    ButtonActions(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer, Services services);

    void Command2_MouseUp(int index, Qt::MouseButton button);

    // Gives button `index` the program at `programPath` as a program chosen
    // in the file-open dialog does: after the same question when the button
    // already has a program, then icon, tooltip and the category file.
    void giveProgram(int index, const QByteArray &programPath);
    // Starts the program of button `index` as a left release does, with
    // `files` as its arguments; nothing for a blank button.
    void openFiles(int index, const QByteArrayList &files);

signals:
    // A button of the "Exit" category was released.
    void exitDialogRequested();

private:
    void wire(ProgramButton *button);
    void launch(int index, Qt::MouseButton button);
    void reassign(int index);
    bool confirmChange(const ProgramButton &button);
    void assign(ProgramButton &button, const QByteArray &programPath);

    BarWindow &m_bar;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
    Services m_services;
};

// Whether a file chosen in the file-open dialog is a program a button can
// hold: on Linux a regular executable file, on Windows a name ending "exe".
bool isProgramChoice(const QString &fileName);

} // namespace skylane
