#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>

namespace skylane {

class BarModel;
class BarWindow;
class ButtonRow;
class CategoryStore;
class Dialogs;
class ProgramButton;
class ProgramLauncher;

// What a mouse release over a program button does: in the "Exit" category
// it first asks for the exit dialog; a right release gives the button
// another program, a left release starts the button's program. It wires
// every button of the row as the button is made.
class ButtonActions : public QObject {
    Q_OBJECT
public:
    // The services it uses: the program start and the confirmation box.
    struct Services {
        ProgramLauncher &launcher;
        Dialogs &dialogs;
    };
    ButtonActions(BarWindow &bar, BarModel &model, ButtonRow &row, CategoryStore &store, Services services);

    void onButtonReleased(int index, Qt::MouseButton button);

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
    bool confirmChange(int index);
    void assign(int index, const QByteArray &programPath);

    BarWindow &m_bar;
    BarModel &m_model;
    ButtonRow &m_row;
    CategoryStore &m_store;
    Services m_services;
};

// Whether a file chosen in the file-open dialog is a program a button can
// hold: on Linux a regular executable file, on Windows a name ending "exe".
bool isProgramChoice(const QString &fileName);

} // namespace skylane
