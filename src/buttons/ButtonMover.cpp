#include "buttons/ButtonMover.h"

#include "bar/BarWindow.h"
#include "buttons/BarModel.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategoryStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace skylane {

ButtonMover::ButtonMover(BarWindow &bar, BarModel &model, ButtonRow &row, CategoryStore &store)
    : m_bar(bar), m_model(model), m_row(row), m_store(store)
{
    for (ProgramButton *button : row.buttons())
        wire(button);
    connect(&row, &ButtonRow::buttonCreated, this, &ButtonMover::wire);
}

void ButtonMover::wire(ProgramButton *button)
{
    button->installEventFilter(this);
}

QList<ProgramButton *> ButtonMover::row() const
{
    QList<ProgramButton *> buttons;
    if (m_count != m_model.count() || m_count != m_row.buttons().size())
        return {};
    for (ProgramButton *button : m_row.buttons()) {
        if (!button)
            return {};
        buttons << button;
    }
    return buttons;
}

bool ButtonMover::eventFilter(QObject *watched, QEvent *event)
{
    // A press within the double-click time arrives as a double click: it is
    // a press all the same, and may start a move.
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched != m_pressed && !press)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if ((m_moving || m_cancelled) && watched == m_pressed)
            return true; // another mouse button while moving does nothing
        auto *mouse = static_cast<QMouseEvent *>(event);
        // A press elsewhere: the button of the last one is gone.
        m_moving = m_cancelled = false;
        m_pressed = nullptr;
        if (mouse->button() == Qt::LeftButton && !m_model.showsExitCategory()) {
            m_pressed = qobject_cast<ProgramButton *>(watched);
            m_pressedAt = mouse->position().toPoint();
            m_pressedGlobal = mouse->globalPosition().toPoint();
        }
        break;
    }
    case QEvent::MouseMove: {
        if (m_cancelled)
            return true;
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton))
            break;
        const QPoint global = mouse->globalPosition().toPoint();
        if (!m_moving
            && (std::abs(global.x() - m_pressedGlobal.x()) < QApplication::startDragDistance() || !pickUp()))
            break;
        follow(global);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_cancelled) {
            if (mouse->button() == Qt::LeftButton) {
                m_cancelled = false;
                m_pressed = nullptr;
            }
            return true;
        }
        if (!m_moving) {
            if (mouse->button() == Qt::LeftButton)
                m_pressed = nullptr;
            break;
        }
        if (mouse->button() == Qt::LeftButton)
            putDown(m_bar.rect().contains(m_bar.mapFromGlobal(mouse->globalPosition().toPoint())));
        return true;
    }
    case QEvent::KeyPress:
        if (m_moving && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            const QPointer<ProgramButton> pressed = m_pressed;
            putDown(false);
            m_pressed = pressed;
            m_cancelled = true;
            return true;
        }
        return m_moving || m_cancelled;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ButtonMover::pickUp()
{
    m_count = m_model.count();
    if (m_model.showsExitCategory() || row().isEmpty()) {
        m_pressed = nullptr;
        return false;
    }
    m_moving = true;
    m_to = m_pressed->index();
    m_pressed->setDown(false);
    m_pressed->raise();
    m_pressed->setCursor(Qt::ClosedHandCursor);
    // The bar never takes the focus: Escape reaches it through a grab.
    m_pressed->grabKeyboard();
    return true;
}

void ButtonMover::follow(QPoint global)
{
    const QList<ProgramButton *> buttons = row();
    if (buttons.isEmpty() || !m_pressed) {
        putDown(false);
        return;
    }
    // The places of the row's slots, from the buttons' own twips places.
    QList<QPoint> homes;
    for (ProgramButton *button : buttons)
        homes << twipsToPixels(twipsGeometry(button)).topLeft();
    const int from = m_pressed->index();
    const int left = std::clamp(m_bar.mapFromGlobal(global).x() - m_pressedAt.x(), homes.constFirst().x(),
                                homes.constLast().x());
    m_to = 1;
    for (int i = 2; i <= m_count; ++i)
        if (std::abs(homes.at(i - 1).x() - left) < std::abs(homes.at(m_to - 1).x() - left))
            m_to = i;
    // The others close up behind the picked button and open a gap at m_to.
    for (int i = 1; i <= m_count; ++i) {
        if (i == from)
            continue;
        int place = i;
        if (from < i && i <= m_to)
            place = i - 1;
        else if (m_to <= i && i < from)
            place = i + 1;
        buttons.at(i - 1)->move(homes.at(place - 1));
    }
    m_pressed->move(left, homes.at(from - 1).y());
}

void ButtonMover::putDown(bool keep)
{
    const QList<ProgramButton *> buttons = row();
    if (m_pressed) {
        m_pressed->releaseKeyboard();
        m_pressed->unsetCursor();
    }
    const int from = m_pressed ? m_pressed->index() : 0;
    m_moving = false;
    m_pressed = nullptr;
    if (buttons.isEmpty())
        return; // the row was built anew under the move
    for (ProgramButton *button : buttons)
        setTwipsGeometry(button, twipsGeometry(button));
    if (keep && from != 0 && m_model.moveEntry(from, m_to))
        (void)m_store.save(); // a refused save is told by the writer
}

} // namespace skylane
