#include "platform/linux/SystemdScope.h"

#include "core/Logging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QRandomGenerator>

namespace skylane::systemd {

// The a(sv) and a(sa(sv)) arguments of StartTransientUnit.
struct UnitProperty {
    QString name;
    QDBusVariant value;
};
using UnitProperties = QList<UnitProperty>;

struct AuxUnit {
    QString name;
    UnitProperties properties;
};
using AuxUnits = QList<AuxUnit>;

QDBusArgument &operator<<(QDBusArgument &out, const UnitProperty &property)
{
    out.beginStructure();
    out << property.name << property.value;
    out.endStructure();
    return out;
}

const QDBusArgument &operator>>(const QDBusArgument &in, UnitProperty &property)
{
    in.beginStructure();
    in >> property.name >> property.value;
    in.endStructure();
    return in;
}

QDBusArgument &operator<<(QDBusArgument &out, const AuxUnit &unit)
{
    out.beginStructure();
    out << unit.name << unit.properties;
    out.endStructure();
    return out;
}

const QDBusArgument &operator>>(const QDBusArgument &in, AuxUnit &unit)
{
    in.beginStructure();
    in >> unit.name >> unit.properties;
    in.endStructure();
    return in;
}

} // namespace skylane::systemd

Q_DECLARE_METATYPE(skylane::systemd::UnitProperty)
Q_DECLARE_METATYPE(skylane::systemd::AuxUnit)

namespace skylane {

namespace {

// The bar never waits for the answer; this only bounds how long the call is
// remembered.
constexpr int kReplyTimeoutMs = 2000;

// systemd's limit for a unit name.
constexpr qsizetype kUnitNameMax = 255;

bool keptAsIs(char c, qsizetype at)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' || c == '_'
           || (c == '.' && at > 0);
}

QByteArray fileNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

} // namespace

QString scopeNameFor(const QByteArray &programPath, quint64 random)
{
    const QByteArray prefix = "app-skylane-";
    const QByteArray suffix = '-' + QByteArray::number(random, 16).rightJustified(16, '0') + ".scope";
    const QByteArray name = fileNameOf(programPath);
    const qsizetype room = kUnitNameMax - prefix.size() - suffix.size();
    QByteArray escaped;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name.at(i);
        const QByteArray piece = keptAsIs(c, i) ? QByteArray(1, c)
                                                : "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
        if (escaped.size() + piece.size() > room)
            break; // never half an escape
        escaped += piece;
    }
    return QString::fromLatin1(prefix + escaped + suffix);
}

SystemdScopes::SystemdScopes(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    qDBusRegisterMetaType<systemd::UnitProperty>();
    qDBusRegisterMetaType<systemd::UnitProperties>();
    qDBusRegisterMetaType<systemd::AuxUnit>();
    qDBusRegisterMetaType<systemd::AuxUnits>();
}

void SystemdScopes::moveToOwnScope(pid_t pid, const QByteArray &programPath)
{
    if (!m_bus.isConnected()) {
        qCDebug(lcLaunch) << "no session bus: no scope of its own for" << programPath;
        return;
    }
    const QString unit = scopeNameFor(programPath, QRandomGenerator::global()->generate64());
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.systemd1"), QStringLiteral("/org/freedesktop/systemd1"),
        QStringLiteral("org.freedesktop.systemd1.Manager"), QStringLiteral("StartTransientUnit"));
    call.setAutoStartService(false);
    const systemd::UnitProperties properties{
        {QStringLiteral("Description"),
         QDBusVariant(QFile::decodeName(fileNameOf(programPath)) + QStringLiteral(", started from Sky Lane"))},
        {QStringLiteral("PIDs"), QDBusVariant(QVariant::fromValue(QList<uint>{uint(pid)}))},
    };
    call.setArguments({unit, QStringLiteral("fail"), QVariant::fromValue(properties),
                       QVariant::fromValue(systemd::AuxUnits())});

    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, unit, programPath] {
        watcher->deleteLater();
        if (!watcher->isError()) {
            qCDebug(lcLaunch) << programPath << "runs in" << unit;
            return;
        }
        const QDBusError error = watcher->error();
        const QString name = error.name();
        if (name.endsWith(QLatin1String(".ServiceUnknown")) || name.endsWith(QLatin1String(".NameHasNoOwner")))
            qCDebug(lcLaunch) << "no service manager on the session bus:" << programPath << "stays in the bar's group";
        else if (name.endsWith(QLatin1String(".UnixProcessIdUnknown")))
            qCDebug(lcLaunch) << programPath << "ended before its scope was made";
        else
            qCWarning(lcLaunch) << "no scope of its own for" << programPath << "-" << name << error.message();
    });
}

} // namespace skylane
