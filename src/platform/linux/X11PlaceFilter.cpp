#include "platform/linux/X11PlaceFilter.h"

#include "platform/linux/XcbReply.h"

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstring>

namespace skylane {

namespace {

constexpr uint8_t kSentEvent = 0x80;

// Only the program's own top-level windows: a child window's notify is
// relative to its parent, and Qt reads it so whatever the flag says.
bool isTopLevel(xcb_window_t window)
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [window](const QWindow *w) {
        return w->handle() && !w->parent() && static_cast<xcb_window_t>(w->winId()) == window;
    });
}

} // namespace

X11PlaceFilter::X11PlaceFilter(xcb_connection_t *connection) : m_connection(connection) {}

bool X11PlaceFilter::isRoot(xcb_window_t window) const
{
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); it.rem; xcb_screen_next(&it)) {
        if (it.data->root == window)
            return true;
    }
    return false;
}

bool X11PlaceFilter::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    switch (event->response_type & ~kSentEvent) {
    case XCB_REPARENT_NOTIFY: {
        const auto *e = reinterpret_cast<const xcb_reparent_notify_event_t *>(event);
        if (e->event != e->window)
            break;
        if (isRoot(e->parent))
            m_framed.remove(e->window);
        else if (isTopLevel(e->window))
            m_framed.insert(e->window);
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto *e = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
        if (!(event->response_type & kSentEvent) && e->event == e->window && !m_framed.contains(e->window)
            && isTopLevel(e->window))
            event->response_type |= kSentEvent;
        break;
    }
    case XCB_MAP_NOTIFY: {
        const auto *e = reinterpret_cast<const xcb_map_notify_event_t *>(event);
        if (e->event == e->window && m_framed.contains(e->window))
            sendPlace(e->window);
        break;
    }
    case XCB_DESTROY_NOTIFY:
        m_framed.remove(reinterpret_cast<const xcb_destroy_notify_event_t *>(event)->window);
        break;
    default:
        break;
    }
    return false;
}

void X11PlaceFilter::sendPlace(xcb_window_t window) const
{
    xcb_connection_t *c = m_connection;
    const auto geometry = xcbReply(xcb_get_geometry_reply, c, xcb_get_geometry(c, window), "GetGeometry");
    if (!geometry)
        return;
    const auto place = xcbReply(xcb_translate_coordinates_reply, c,
                                xcb_translate_coordinates(c, window, geometry->root, 0, 0), "TranslateCoordinates");
    if (place) {
        xcb_configure_notify_event_t notify{};
        notify.response_type = XCB_CONFIGURE_NOTIFY;
        notify.event = window;
        notify.window = window;
        notify.above_sibling = XCB_NONE;
        notify.x = place->dst_x;
        notify.y = place->dst_y;
        notify.width = geometry->width;
        notify.height = geometry->height;
        notify.border_width = geometry->border_width;
        // The server copies 32 bytes, more than the notify's own.
        std::array<char, 32> bytes{};
        static_assert(sizeof notify <= sizeof bytes);
        std::memcpy(bytes.data(), &notify, sizeof notify);
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_STRUCTURE_NOTIFY, bytes.data());
        xcb_flush(c);
    }
}

} // namespace skylane
