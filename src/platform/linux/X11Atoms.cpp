#include "platform/linux/X11Atoms.h"

#include "core/Logging.h"
#include "platform/linux/XcbReply.h"

namespace skylane {

namespace {
xcb_atom_t atomOf(xcb_connection_t *c, xcb_intern_atom_cookie_t cookie)
{
    const auto reply = xcbReply(xcb_intern_atom_reply, c, cookie, "InternAtom");
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}
} // namespace

X11Atoms::X11Atoms(xcb_connection_t *connection)
{
    // All requests first, then all replies: one round trip for the lot.
    xcb_intern_atom_cookie_t *ewmhCookies = xcb_ewmh_init_atoms(connection, &m_ewmh);
    const auto state = xcb_intern_atom(connection, 0, 8, "WM_STATE");
    const auto changeState = xcb_intern_atom(connection, 0, 15, "WM_CHANGE_STATE");
    m_ewmhReady = xcb_ewmh_init_atoms_replies(&m_ewmh, ewmhCookies, nullptr) != 0;
    if (!m_ewmhReady) {
        qCWarning(lcX11) << "the server named no EWMH atoms: no window-manager hints";
        m_ewmh = xcb_ewmh_connection_t{};
    }
    m_wmState = atomOf(connection, state);
    m_wmChangeState = atomOf(connection, changeState);
}

X11Atoms::~X11Atoms()
{
    if (m_ewmhReady)
        xcb_ewmh_connection_wipe(&m_ewmh);
}

} // namespace skylane
