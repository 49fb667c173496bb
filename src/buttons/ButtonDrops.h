#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QPoint>

class QDropEvent;
class QMimeData;

namespace skylane {

class BarWindow;
class ButtonActions;
class ButtonAdder;
class ProgramLauncher;

// Files dragged onto the bar as a list of addresses (file managers and the
// desktops' application menus drag them so). Onto a program button, one
// program gives that button the program as a reassignment does; onto the
// rest of the bar, the programs are appended as new buttons. A drag that
// cannot be taken whole is refused while it moves, and nothing happens in
// the "Exit" category. The bar neither takes the focus nor leaves its layer.
class ButtonDrops : public QObject {
    Q_OBJECT
public:
    ButtonDrops(BarWindow &bar, ButtonActions &actions, ButtonAdder &adder, ProgramLauncher &launcher);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QByteArrayList programsOf(const QMimeData *data) const;
    // The button the drop would give the program to, 0 for appending, -1
    // when it would be refused.
    int target(QPoint pos) const;
    void take(int index, const QByteArrayList &programs);

    BarWindow &m_bar;
    ButtonActions &m_actions;
    ButtonAdder &m_adder;
    ProgramLauncher &m_launcher;
    QByteArrayList m_dragged; // the programs of the drag in progress, read once as it enters
};

} // namespace skylane
