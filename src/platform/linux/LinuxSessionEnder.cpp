#include "platform/linux/LinuxSessionEnder.h"

#include "core/Logging.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

#include <array>

#include <unistd.h>

namespace skylane {

namespace {

const QString kLogindService = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");

// A desktop session manager's request to log out at once, without asking.
struct SessionManagerLogout {
    const char *service;
    const char *path;
    const char *interface;
    const char *method;
    QVariantList (*arguments)();
};

// In order of preference when more than one answers.
constexpr std::array<SessionManagerLogout, 4> kSessionManagers = {{
    // Mode 1: log out without a confirmation.
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "Logout",
     [] { return QVariantList{QVariant::fromValue(uint(1))}; }},
    {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", [] { return QVariantList(); }},
    // No dialog; programs may save their state.
    {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Logout",
     [] { return QVariantList{false, true}; }},
    {"org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", [] { return QVariantList(); }},
}};

QDBusMessage logindCall(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kLogindService, kLogindPath, kLogindManager, method);
    call.setArguments(arguments);
    return call;
}

} // namespace

void LinuxSessionEnder::endSession(SessionRequest request)
{
    switch (request) {
    case SessionRequest::Shutdown:
        callLogind(QStringLiteral("PowerOff"), {false});
        break;
    case SessionRequest::Reboot:
        callLogind(QStringLiteral("Reboot"), {false});
        break;
    case SessionRequest::LogOff:
        logOff();
        break;
    case SessionRequest::ForcedLogOff:
        terminateOwnSession();
        break;
    }
}

void LinuxSessionEnder::callAsync(const QDBusConnection &bus, const QDBusMessage &call, ReplyHandler onReply)
{
    if (!bus.isConnected()) {
        qCWarning(lcSession) << "no bus for" << call.service() << call.member() << "-" << bus.lastError().message();
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [watcher, call, onReply = std::move(onReply)] {
                watcher->deleteLater();
                // Refused (no permission, no such session, nobody answering):
                // the dialog stays open and the user may choose again.
                if (watcher->isError())
                    qCWarning(lcSession) << call.service() << call.member() << "refused:" << watcher->error().name()
                                         << watcher->error().message();
                if (onReply)
                    onReply(watcher->reply());
            });
}

void LinuxSessionEnder::callLogind(const QString &method, const QVariantList &arguments)
{
    callAsync(QDBusConnection::systemBus(), logindCall(method, arguments));
}

void LinuxSessionEnder::terminateOwnSession()
{
    const QString sessionId = QString::fromLocal8Bit(qgetenv("XDG_SESSION_ID"));
    if (!sessionId.isEmpty()) {
        callLogind(QStringLiteral("TerminateSession"), {sessionId});
        return;
    }
    // Started outside a login session's environment: ask logind which
    // session this process belongs to, then that session's id.
    const QDBusConnection bus = QDBusConnection::systemBus();
    callAsync(bus, logindCall(QStringLiteral("GetSessionByPID"), {uint(::getpid())}),
              [this, bus](const QDBusMessage &reply) {
                  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
                      return;
                  const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
                  if (path.isEmpty())
                      return;
                  QDBusMessage get = QDBusMessage::createMethodCall(
                      kLogindService, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
                  get.setArguments({QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Id")});
                  callAsync(bus, get, [this](const QDBusMessage &idReply) {
                      if (idReply.type() != QDBusMessage::ReplyMessage || idReply.arguments().isEmpty())
                          return;
                      const QString id = idReply.arguments().constFirst().value<QDBusVariant>().variant().toString();
                      if (!id.isEmpty())
                          callLogind(QStringLiteral("TerminateSession"), {id});
                  });
              });
}

void LinuxSessionEnder::logOff()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        terminateOwnSession();
        return;
    }
    // Asks the bus which names are owned rather than calling a session
    // manager blindly: a call to an absent but activatable name would start
    // that session manager.
    const QDBusMessage listNames = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    callAsync(bus, listNames, [this, bus](const QDBusMessage &reply) {
        const QStringList owned = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                                      ? reply.arguments().constFirst().toStringList()
                                      : QStringList();
        for (const SessionManagerLogout &manager : kSessionManagers) {
            if (!owned.contains(QLatin1String(manager.service)))
                continue;
            QDBusMessage logout = QDBusMessage::createMethodCall(
                QLatin1String(manager.service), QLatin1String(manager.path), QLatin1String(manager.interface),
                QLatin1String(manager.method));
            logout.setArguments(manager.arguments());
            callAsync(bus, logout);
            return;
        }
        terminateOwnSession();
    });
}

} // namespace skylane
