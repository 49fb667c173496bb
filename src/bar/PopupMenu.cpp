#include "bar/PopupMenu.h"

#include "bar/BarWindow.h"

#include <QMenu>

namespace skylane {

PopupMenu::PopupMenu(BarWindow &bar) : m_bar(bar)
{
    connect(bar.menuLabel(), &ColorLabel::mouseReleased, this, &PopupMenu::onMenuLabelReleased);
    connect(&bar, &BarWindow::menusCreated, this, [this](const BarMenus &m) {
        connect(m.about, &QAction::triggered, this, &PopupMenu::onAboutChosen);
    });
    // "Hide Menu" has no command of its own: choosing it closes the menu.
}

void PopupMenu::onMenuLabelReleased(Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos)
{
    // At the pointer, its left edge there; not waited for.
    m_bar.menus().mainMenu->popup(m_bar.menuLabel()->mapToGlobal(pos));
}

void PopupMenu::onAboutChosen()
{
    emit aboutRequested();
}

} // namespace skylane
