#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

namespace skylane {

// The atoms the program uses on one X connection, asked for in one batch:
// the EWMH ones through libxcb-ewmh, and ICCCM's WM_STATE and
// WM_CHANGE_STATE beside them. Every atom is XCB_ATOM_NONE when the server
// did not answer.
class X11Atoms {
public:
    explicit X11Atoms(xcb_connection_t *connection);
    ~X11Atoms();
    X11Atoms(const X11Atoms &) = delete;
    X11Atoms &operator=(const X11Atoms &) = delete;

    const xcb_ewmh_connection_t &ewmh() const { return m_ewmh; }
    xcb_atom_t wmState() const { return m_wmState; }
    xcb_atom_t wmChangeState() const { return m_wmChangeState; }

private:
    xcb_ewmh_connection_t m_ewmh{};
    bool m_ewmhReady = false;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    xcb_atom_t m_wmChangeState = XCB_ATOM_NONE;
};

} // namespace skylane
