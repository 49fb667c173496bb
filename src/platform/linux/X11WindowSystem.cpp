#include "platform/linux/X11WindowSystem.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/linux/X11Atoms.h"
#include "platform/linux/X11PlaceFilter.h"
#include "platform/linux/XcbReply.h"

#include <initializer_list>
#include <vector>

namespace skylane {

namespace {

xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Sets _NET_WM_STATE on a window that is not mapped yet; the window manager
// reads it when the window maps. The manager drops the property when a
// window is withdrawn, so a window shown again needs it set again.
void setInitialNetWmState(QWidget *window, const X11Atoms *atoms,
                          std::initializer_list<xcb_atom_t xcb_ewmh_connection_t::*> stateNames)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !atoms)
        return;
    const xcb_ewmh_connection_t &ewmh = atoms->ewmh();
    if (!ewmh.connection) // the server did not answer for the atoms
        return;
    std::vector<xcb_atom_t> states;
    for (const auto name : stateNames)
        states.push_back(ewmh.*name);
    xcb_ewmh_set_wm_state(const_cast<xcb_ewmh_connection_t *>(&ewmh), static_cast<xcb_window_t>(window->winId()),
                          static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(ewmh.connection);
}

// The window manager holds the pointer during its move, so the program sees
// no release: it asks the server for the button state until none is held.
void watchForRelease(QWidget *window, std::function<void()> ended)
{
    constexpr int kPollMs = 20;
    constexpr uint16_t kAnyButton = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3
                                    | XCB_BUTTON_MASK_4 | XCB_BUTTON_MASK_5;
    auto *poll = new QTimer(window);
    poll->setInterval(kPollMs);
    QObject::connect(poll, &QTimer::timeout, window, [poll, window, ended = std::move(ended)] {
        xcb_connection_t *c = x11Connection();
        if (c) {
            const auto reply = xcbReply(xcb_query_pointer_reply, c,
                                        xcb_query_pointer(c, static_cast<xcb_window_t>(window->winId())), "QueryPointer");
            if (reply && (reply->mask & kAnyButton))
                return;
        }
        poll->deleteLater();
        poll->stop();
        // The reply came after every move the manager made; handling the
        // events queued before it puts the window at its final place.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        ended();
    });
    poll->start();
}

} // namespace

X11WindowSystem::X11WindowSystem() = default;

X11WindowSystem::~X11WindowSystem() = default;

void X11WindowSystem::keepPlacesFromServer()
{
    if (m_placeFilter || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (xcb_connection_t *c = x11Connection()) {
        m_placeFilter = std::make_unique<X11PlaceFilter>(c);
        qGuiApp->installNativeEventFilter(m_placeFilter.get());
    }
}

const X11Atoms *X11WindowSystem::atoms()
{
    xcb_connection_t *c = x11Connection();
    if (c && c != m_atomsConnection) {
        m_atoms = std::make_unique<X11Atoms>(c);
        m_atomsConnection = c;
    }
    return c ? m_atoms.get() : nullptr;
}

void X11WindowSystem::prepareBarWindow(QWidget *bar)
{
    keepPlacesFromServer();
    bar->setWindowFlags(kBarWindowFlags);
    bar->setAttribute(Qt::WA_ShowWithoutActivating);
    setInitialNetWmState(bar, atoms(),
                         {&xcb_ewmh_connection_t::_NET_WM_STATE_SKIP_TASKBAR,
                          &xcb_ewmh_connection_t::_NET_WM_STATE_SKIP_PAGER,
                          &xcb_ewmh_connection_t::_NET_WM_STATE_ABOVE});
}

void X11WindowSystem::prepareStartupWindow(QWidget *window)
{
    keepPlacesFromServer();
    // Setting the same flags again would re-create a hidden native window.
    if (window->windowFlags() != kStartupWindowFlags)
        window->setWindowFlags(kStartupWindowFlags);
    if (window->isVisible())
        return;
    setInitialNetWmState(window, atoms(),
                         {&xcb_ewmh_connection_t::_NET_WM_STATE_SKIP_TASKBAR,
                          &xcb_ewmh_connection_t::_NET_WM_STATE_SKIP_PAGER});
}

void X11WindowSystem::setTopmost(QWidget *window, bool topmost)
{
    QWindow *handle = window->windowHandle();
    if (!handle) {
        // Not created yet: the flag is taken over when the window is created.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        return;
    }
    // Changing the flags of the QWindow keeps the native window mapped;
    // QWidget::setWindowFlags would hide and re-create it.
    Qt::WindowFlags flags = handle->flags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (flags != handle->flags())
        handle->setFlags(flags);
    if (topmost)
        handle->raise();
}

bool X11WindowSystem::startSystemMove(QWidget *window, std::function<void()> ended)
{
    QWindow *handle = window->windowHandle();
    if (!handle || !handle->startSystemMove())
        return false;
    watchForRelease(window, std::move(ended));
    return true;
}

} // namespace skylane
