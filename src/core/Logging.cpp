#include "core/Logging.h"

namespace skylane {

// Debug lines are off unless a rule turns them on; warnings are always on.
Q_LOGGING_CATEGORY(lcFiles, "skylane.files", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLaunch, "skylane.launch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSession, "skylane.session", QtInfoMsg)
Q_LOGGING_CATEGORY(lcX11, "skylane.x11", QtInfoMsg)

} // namespace skylane
