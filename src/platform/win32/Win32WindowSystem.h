#pragma once

#include "platform/WindowSystem.h"

namespace skylane {

// Stacking, taskbar presence and the caption move of borderless windows
// through the window's native handle.
class Win32WindowSystem final : public WindowSystem {
public:
    void prepareBarWindow(QWidget *bar) override;
    void prepareStartupWindow(QWidget *window) override;
    void setTopmost(QWidget *window, bool topmost) override;
    bool startSystemMove(QWidget *window, std::function<void()> ended) override;
};

} // namespace skylane
