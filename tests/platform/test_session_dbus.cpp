#include "platform/linux/LinuxSessionEnder.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <tuple>

#include <unistd.h>

using namespace skylane;

// Runs the real session backend against mock services on two private
// buses, one standing in for the system bus and one for the session bus,
// and reads back what the mocks were asked. The test refuses to go on
// unless both buses the backend would use are the private ones: it must
// never reach the machine's real logind or session manager.
class TestSessionDBus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void requestsReachTheMocks_data();
    void requestsReachTheMocks();

private:
    struct Bus {
        std::unique_ptr<QProcess> daemon; // killed with the test object
        QString address;
        QString id;
    };
    struct Mock {
        std::unique_ptr<QProcess> process;
        QString log;
        qsizetype setupLines = 0; // what setting the mock up logged
    };

    bool startBus(Bus &bus);
    // Why the buses this process would use are not the private ones;
    // empty when they are.
    QString notOnPrivateBuses();
    bool startMock(Mock &mock, const QStringList &arguments, const QDBusConnection &bus, const QString &name);
    // The calls the mock logged since it was set up, without time stamps.
    static QStringList calls(const Mock &mock);
    static bool callMock(const QDBusConnection &bus, const QString &service, const QString &path,
                         const QString &method, const QVariantList &arguments);

    QTemporaryDir m_dir;
    Bus m_system;
    Bus m_session;
    Mock m_logind;
    Mock m_sessionManager;
    int m_mockCount = 0;
};

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");

// Desktop session managers (GNOME's is asked end to end): name, path, interface,
// and the log-off method with its argument signature.
const QHash<QString, QStringList> kSessionManagers = {
    {"KDE", {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", ""}},
    {"Xfce", {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Logout", "bb"}},
    {"LXQt", {"org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", ""}}};

QString busId(const QDBusConnection &bus)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
    const QDBusReply<QString> reply = bus.call(call, QDBus::Block, 5000);
    return reply.isValid() ? reply.value() : QString();
}

} // namespace

// Refuses to go on, failing the test, unless both buses are the private ones.
#define REQUIRE_PRIVATE_BUSES()                                                                          \
    QVERIFY2(notOnPrivateBuses().isEmpty(), qPrintable(notOnPrivateBuses() + QStringLiteral("; refusing to run")))

bool TestSessionDBus::startBus(Bus &bus)
{
    bus.daemon = std::make_unique<QProcess>();
    bus.daemon->start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QStringLiteral("--print-address=1")});
    if (!bus.daemon->waitForStarted(10000))
        return false;
    while (!bus.daemon->canReadLine()) {
        if (!bus.daemon->waitForReadyRead(10000))
            return false;
    }
    bus.address = QString::fromUtf8(bus.daemon->readLine()).trimmed();
    // The bus's id as a connection made to this very address sees it.
    const QString name = QStringLiteral("private-%1").arg(quintptr(&bus));
    bus.id = busId(QDBusConnection::connectToBus(bus.address, name));
    QDBusConnection::disconnectFromBus(name);
    return !bus.id.isEmpty();
}

QString TestSessionDBus::notOnPrivateBuses()
{
    if (m_system.address.isEmpty() || m_session.address.isEmpty())
        return QStringLiteral("no private buses");
    // Each variable is checked before the connection it names is opened.
    for (const auto &[bus, variable, system] : {std::tuple{&m_system, "DBUS_SYSTEM_BUS_ADDRESS", true},
                                                std::tuple{&m_session, "DBUS_SESSION_BUS_ADDRESS", false}}) {
        if (qgetenv(variable) != bus->address.toUtf8())
            return QString::fromLatin1(variable) + QStringLiteral(" is not a private bus");
        const QString id = busId(system ? QDBusConnection::systemBus() : QDBusConnection::sessionBus());
        if (id != bus->id)
            return QStringLiteral("the bus in use (%1) is not the private one (%2)").arg(id, bus->id);
    }
    return {};
}

void TestSessionDBus::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(kPython), "needs /usr/bin/python3 with python3-dbusmock");
    QVERIFY2(startBus(m_system), "cannot start a private dbus-daemon");
    QVERIFY2(startBus(m_session), "cannot start a private dbus-daemon");
    // Before anything in this process opens a bus connection.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_system.address.toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_session.address.toUtf8());
    REQUIRE_PRIVATE_BUSES();
}

bool TestSessionDBus::callMock(const QDBusConnection &bus, const QString &service, const QString &path,
                               const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, kMockInterface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
}

bool TestSessionDBus::startMock(Mock &mock, const QStringList &arguments, const QDBusConnection &bus,
                                const QString &name)
{
    mock.log = m_dir.filePath(QStringLiteral("mock%1.log").arg(++m_mockCount));
    mock.process = std::make_unique<QProcess>();
    mock.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mock.process->start(kPython, QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                             QStringLiteral("-l"), mock.log} + arguments);
    if (!mock.process->waitForStarted(10000))
        return false;
    return QTest::qWaitFor([&] { return bus.interface()->isServiceRegistered(name).value(); }, 20000);
}

QStringList TestSessionDBus::calls(const Mock &mock)
{
    QFile file(mock.log);
    if (mock.log.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString call = QString::fromUtf8(line).section(QLatin1Char(' '), 1); // drop the time stamp
        // The mock's Get logs a GetAll of its own; the backend never calls it.
        if (!call.isEmpty() && !call.startsWith(QLatin1String("GetAll ")))
            lines << call;
    }
    return lines.mid(mock.setupLines);
}

