#pragma once

#include "core/Logging.h"
#include "platform/linux/UniqueCPtr.h"

#include <xcb/xcb.h>

namespace skylane {

// Tells skylane.x11 that `request` got no reply: the server's error, or a
// lost connection when there is none. A warning, or only a debug line when
// the error is `expected` (BadWindow for a window of another program, which
// may be gone by the time it is asked about).
inline void logFailedRequest(const char *request, const xcb_generic_error_t *error, int expected = -1)
{
    if (!error)
        qCWarning(lcX11) << request << "got no reply: the X connection is lost";
    else if (error->error_code == expected)
        qCDebug(lcX11) << request << "failed with X error" << error->error_code;
    else
        qCWarning(lcX11) << request << "failed with X error" << error->error_code << "on resource"
                         << Qt::hex << error->resource_id;
}

// Waits for the reply to `cookie` through `getReply` (one of xcb's
// xcb_…_reply functions); no reply is logged as logFailedRequest says.
template <typename Reply, typename Cookie>
UniqueCPtr<Reply> xcbReply(Reply *(*getReply)(xcb_connection_t *, Cookie, xcb_generic_error_t **),
                           xcb_connection_t *connection, Cookie cookie, const char *request, int expected = -1)
{
    xcb_generic_error_t *error = nullptr;
    UniqueCPtr<Reply> reply(getReply(connection, cookie, &error));
    const UniqueCPtr<xcb_generic_error_t> failure(error);
    if (!reply)
        logFailedRequest(request, failure.get(), expected);
    return reply;
}

} // namespace skylane
