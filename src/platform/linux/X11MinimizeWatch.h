#pragma once

#include "platform/linux/X11Atoms.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <sys/types.h>

#include <optional>

class QSocketNotifier;

namespace skylane {

// Waits for the first top-level window of a newly started process to appear
// and asks the window manager to iconify it, so a program started from the
// bar comes up minimized. The window is recognised by its _NET_WM_PID when
// it joins the root window's _NET_CLIENT_LIST (or when a listed window gets
// that property later). Until the window manager reports the window iconic
// the request is repeated, as a window manager still mapping the window may
// show it after all. The watch runs on a private X connection, driven by its
// events, gives up after a few seconds and deletes itself when done.
class X11MinimizeWatch final : public QObject {
    Q_OBJECT
public:
    // Starts watching for `pid` on the default display; returns nullptr
    // when there is no X display to watch.
    static X11MinimizeWatch *start(pid_t pid, QObject *parent);
    ~X11MinimizeWatch() override;

    static constexpr int kTimeoutMs = 5000;

private:
    X11MinimizeWatch(xcb_connection_t *connection, int screen, pid_t pid, QObject *parent);

    void readEvents();
    void checkClientList();
    std::optional<pid_t> windowPid(xcb_window_t window);
    bool hasPid(xcb_window_t window);
    bool belongsToProcess(xcb_window_t window);
    void iconify(xcb_window_t window);
    void requestIconic();
    void keepIconic();
    void finish();

    xcb_ewmh_connection_t *ewmh() const;

    xcb_connection_t *m_connection;
    X11Atoms m_atoms;
    int m_screen;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    pid_t m_pid;
    xcb_window_t m_target = XCB_WINDOW_NONE; // the window being iconified
    int m_requests = 0;
    QSet<xcb_window_t> m_seen;
    QSet<xcb_window_t> m_withoutPid; // listed, _NET_WM_PID not set yet
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_timeout;
    bool m_done = false;
};

} // namespace skylane
