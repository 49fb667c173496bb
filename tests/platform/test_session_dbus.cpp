#include "platform/linux/LinuxSessionEnder.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace skylane;

namespace {
QString busId(const QDBusConnection &bus)
{
    const QDBusReply<QString> reply = bus.call(QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId"));
    return reply.isValid() ? reply.value() : QString();
}

bool callMock(const QDBusConnection &bus, const QString &service, const QString &path, const QString &method,
              const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, "org.freedesktop.DBus.Mock", method);
    call.setArguments(arguments);
    return bus.call(call).type() == QDBusMessage::ReplyMessage;
}
} // namespace

// Runs the real session backend against mock services on two private buses
// standing in for the system and session buses, and reads back what the
// mocks were asked. It refuses to go on unless both buses the backend would
// use are the private ones: it must never reach the machine's own.
class TestSessionDBus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (auto [bus, variable] : {std::pair{&m_systemBus, "DBUS_SYSTEM_BUS_ADDRESS"},
                                     std::pair{&m_sessionBus, "DBUS_SESSION_BUS_ADDRESS"}}) {
            bus->start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
            QVERIFY(bus->waitForReadyRead(10000));
            const QByteArray address = bus->readLine().trimmed();
            m_ids << busId(QDBusConnection::connectToBus(QString::fromUtf8(address), variable));
            QDBusConnection::disconnectFromBus(variable);
            qputenv(variable, address); // before anything here opens that bus
        }
        QVERIFY2(onPrivateBuses(), "refusing to run: not on the private buses");
    }

    void requestsReachTheMocks_data()
    {
        QTest::addColumn<SessionRequest>("request");
        QTest::addColumn<QStringList>("manager"); // name, path, interface, method, signature
        QTest::addColumn<QStringList>("logindCalls");
        QTest::addColumn<QStringList>("managerCalls");
        QTest::newRow("forced, session of the process")
            << SessionRequest::ForcedLogOff << QStringList()
            << QStringList{"GetSessionByPID " + QString::number(::getpid()),
                           "Get /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.Id",
                           "TerminateSession \"c7\""}
            << QStringList();
        QTest::newRow("log off, Xfce")
            << SessionRequest::LogOff << QStringList{"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Logout", "bb"}
            << QStringList() << QStringList{"Logout False True"};
        QTest::newRow("log off, KDE") << SessionRequest::LogOff << QStringList{"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", ""}
                                      << QStringList() << QStringList{"logout"};
    }
    void requestsReachTheMocks()
    {
        QFETCH(SessionRequest, request);
        QFETCH(QStringList, manager);
        QFETCH(QStringList, logindCalls);
        QFETCH(QStringList, managerCalls);
        const QDBusConnection system = QDBusConnection::systemBus(), session = QDBusConnection::sessionBus();
        const QString logind = "org.freedesktop.login1", logindPath = "/org/freedesktop/login1";
        QProcess logindMock, managerMock;
        QVERIFY(startMock(logindMock, "logind", {"--template", "logind"}, system, logind));
        // The bar's own session, as logind would give it for this process.
        QVERIFY(callMock(system, logind, logindPath, "AddSession", {"c7", "seat0", uint(1000), "tester", true}));
        QVERIFY(callMock(system, logind, logindPath, "AddMethod",
                         {"org.freedesktop.login1.Manager", "GetSessionByPID", "u", "o",
                          "ret = '/org/freedesktop/login1/session/c7'"}));
        if (!manager.isEmpty()) {
            QVERIFY(startMock(managerMock, "manager", manager.mid(0, 3), session, manager.at(0)));
            QVERIFY(callMock(session, manager.at(0), manager.at(1), "AddMethod",
                             {QString(), manager.at(3), manager.at(4), QString(), QString()}));
        }
        const qsizetype logindSetup = calls("logind").size(), managerSetup = calls("manager").size();
        qputenv("XDG_SESSION_ID", manager.isEmpty() ? "" : "5");
        QVERIFY(onPrivateBuses());
        LinuxSessionEnder ender;
        ender.endSession(request);
        QTRY_VERIFY_WITH_TIMEOUT(calls("logind").size() - logindSetup >= logindCalls.size()
                                     && calls("manager").size() - managerSetup >= managerCalls.size(), 20000);
        QTest::qWait(200); // nothing more arrives
        QCOMPARE(calls("logind").mid(logindSetup).join('\n'), logindCalls.join('\n'));
        QCOMPARE(calls("manager").mid(managerSetup).join('\n'), managerCalls.join('\n'));
        for (QProcess *mock : {&logindMock, &managerMock}) {
            mock->terminate();
            mock->waitForFinished(10000);
        }
        QVERIFY(QTest::qWaitFor([&] { return !system.interface()->isServiceRegistered(logind).value(); }, 10000));
        if (!manager.isEmpty())
            QVERIFY(QTest::qWaitFor([&] { return !session.interface()->isServiceRegistered(manager.at(0)).value(); }, 10000));
    }

private:
    bool onPrivateBuses()
    {
        return !m_ids.contains(QString()) && busId(QDBusConnection::systemBus()) == m_ids.at(0)
               && busId(QDBusConnection::sessionBus()) == m_ids.at(1);
    }
    bool startMock(QProcess &mock, const QString &log, const QStringList &arguments, const QDBusConnection &bus,
                   const QString &name)
    {
        QFile::remove(m_dir.filePath(log));
        mock.start("/usr/bin/python3", QStringList{"-m", "dbusmock", "-l", m_dir.filePath(log)} + arguments);
        return mock.waitForStarted(10000)
               && QTest::qWaitFor([&] { return bus.interface()->isServiceRegistered(name).value(); }, 20000);
    }
    // The calls a mock logged, without time stamps.
    QStringList calls(const QString &log)
    {
        QFile file(m_dir.filePath(log));
        QStringList lines;
        for (const QByteArray &line : file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList()) {
            const QString call = QString::fromUtf8(line).section(' ', 1);
            if (!call.isEmpty() && !call.startsWith("GetAll ")) // the mock's Get logs one of its own
                lines << call;
        }
        return lines;
    }

    QTemporaryDir m_dir;
    QProcess m_systemBus, m_sessionBus;
    QStringList m_ids; // of the private buses
};

QTEST_GUILESS_MAIN(TestSessionDBus)
#include "test_session_dbus.moc"
