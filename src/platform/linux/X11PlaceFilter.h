#pragma once

#include <QAbstractNativeEventFilter>
#include <QSet>

#include <xcb/xcb.h>

namespace skylane {

// Keeps Qt's idea of where the program's top-level windows are equal to
// where the X server has them.
//
// Qt's xcb backend reads the place of a top-level window from a synthetic
// ConfigureNotify as it stands, but for a real one it asks the server where
// the window is at the moment it handles the event, taking the event's
// coordinates to be relative to a window manager's frame. The answer can
// belong to a later state than the event. A window that is configured just
// before it maps gets a real notify while its parent is still the root; when
// the program handles it only after the window manager has reparented the
// window into a new frame, openbox has that frame at (0, 0) until it places
// it, and the answer is (0, 0). Openbox then puts the frame where the window
// asked to be and sends no synthetic notify, since the window's place did not
// change in its eyes: Qt keeps (0, 0), and the next resize or move the
// program asks for starts from there.
//
// So, seen before Qt handles them, in the order the server sent them:
// - a real ConfigureNotify of a window whose parent is still the root carries
//   root coordinates: it is marked as sent, and Qt takes them as they stand;
// - once a reparented window is mapped its frame is in place: the window's
//   place as the server has it then is sent to the window itself, as a window
//   manager does after it moves a frame.
class X11PlaceFilter final : public QAbstractNativeEventFilter {
public:
    explicit X11PlaceFilter(xcb_connection_t *connection);
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    bool isRoot(xcb_window_t window) const;
    void sendPlace(xcb_window_t window) const;

    xcb_connection_t *m_connection;
    QSet<xcb_window_t> m_framed;
};

} // namespace skylane
