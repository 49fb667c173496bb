#include "platform/linux/DesktopEntry.h"

#include "core/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <glib.h>

namespace skylane {

namespace {

constexpr const char *kGroup = "Desktop Entry";

QString takeString(gchar *value)
{
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

// The words of an Exec= value, split as GLib splits them for a launch.
QStringList execWords(const QString &exec)
{
    gchar **argv = nullptr;
    if (!g_shell_parse_argv(exec.toUtf8().constData(), nullptr, &argv, nullptr))
        return {};
    QStringList words;
    for (gchar **word = argv; *word; ++word)
        words << QString::fromUtf8(*word);
    g_strfreev(argv);
    return words;
}

bool isFieldCode(const QString &word)
{
    return word.size() == 2 && word.at(0) == u'%' && QStringLiteral("fFuUickdDnNvm").contains(word.at(1));
}

// The launcher a Flatpak application exports, from the user's installation
// first, then the system's.
QString flatpakLauncher(const QString &appId)
{
    // An id is a dotted name; anything that could leave the folder is not one.
    if (appId.contains(u'/') || appId.startsWith(u'.'))
        return {};
    for (const QString &installation : {userDataFolder() + QStringLiteral("/flatpak"), QStringLiteral("/var/lib/flatpak")}) {
        const QString launcher = installation + QStringLiteral("/exports/bin/") + appId;
        if (files::at(QFile::encodeName(launcher)).isProgram())
            return launcher;
    }
    return {};
}

} // namespace

std::optional<DesktopEntry> readDesktopEntry(const QByteArray &path)
{
    // Read through our own non-blocking open: GLib's would wait on a FIFO.
    const std::optional<QByteArray> content = files::readRegular(path);
    if (!content)
        return std::nullopt;
    GKeyFile *file = g_key_file_new();
    std::optional<DesktopEntry> entry;
    if (g_key_file_load_from_data(file, content->constData(), gsize(content->size()), G_KEY_FILE_NONE, nullptr)
        && g_key_file_has_group(file, kGroup)) {
        const auto text = [file](const char *key) { return takeString(g_key_file_get_string(file, kGroup, key, nullptr)); };
        entry.emplace();
        entry->name = takeString(g_key_file_get_locale_string(file, kGroup, "Name", nullptr, nullptr));
        entry->exec = text("Exec");
        entry->tryExec = text("TryExec");
        entry->icon = text("Icon");
        entry->flatpakId = text("X-Flatpak");
        entry->terminal = g_key_file_get_boolean(file, kGroup, "Terminal", nullptr);
        entry->hidden = g_key_file_get_boolean(file, kGroup, "Hidden", nullptr);
    }
    g_key_file_free(file);
    return entry;
}

QString execProgram(const QString &exec)
{
    const QStringList words = execWords(exec);
    qsizetype i = 0;
    if (i < words.size() && QFileInfo(words.at(i)).fileName() == QLatin1String("env")) {
        ++i;
        while (i < words.size() && (words.at(i).contains(u'=') || words.at(i).startsWith(u'-'))) {
            // Options of env that take the next word as their value.
            const QString &w = words.at(i);
            const bool takesValue = w == QLatin1String("-u") || w == QLatin1String("--unset")
                                    || w == QLatin1String("-C") || w == QLatin1String("--chdir");
            i += takesValue ? 2 : 1;
        }
    }
    return i < words.size() ? words.at(i) : QString();
}

QString resolveProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    if (QDir::isAbsolutePath(program))
        return QDir::cleanPath(program);
    if (program.contains(u'/'))
        return {}; // relative to no folder we could know
    return QStandardPaths::findExecutable(program);
}

QString programOfDesktopEntry(const QString &path)
{
    const std::optional<DesktopEntry> entry = readDesktopEntry(QFile::encodeName(path));
    if (!entry || entry->terminal)
        return {};
    QString program;
    if (!entry->flatpakId.isEmpty()) {
        program = flatpakLauncher(entry->flatpakId);
    } else {
        const QStringList words = execWords(entry->exec);
        for (qsizetype i = 1; i < words.size(); ++i)
            if (!isFieldCode(words.at(i)))
                return {};
        program = resolveProgram(words.value(0));
    }
    return !program.isEmpty() && files::at(QFile::encodeName(program)).isProgram() ? program : QString();
}

QString userDataFolder()
{
    const QString value = qEnvironmentVariable("XDG_DATA_HOME");
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + QStringLiteral("/.local/share");
}

} // namespace skylane
