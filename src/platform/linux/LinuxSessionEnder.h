#pragma once

#include "platform/Services.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>

class QDBusMessage;

namespace skylane {

// Ends the session through systemd-logind and the desktop's session manager.
// Shut down and reboot are logind's PowerOff and Reboot, non-interactive;
// a forced log-off terminates the bar's own logind session; a plain log-off
// asks the desktop's session manager to log out without a confirmation (so
// programs may save their work) and terminates the logind session only where
// no session manager is running. Every call is asynchronous: the bar never
// waits for a bus, and replies are not examined beyond what the next step
// needs; an error reply goes to skylane.session.
class LinuxSessionEnder final : public QObject, public SessionEnder {
    Q_OBJECT
public:
    LinuxSessionEnder() = default;

    void endSession(SessionRequest request) override;

private:
    using ReplyHandler = std::function<void(const QDBusMessage &reply)>;

    void callAsync(const QDBusConnection &bus, const QDBusMessage &call, ReplyHandler onReply = {});
    void callLogind(const QString &method, const QVariantList &arguments);
    void terminateOwnSession();
    void logOff();
};

} // namespace skylane
