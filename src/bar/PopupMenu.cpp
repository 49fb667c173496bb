#include "bar/PopupMenu.h"

#include "bar/BarWindow.h"

#include <QMenu>

namespace skylane {

PopupMenu::PopupMenu(BarWindow &bar) : m_bar(bar)
{
    connect(bar.Label2(), &ColorLabel::mouseReleased, this, &PopupMenu::Label2_MouseUp);
    connect(&bar, &BarWindow::menusCreated, this, [this](const BarMenus &m) {
        connect(m.mnuAbout, &QAction::triggered, this, &PopupMenu::mnuAbout_Click);
    });
    // "Hide Menu" has no command of its own: choosing it closes the menu.
}

void PopupMenu::Label2_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos)
{
    // At the pointer, its left edge there; not waited for.
    m_bar.menus().titleMainMenu->popup(m_bar.Label2()->mapToGlobal(pos));
}

void PopupMenu::mnuAbout_Click()
{
    emit aboutRequested();
}

} // namespace skylane
