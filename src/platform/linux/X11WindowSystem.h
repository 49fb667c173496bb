#pragma once

#include "platform/WindowSystem.h"

#include <memory>

struct xcb_connection_t;

namespace skylane {

class X11Atoms;
class X11PlaceFilter;

// Stacking through the window's flags on its QWindow (no re-creation, no
// hide) and the EWMH states the bar needs, set through xcb before it maps.
// From the first window it prepares on, Qt's idea of where the program's
// windows are is kept to the server's (X11PlaceFilter).
class X11WindowSystem final : public WindowSystem {
public:
    X11WindowSystem();
    ~X11WindowSystem() override;

    void prepareBarWindow(QWidget *bar) override;
    void prepareStartupWindow(QWidget *window) override;
    void setTopmost(QWidget *window, bool topmost) override;
    bool startSystemMove(QWidget *window, std::function<void()> ended) override;

private:
    void keepPlacesFromServer();
    // The atoms of the program's X connection, asked for at the first use
    // on it; null when the program runs on no X connection.
    const X11Atoms *atoms();

    std::unique_ptr<X11PlaceFilter> m_placeFilter;
    std::unique_ptr<X11Atoms> m_atoms;
    xcb_connection_t *m_atomsConnection = nullptr;
};

} // namespace skylane
