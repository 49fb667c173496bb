#include "platform/linux/X11MinimizeWatch.h"

#include "platform/linux/X11Atoms.h"

#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace skylane {

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// ICCCM WM_STATE values.
constexpr uint32_t kNormalState = 1;
constexpr uint32_t kIconicState = 3;
constexpr int kMaxRequests = 5;

} // namespace

X11MinimizeWatch *X11MinimizeWatch::start(pid_t pid, QObject *parent)
{
    if (pid <= 0)
        return nullptr;
    int screen = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screen);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return nullptr;
    }
    return new X11MinimizeWatch(c, screen, pid, parent);
}

X11MinimizeWatch::X11MinimizeWatch(xcb_connection_t *connection, int screen, pid_t pid, QObject *parent)
    : QObject(parent), m_connection(connection), m_pid(pid)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; it.rem && i < screen; ++i)
        xcb_screen_next(&it);
    if (it.rem)
        m_root = it.data->root;
    const X11Atoms atoms(m_connection);
    m_clientList = atoms.ewmh()._NET_CLIENT_LIST;
    m_wmPid = atoms.ewmh()._NET_WM_PID;
    m_changeState = atoms.wmChangeState();
    m_wmState = atoms.wmState();

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

    // The window may already be listed when the program is very quick.
    checkClientList();
    readEvents();
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
        while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
            if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                continue;
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event.get());
            if (notify->window == m_root && notify->atom == m_clientList)
                listChanged = true;
            else if (notify->window == m_target && notify->atom == m_wmState)
                targetStateChanged = true;
            else if (notify->atom == m_wmPid && m_withoutPid.contains(notify->window))
                pidSet.append(notify->window);
        }
        if (xcb_connection_has_error(m_connection)) {
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
    const auto cookie = xcb_get_property(m_connection, 0, m_root, m_clientList, XCB_ATOM_WINDOW, 0, 4096);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 32)
        return;
    const auto *windows = static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i) {
        const xcb_window_t window = windows[i];
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
    const auto cookie = xcb_get_property(m_connection, 0, window, m_wmPid, XCB_ATOM_CARDINAL, 0, 1);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return static_cast<pid_t>(*static_cast<const uint32_t *>(xcb_get_property_value(reply.get())));
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
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = m_target;
    message.type = m_changeState;
    message.data.data32[0] = kIconicState;
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}

void X11MinimizeWatch::keepIconic()
{
    // A window manager may still be busy mapping the new window and show it
    // after all; ask again while it comes up in the normal state.
    const auto cookie = xcb_get_property(m_connection, 0, m_target, m_wmState, m_wmState, 0, 2);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return;
    const uint32_t state = *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    if (state == kIconicState)
        finish();
    else if (state == kNormalState && m_requests < kMaxRequests)
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
