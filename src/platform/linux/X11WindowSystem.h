#pragma once

#include "platform/WindowSystem.h"

namespace skylane {

// Stacking through the window's flags on its QWindow (no re-creation, no
// hide) and the EWMH states the bar needs, set through xcb before it maps.
class X11WindowSystem final : public WindowSystem {
public:
    void prepareBarWindow(QWidget *bar) override;
    void prepareStartupWindow(QWidget *window) override;
    void setTopmost(QWidget *window, bool topmost) override;
    bool startSystemMove(QWidget *window, std::function<void()> ended) override;
};

} // namespace skylane
