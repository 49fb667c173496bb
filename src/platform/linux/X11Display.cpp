#include "platform/Platform.h"

#include <QByteArray>

#include <cstdio>

#include <xcb/xcb.h>

namespace skylane {

bool prepareNativeWindowSystem()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    else if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        return true; // the user's own choice stands

    // Qt's xcb plugin would abort with a core dump; a plain answer is kinder.
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!reached) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "skylane: cannot reach the X display %s; Sky Lane needs X11 or XWayland\n",
                     display.isEmpty() ? "(DISPLAY is not set)" : ("\"" + display + "\"").constData());
    }
    return reached;
}

} // namespace skylane
