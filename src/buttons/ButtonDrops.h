#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QPoint>

class QDropEvent;
class QMimeData;

namespace skylane {

class BarWindow;
class ButtonActions;
class BarModel;
class ProgramLauncher;

// Files dragged onto the bar as a list of addresses (file managers and the
// desktops' application menus drag them so). Onto a program button, one
// program gives that button the program as a reassignment does; onto the
// rest of the bar, the programs are appended as new buttons. Files that are
// not all programs (documents, pictures, folders) dropped onto a button with
// a program start it with their paths as its arguments, in order. A drag
// that cannot be taken whole is refused while it moves, and nothing happens
// in the "Exit" category. The bar neither takes the focus nor leaves its layer.
class ButtonDrops : public QObject {
    Q_OBJECT
public:
    ButtonDrops(BarWindow &bar, BarModel &model, ButtonActions &actions, ProgramLauncher &launcher);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The local files of the drag as paths, empty unless all are local.
    static QByteArrayList filesOf(const QMimeData *data);
    // The programs they stand for, empty unless every one stands for one.
    QByteArrayList programsOf(const QByteArrayList &files) const;
    // The button the drop would give the program to, 0 for appending, -1
    // when it would be refused.
    int target(QPoint pos) const;
    void take(int index, const QByteArrayList &programs);

    BarWindow &m_bar;
    ButtonActions &m_actions;
    BarModel &m_model;
    ProgramLauncher &m_launcher;
    QByteArrayList m_files;   // the files of the drag in progress, read once as it enters
    QByteArrayList m_dragged; // the programs they stand for
};

} // namespace skylane
