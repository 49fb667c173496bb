#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <sys/types.h>

namespace skylane {

// The name of the scope a program started from the bar runs in, after the
// desktops' convention: "app-skylane-<name>-<random>.scope", where <name> is
// the file name of `programPath` escaped as systemd-escape does (every byte
// outside [A-Za-z0-9:_.], and a leading '.', becomes \xNN) and cut so that the
// whole name keeps within systemd's 255 characters; <random> is `random` as
// 16 hex digits.
QString scopeNameFor(const QByteArray &programPath, quint64 random);

// Moves each started program into a transient scope of its own under the
// user's service manager (org.freedesktop.systemd1 on the session bus), so
// that it outlives the bar's own unit when that stops or fails. The call is
// asynchronous and never activates a service; without a service manager, or
// when it refuses or does not answer within two seconds, the program simply
// stays where it started, and the failure goes to skylane.launch.
class SystemdScopes final : public QObject {
    Q_OBJECT
public:
    explicit SystemdScopes(const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    void moveToOwnScope(pid_t pid, const QByteArray &programPath);

private:
    QDBusConnection m_bus;
};

} // namespace skylane
