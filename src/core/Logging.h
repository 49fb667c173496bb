#pragma once

#include <QLoggingCategory>

// The program's logging categories, one per area. Warnings show by default;
// the debug lines of an area only when asked for, e.g.
// QT_LOGGING_RULES="skylane.*.debug=true".
//
//   skylane.files    saves that failed, copies made at the first start
//   skylane.launch   programs that could not start, where started ones went
//   skylane.session  requests to end the session that were refused
//   skylane.x11      X requests that failed and were passed over
namespace skylane {

Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcLaunch)
Q_DECLARE_LOGGING_CATEGORY(lcSession)
Q_DECLARE_LOGGING_CATEGORY(lcX11)

} // namespace skylane