void TestSessionDBus::init()
{
    REQUIRE_PRIVATE_BUSES();
    const QDBusConnection system = QDBusConnection::systemBus();
    QVERIFY(startMock(m_logind, {QStringLiteral("--template"), QStringLiteral("logind")}, system,
                      QStringLiteral("org.freedesktop.login1")));
    // The bar's own session, as logind would give it for this process.
    const QString logind = QStringLiteral("org.freedesktop.login1");
    const QString manager = QStringLiteral("/org/freedesktop/login1");
    QVERIFY(callMock(system, logind, manager, QStringLiteral("AddSession"),
                     {QStringLiteral("c7"), QStringLiteral("seat0"), uint(1000), QStringLiteral("tester"), true}));
    QVERIFY(callMock(system, logind, manager, QStringLiteral("AddMethod"),
                     {QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSessionByPID"),
                      QStringLiteral("u"), QStringLiteral("o"),
                      QStringLiteral("ret = '/org/freedesktop/login1/session/c7'")}));
    m_logind.setupLines = calls(m_logind).size();
}

void TestSessionDBus::cleanup()
{
    for (Mock *mock : {&m_logind, &m_sessionManager}) {
        if (mock->process) {
            mock->process->terminate();
            mock->process->waitForFinished(10000);
            mock->process.reset();
        }
        *mock = Mock();
    }
    // The next case must not find this case's names still on the buses.
    const auto gone = [](const QDBusConnection &bus, const QString &name) {
        return QTest::qWaitFor([&] { return !bus.interface()->isServiceRegistered(name).value(); }, 10000);
    };
    QVERIFY(gone(QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1")));
    for (const QStringList &manager : kSessionManagers)
        QVERIFY(gone(QDBusConnection::sessionBus(), manager.first()));
}

void TestSessionDBus::requestsReachTheMocks_data()
{
    const QString pid = QString::number(::getpid());
    const QString byPid = "GetSessionByPID " + pid;
    const QString getId = "Get /org/freedesktop/login1/session/c7 org.freedesktop.login1.Session.Id";
    QTest::addColumn<SessionRequest>("request");
    QTest::addColumn<QByteArray>("xdgSessionId");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("logindCalls");
    QTest::addColumn<QStringList>("sessionManagerCalls");
    // Shut down, reboot, forced and log off with XDG_SESSION_ID, and GNOME's
    // log off run end to end against the same mocks (tests/e2e/test_exit.py).
    QTest::newRow("forced, session of the process")
        << SessionRequest::ForcedLogOff << QByteArray() << "" << QStringList{byPid, getId, "TerminateSession \"c7\""} << QStringList{};
    QTest::newRow("log off, KDE") << SessionRequest::LogOff << QByteArray("5") << "KDE" << QStringList{} << QStringList{"logout"};
    QTest::newRow("log off, Xfce") << SessionRequest::LogOff << QByteArray("5") << "Xfce" << QStringList{}
                                   << QStringList{"Logout False True"};
    QTest::newRow("log off, LXQt") << SessionRequest::LogOff << QByteArray("5") << "LXQt" << QStringList{} << QStringList{"logout"};
    QTest::newRow("log off, no session manager nor XDG_SESSION_ID")
        << SessionRequest::LogOff << QByteArray() << "" << QStringList{byPid, getId, "TerminateSession \"c7\""} << QStringList{};
}

void TestSessionDBus::requestsReachTheMocks()
{
    QFETCH(SessionRequest, request);
    QFETCH(QByteArray, xdgSessionId);
    QFETCH(QString, desktop);
    QFETCH(QStringList, logindCalls);
    QFETCH(QStringList, sessionManagerCalls);

    if (!desktop.isEmpty()) {
        const QStringList sm = kSessionManagers.value(desktop); // name, path, interface, method, signature
        const QDBusConnection session = QDBusConnection::sessionBus();
        QVERIFY(startMock(m_sessionManager, sm.mid(0, 3), session, sm.at(0)));
        QVERIFY(callMock(session, sm.at(0), sm.at(1), QStringLiteral("AddMethod"),
                         {QString(), sm.at(3), sm.at(4), QString(), QString()}));
        m_sessionManager.setupLines = calls(m_sessionManager).size();
    }
    if (xdgSessionId.isEmpty())
        qunsetenv("XDG_SESSION_ID");
    else
        qputenv("XDG_SESSION_ID", xdgSessionId);

    REQUIRE_PRIVATE_BUSES();
    LinuxSessionEnder ender;
    ender.endSession(request);

    const QStringList &awaited = sessionManagerCalls.isEmpty() ? logindCalls : sessionManagerCalls;
    const Mock &awaitedMock = sessionManagerCalls.isEmpty() ? m_logind : m_sessionManager;
    QTRY_VERIFY_WITH_TIMEOUT(calls(awaitedMock).size() >= awaited.size(), 20000);
    // Joined, so that a failure shows the calls themselves.
    QCOMPARE(calls(m_logind).join(QLatin1Char('\n')), logindCalls.join(QLatin1Char('\n')));
    QCOMPARE(calls(m_sessionManager).join(QLatin1Char('\n')), sessionManagerCalls.join(QLatin1Char('\n')));
}

QTEST_GUILESS_MAIN(TestSessionDBus)
#include "test_session_dbus.moc"
