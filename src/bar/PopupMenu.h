#pragma once

#include <QObject>
#include <QPoint>

namespace skylane {

class BarWindow;

// The bar's popup menu `titleMainMenu`, opened by a release of any mouse
// button over the "MENU" label, and its own entries: "Hide Menu", which
// only closes the menu, and "About".
class PopupMenu : public QObject {
    Q_OBJECT
public:
    explicit PopupMenu(BarWindow &bar);

    void Label2_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mnuAbout_Click();

signals:
    // "About" was chosen: the start-up window should show.
    void aboutRequested();

private:
    BarWindow &m_bar;
};

} // namespace skylane
