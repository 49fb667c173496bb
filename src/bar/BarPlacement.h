#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

#include <optional>

class QScreen;

namespace skylane {

class AppPaths;
class ConfigWriter;
class BarWindow;
class WindowSystem;

// Where the bar stands: the drag handle moves it with the window
// system's move (or, where the window manager offers none, by following
// the pointer until the button is released) and the settings are saved
// once, when the move has ended, with the final place. Outside a drag the
// bar's own controls, its left end, are kept wholly on the screens: after
// every build and at start a bar that would leave them off is moved back.
class BarPlacement : public QObject {
    Q_OBJECT
public:
    BarPlacement(BarWindow &bar, WindowSystem &windows, const AppPaths &paths, ConfigWriter &writer);

    void onDragHandlePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

    // Moves the bar to the nearest place where its controls lie wholly on a
    // screen, when they do not; its buttons may still run off the screen.
    // The settings file is not rewritten for this.
    void keepOnScreen();

    // The bar's own controls: caption, status light, "MENU", drag handle.
    static constexpr int kControlsWidthTwips = 1455;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void save();
    void watchScreen(QScreen *screen);
    void keepOnScreenLater();

    BarWindow &m_bar;
    WindowSystem &m_windows;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
    // While following the pointer: where the pointer holds the bar, and the
    // button whose release ends the move.
    std::optional<QPoint> m_grabOffset;
    bool m_systemMove = false;
    Qt::MouseButton m_grabButton = Qt::NoButton;
};

// Where controls at `controls` should stand given the screens' areas:
// unchanged when `screens` together show all of them, else the nearest place
// fully inside one of `available` (each the usable part of the matching screen).
QPoint placeOnScreens(const QRect &controls, const QList<QRect> &screens, const QList<QRect> &available);

} // namespace skylane
