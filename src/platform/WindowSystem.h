#pragma once

#include <Qt>

#include <functional>

class QWidget;

namespace skylane {

// The window flags of the program's borderless windows on every system.
inline constexpr Qt::WindowFlags kBarWindowFlags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                                   | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
inline constexpr Qt::WindowFlags kStartupWindowFlags = Qt::Window | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;

// Stacking, taskbar presence and moving of the program's borderless windows.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Called once before the bar is first shown: no frame, no taskbar or
    // pager entry, above normal windows, never takes the keyboard focus.
    virtual void prepareBarWindow(QWidget *bar) = 0;
    // Called before each showing of the start-up window: no title bar, no
    // taskbar or pager entry, a normal stacking layer.
    virtual void prepareStartupWindow(QWidget *window) = 0;
    // Puts a shown or hidden window into the top layer or back into the
    // normal one, without hiding or re-creating it.
    virtual void setTopmost(QWidget *window, bool topmost) = 0;
    // Lets the window manager move the window with the pointer until the
    // mouse button is released; false when it offers no such move. Otherwise
    // `ended` runs once, after the release, with the window at its final place.
    virtual bool startSystemMove(QWidget *window, std::function<void()> ended) = 0;
};

} // namespace skylane
