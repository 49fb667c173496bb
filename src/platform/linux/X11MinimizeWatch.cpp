#include "platform/linux/X11MinimizeWatch.h"

#include "core/Logging.h"
#include "platform/linux/XcbReply.h"

#include <QScopeGuard>
#include <QSocketNotifier>

#include <xcb/xcb_icccm.h>

#include <optional>

namespace skylane {

namespace {

constexpr int kMaxRequests = 5;

} // namespace

X11MinimizeWatch *X11MinimizeWatch::start(pid_t pid, QObject *parent)
{
    if (pid <= 0)
        return nullptr;
    int screen = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screen);
    if (!c || xcb_connection_has_error(c)) {
        qCWarning(lcX11) << "no X connection to watch for the window of process" << pid << "- it shows as it likes";
        if (c)
            xcb_disconnect(c);
        return nullptr;
    }
    return new X11MinimizeWatch(c, screen, pid, parent);
}

X11MinimizeWatch::X11MinimizeWatch(xcb_connection_t *connection, int screen, pid_t pid, QObject *parent)
    : QObject(parent), m_connection(connection), m_atoms(connection), m_screen(screen), m_pid(pid)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; it.rem && i < screen; ++i)
        xcb_screen_next(&it);
    if (it.rem)
        m_root = it.data->root;

    // Property changes of the root window tell when the client list grows.
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);

    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11MinimizeWatch::readEvents);

    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &X11MinimizeWatch::finish);
    m_timeout.start();

    // Without the EWMH atoms there is no client list to watch.
    if (!ewmh()) {
        finish();
        return;
    }
    // The window may already be listed when the program is very quick.
    checkClientList();
    readEvents();
}

xcb_ewmh_connection_t *X11MinimizeWatch::ewmh() const
{
    // libxcb-ewmh's getters take the atoms by a non-const pointer but only read them.
    auto *atoms = const_cast<xcb_ewmh_connection_t *>(&m_atoms.ewmh());
    return atoms->connection ? atoms : nullptr;
}

X11MinimizeWatch::~X11MinimizeWatch()
{
    delete m_notifier;
    xcb_disconnect(m_connection);
}

void X11MinimizeWatch::readEvents()
{
    // Each look at a property waits for its reply, and xcb queues the
    // events that arrive meanwhile without the socket turning readable
    // again: drain the queue until a look finds nothing new.
    while (!m_done) {
        bool listChanged = false;
        bool targetStateChanged = false;
        QList<xcb_window_t> pidSet;
        while (const UniqueCPtr<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
            if (event->response_type == 0) {
                // A window of another program was gone before a request about it.
                const auto *error = reinterpret_cast<const xcb_generic_error_t *>(event.get());
                logFailedRequest("a request of the minimize watch", error, XCB_WINDOW);
                continue;
            }
            if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                continue;
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event.get());
            if (notify->window == m_root && notify->atom == ewmh()->_NET_CLIENT_LIST)
                listChanged = true;
            else if (notify->window == m_target && notify->atom == m_atoms.wmState())
                targetStateChanged = true;
            else if (notify->atom == ewmh()->_NET_WM_PID && m_withoutPid.contains(notify->window))
                pidSet.append(notify->window);
        }
        if (xcb_connection_has_error(m_connection)) {
            qCWarning(lcX11) << "the minimize watch lost its X connection";
            finish();
            return;
        }
        if (!listChanged && !targetStateChanged && pidSet.isEmpty())
            return;
        if (targetStateChanged)
            keepIconic();
        for (xcb_window_t window : pidSet) {
            m_withoutPid.remove(window);
            if (m_target == XCB_WINDOW_NONE && belongsToProcess(window))
                iconify(window);
        }
        if (listChanged)
            checkClientList();
    }
}

void X11MinimizeWatch::checkClientList()
{
    if (m_done || m_target != XCB_WINDOW_NONE)
        return;
    xcb_ewmh_get_windows_reply_t list{};
    xcb_generic_error_t *error = nullptr;
    const bool listed = xcb_ewmh_get_client_list_reply(ewmh(), xcb_ewmh_get_client_list(ewmh(), m_screen), &list, &error);
    if (const UniqueCPtr<xcb_generic_error_t> failure(error); !listed) {
        // No list (no window manager that keeps one) is not a failure.
        if (failure || xcb_connection_has_error(m_connection))
            logFailedRequest("GetProperty _NET_CLIENT_LIST", failure.get());
        return;
    }
    const auto wipe = qScopeGuard([&list] { xcb_ewmh_get_windows_reply_wipe(&list); });
    for (uint32_t i = 0; i < list.windows_len; ++i) {
        const xcb_window_t window = list.windows[i];
        if (m_seen.contains(window))
            continue;
        m_seen.insert(window);
        if (!hasPid(window)) {
            // Some toolkits (Xt among them) set _NET_WM_PID only after the
            // window is managed: wait for the property to appear.
            const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
            m_withoutPid.insert(window);
            if (!hasPid(window))
                continue; // its PropertyNotify will come
            m_withoutPid.remove(window);
        }
        if (belongsToProcess(window)) {
            iconify(window);
            return;
        }
    }
}

std::optional<pid_t> X11MinimizeWatch::windowPid(xcb_window_t window)
{
    uint32_t pid = 0;
    xcb_generic_error_t *error = nullptr;
    const bool known = xcb_ewmh_get_wm_pid_reply(ewmh(), xcb_ewmh_get_wm_pid(ewmh(), window), &pid, &error);
    if (const UniqueCPtr<xcb_generic_error_t> failure(error); failure)
        logFailedRequest("GetProperty _NET_WM_PID", failure.get(), XCB_WINDOW);
    if (!known)
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

bool X11MinimizeWatch::hasPid(xcb_window_t window)
{
    return windowPid(window).has_value();
}

bool X11MinimizeWatch::belongsToProcess(xcb_window_t window)
{
    return windowPid(window) == m_pid;
}

void X11MinimizeWatch::iconify(xcb_window_t window)
{
    m_target = window;
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
    requestIconic();
}

void X11MinimizeWatch::requestIconic()
{
    ++m_requests;
    // ICCCM 4.1.4: a WM_CHANGE_STATE message to the root asks the window
    // manager to iconify a managed window.
    const uint32_t iconic = XCB_ICCCM_WM_STATE_ICONIC;
    xcb_ewmh_send_client_message(m_connection, m_target, m_root, m_atoms.wmChangeState(), sizeof iconic, &iconic);
    xcb_flush(m_connection);
}

void X11MinimizeWatch::keepIconic()
{
    // A window manager may still be busy mapping the new window and show it
    // after all; ask again while it comes up in the normal state. WM_STATE
    // is the window manager's own property: libxcb-icccm names its values
    // but has no reader for it.
    const auto cookie = xcb_get_property(m_connection, 0, m_target, m_atoms.wmState(), m_atoms.wmState(), 0, 2);
    const auto reply = xcbReply(xcb_get_property_reply, m_connection, cookie, "GetProperty WM_STATE", XCB_WINDOW);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return;
    const uint32_t state = *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    if (state == XCB_ICCCM_WM_STATE_ICONIC)
        finish();
    else if (state == XCB_ICCCM_WM_STATE_NORMAL && m_requests < kMaxRequests)
        requestIconic();
}

void X11MinimizeWatch::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_timeout.stop();
    m_notifier->setEnabled(false);
    deleteLater();
}

} // namespace skylane
