#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

#include <optional>

class QScreen;

namespace skylane {

class AppPaths;
class BarWindow;
class WindowSystem;

// Where the bar stands: the drag handle `Image2` moves it with the window
// system's move (or, where the window manager offers none, by following
// the pointer until the button is released) and the settings are saved
// once, when the move has ended, with the final place. A bar that would
// lie wholly outside every screen is brought back onto the nearest one.
class BarPlacement : public QObject {
    Q_OBJECT
public:
    BarPlacement(BarWindow &bar, WindowSystem &windows, const AppPaths &paths);

    void Image2_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

    // Moves the bar onto the nearest screen when no screen shows any part
    // of it; a bar partly off the screen stays. The settings file is not
    // rewritten for this.
    void keepOnScreen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void save();
    void watchScreen(QScreen *screen);
    void keepOnScreenLater();

    BarWindow &m_bar;
    WindowSystem &m_windows;
    const AppPaths &m_paths;
    // While following the pointer: where the pointer holds the bar, and the
    // button whose release ends the move.
    std::optional<QPoint> m_grabOffset;
    Qt::MouseButton m_grabButton = Qt::NoButton;
};

// Where a bar with `bar` geometry should stand given the screens' areas:
// unchanged when it overlaps any of `screens`, else the nearest place fully
// inside one of `available` (each the usable part of the matching screen).
QPoint placeOnScreens(const QRect &bar, const QList<QRect> &screens, const QList<QRect> &available);

} // namespace skylane
