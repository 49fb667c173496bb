#pragma once

#include <QObject>
#include <QPoint>

namespace skylane {

class BarWindow;

// The bar's popup menu `mainMenu`, opened by a release of any mouse
// button over the "MENU" label, and its own entries: "Hide Menu", which
// only closes the menu, and "About".
class PopupMenu : public QObject {
    Q_OBJECT
public:
    explicit PopupMenu(BarWindow &bar);

    void onMenuLabelReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void onAboutChosen();

signals:
    // "About" was chosen: the start-up window should show.
    void aboutRequested();

private:
    BarWindow &m_bar;
};

} // namespace skylane
