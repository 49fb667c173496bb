#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

namespace skylane {

class BarModel;
class BarWindow;
class ButtonRow;
class CategoryStore;
class ProgramButton;

// Moves a button along the row: a left press on a program button followed
// by a move along the row past the drag distance picks the button up. It
// follows the pointer while the others make room; on the release it takes
// the place it was dropped on, and the category file is rewritten in the
// new order. Such a release starts nothing. Escape, or a release off the
// bar, puts every button back and changes nothing. A press and release
// that never pass the drag distance stay a click. The "Exit" row does not
// move.
class ButtonMover : public QObject {
    Q_OBJECT
public:
    ButtonMover(BarWindow &bar, BarModel &model, ButtonRow &row, CategoryStore &store);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wire(ProgramButton *button);
    bool pickUp();
    void follow(QPoint global);
    void putDown(bool keep);
    // The row as it stands, or empty when it no longer holds the buttons
    // the move began with (a rebuild while dragging).
    QList<ProgramButton *> row() const;

    BarWindow &m_bar;
    BarModel &m_model;
    ButtonRow &m_row;
    CategoryStore &m_store;
    QPointer<ProgramButton> m_pressed; // the button under a left press
    QPoint m_pressedAt;                // where, in the button
    QPoint m_pressedGlobal;
    bool m_moving = false;
    bool m_cancelled = false; // put back before the release, which then does nothing
    int m_count = 0; // the row's size when the move began
    int m_to = 0;    // the place the button would take now
};

} // namespace skylane
