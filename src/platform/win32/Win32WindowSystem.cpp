#include "platform/win32/Win32WindowSystem.h"

#include <QWidget>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace skylane {

namespace {

HWND nativeHandle(QWidget *window)
{
    return reinterpret_cast<HWND>(window->winId());
}

// A tool window has no taskbar button. Set on the hidden window: the
// taskbar looks at the style when the window is shown.
void leaveOffTaskbar(QWidget *window)
{
    const HWND handle = nativeHandle(window);
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_EXSTYLE);
    if ((style & WS_EX_TOOLWINDOW) == 0)
        SetWindowLongPtrW(handle, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~LONG_PTR(WS_EX_APPWINDOW));
}

// A system menu on a borderless window changes nothing on screen; it makes
// the window one that wine hands to the X window manager, which then keeps
// it above others and off the taskbar as Windows does. Without it wine
// shows the window unmanaged, with neither.
constexpr Qt::WindowFlags kBorderless = Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
                                        | Qt::NoDropShadowWindowHint;

} // namespace

void Win32WindowSystem::prepareBarWindow(QWidget *bar)
{
    bar->setWindowFlags(kBorderless | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    bar->setAttribute(Qt::WA_ShowWithoutActivating);
    leaveOffTaskbar(bar);
}

void Win32WindowSystem::prepareStartupWindow(QWidget *window)
{
    const Qt::WindowFlags flags = kBorderless;
    // Setting the same flags again would re-create a hidden native window.
    if (window->windowFlags() != flags)
        window->setWindowFlags(flags);
    if (!window->isVisible())
        leaveOffTaskbar(window);
}

void Win32WindowSystem::setTopmost(QWidget *window, bool topmost)
{
    if (!window->testAttribute(Qt::WA_WState_Created)) {
        // Not created yet: the flag is taken over when the window is created.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        return;
    }
    SetWindowPos(nativeHandle(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32WindowSystem::startSystemMove(QWidget *window, std::function<void()> ended)
{
    // As if the caption had been grabbed: the call returns once the button
    // is released, with the window where it was dropped.
    ReleaseCapture();
    SendMessageW(nativeHandle(window), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    ended();
    return true;
}

} // namespace skylane
