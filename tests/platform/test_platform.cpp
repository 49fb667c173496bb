#include "artwork/Artwork.h"
#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "buttons/ButtonRow.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/Files.h"
#include "core/TextFile.h"
#include "platform/Platform.h"
#include "platform/linux/DesktopEntryIndex.h"
#include "platform/linux/DetachedProcess.h"
#include "platform/linux/LinuxProgramIcons.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/SystemdScope.h"
#include "startup/FirstRun.h"
#include "support/TestApp.h"

#include <QDir>
#include <QScopeGuard>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace skylane;

namespace {
void writePng(const QString &path, QColor color)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(color);
    QVERIFY(image.save(path, "PNG"));
}

QString describe(const QIcon &icon)
{
    if (icon.isNull())
        return "none";
    if (!icon.name().isEmpty())
        return "theme:" + icon.name();
    const QImage picture = icon.pixmap(QSize(16, 16)).toImage();
    if (picture == artworkIcon("program", QSize(16, 16)).pixmap(QSize(16, 16)).toImage())
        return "generic";
    const QString colour = picture.pixelColor(8, 8).name();
    // The test theme's pictures, read from its folders.
    if (colour == "#ff0000" || colour == "#0000ff")
        return colour == "#ff0000" ? "theme:entry-icon" : "theme:text-x-script";
    return "file:" + colour;
}
} // namespace

// Text files and the program folder, starting programs and their icons.
class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void linesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::newRow("empty middle line") << QByteArray("a\r\n\r\nc\r\n") << QByteArrayList{"a", "", "c"};
        QTest::newRow("lone LF, lone CR inside") << QByteArray("a\rb\nc") << QByteArrayList{"a\rb", "c"};
        QTest::newRow("NUL and not UTF-8") << QByteArray("\0\xe4\xff\r\n", 5) << QByteArrayList{QByteArray("\0\xe4\xff", 3)};
    }
    void linesRoundTrip()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArrayList, lines);
        QCOMPARE(textfile::splitLines(content), lines);
        const QByteArray path = m_root + "/f.cfg";
        QVERIFY(textfile::writeLines(path, lines));
        QCOMPARE(textfile::readLines(path).value(), lines);
        QVERIFY(textfile::joinLines(lines).endsWith("\r\n"));
    }

    void configFolderOfAnySpelling()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("CONFIG"));
        const QByteArray root = QFile::encodeName(dir.path());
        QVERIFY(textfile::writeLines(root + "/CONFIG/INET.CFG", {"/bin/sh"}));
        const AppPaths paths(root + '/');
        QCOMPARE(paths.settingsFile(), root + "/CONFIG/prg.cfg");
        QCOMPARE(paths.categoryFile("Inet"), root + "/CONFIG/INET.CFG");
    }

    // A program folder the user cannot write keeps the configuration in the
    // user's own place, made at the first start as a copy of the program's
    // config (regular files and links within it only); the help page stays
    // with the program; a writable one changes nothing.
    void configInTheUsersPlaceBesideAReadOnlyProgram_data()
    {
        QTest::addColumn<QByteArray>("xdgConfigHome");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("XDG_CONFIG_HOME") << QByteArray("/xdg/") << QByteArray("/xdg/skylane/config");
        QTest::newRow("relative, ignored") << QByteArray("xdg") << QByteArray("/home/.config/skylane/config");
        QTest::newRow("unset") << QByteArray() << QByteArray("/home/.config/skylane/config");
    }
    void configInTheUsersPlaceBesideAReadOnlyProgram()
    {
        QFETCH(QByteArray, xdgConfigHome);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QByteArray root = QFile::encodeName(dir.path()), program = root + "/Sky Lane";
        const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_CONFIG_HOME")};
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", saved[0]);
            saved[1].isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved[1]);
            ::chmod(program.constData(), 0755);
        });
        qputenv("HOME", root + "/home");
        xdgConfigHome.isNull() ? qunsetenv("XDG_CONFIG_HOME")
                               : qputenv("XDG_CONFIG_HOME", xdgConfigHome.startsWith('/') ? root + xdgConfigHome : xdgConfigHome);
        QVERIFY(files::makeFolder(program) && files::makeFolder(program + "/config"));
        QVERIFY(files::replace(program + "/config/1.2.jpg", "picture"));
        const QByteArray given = program + "/config/";
        QVERIFY(files::replace(given + "Inet.cfg", "/bin/sh\r\n") && files::replace(given + ".x.skylane-Ab12Cd", "")
                && ::symlink("Inet.cfg", given + "Game.cfg") == 0 && ::symlink("/etc/passwd", given + "out.cfg") == 0
                && ::mkfifo(given + "pipe.cfg", 0600) == 0);
        QCOMPARE(AppPaths::forProgramFolder(program).settingsFile(), program + "/config/prg.cfg");

        QVERIFY(::chmod(program.constData(), 0555) == 0);
        // Root writes anywhere: there the user's place is chosen by hand.
        const AppPaths paths = ::geteuid() == 0 ? AppPaths(program, AppPaths::userConfigDir())
                                                : AppPaths::forProgramFolder(program);
        QCOMPARE(paths.settingsFile(), root + expected + "/prg.cfg");
        QCOMPARE(paths.helpPage(), program + "/help/help.htm");
        createFolders(paths);
        QCOMPARE(files::readRegular(paths.blankButtonPicture()), QByteArray("picture"));
        QStringList copied = QDir(QFile::decodeName(paths.configDir())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        copied.sort();
        QCOMPARE(copied, QStringList({"1.2.jpg", "Game.cfg", "Inet.cfg"}));
        QCOMPARE(files::readRegular(paths.configFile("Game.cfg")), QByteArray("/bin/sh\r\n"));
        QVERIFY(files::at(paths.configFile("Game.cfg")).isFile()); // a copy, not a link
        ConfigWriter writer;
        QVERIFY(!isLaterRun(paths, writer) && isLaterRun(paths, writer));
        // An existing folder is never filled again, but for a missing picture.
        QVERIFY(QFile::remove(QFile::decodeName(paths.configFile("Inet.cfg"))));
        QVERIFY(QFile::remove(QFile::decodeName(paths.blankButtonPicture())));
        createFolders(paths);
        QCOMPARE(files::at(paths.configFile("Inet.cfg")).kind, files::Kind::Missing);
        QCOMPARE(files::readRegular(paths.blankButtonPicture()), QByteArray("picture"));
        // The user's own picture is kept at the next start.
        QVERIFY(files::replace(paths.blankButtonPicture(), "mine"));
        createFolders(paths);
        QCOMPARE(files::readRegular(paths.blankButtonPicture()), QByteArray("mine"));
    }

    void specialFilesAreNeverWaitedOnNorWrittenInto_data()
    {
        QTest::addColumn<bool>("fifo"); // else a device
        QTest::newRow("FIFO") << true;
        QTest::newRow("device") << false;
    }
    void specialFilesAreNeverWaitedOnNorWrittenInto()
    {
        QFETCH(bool, fifo);
        test::TestApp t("my app \xe9");
        QList<int> fds;
        for (const char *name : {"config/prg.cfg", "config/Inet.cfg", "config/runs.cfg", "config/1.2.jpg"}) {
            const QByteArray path = t.path(name);
            ::unlink(path.constData());
            if (!fifo) {
                QCOMPARE(::symlink("/dev/zero", path.constData()), 0);
            } else {
                QCOMPARE(::mkfifo(path.constData(), 0644), 0);
                fds << ::open(path.constData(), O_RDONLY | O_NONBLOCK); // would see what is written into it
            }
        }
        // Each counts as missing: the initial place, one blank button, a first run.
        t.start();
        QCOMPARE(t.bar().pos(), QPoint(340, 308));
        QCOMPARE(test::rowPaths(t), QByteArrayList{""});
        QVERIFY(t.app().row().button(1)->icon().isNull());
        QVERIFY(t.readFile("config/runs.cfg").startsWith(" 1 \r\n"));
        // Saving replaces the special file with a regular one.
        QVERIFY(saveSettings(t.bar(), t.app().paths(), t.app().configWriter()));
        QVERIFY(t.readFile("config/prg.cfg").startsWith("LF= 5100\r\n"));
        char byte = 0;
        for (const int fd : std::as_const(fds)) {
            QCOMPARE(::read(fd, &byte, 1), 0);
            ::close(fd);
        }
        QVERIFY(t.readFile("config/Inet.cfg").isEmpty());
    }

    void initTestCase()
    {
        // An icon theme of our own, so the answers do not depend on the machine.
        const QString theme = m_icons.path() + "/icons/testtheme";
        writePng(theme + "/apps/entry-icon.png", Qt::red);
        writePng(theme + "/mimetypes/text-x-script.png", Qt::blue);
        QVERIFY(QDir().mkpath(theme + "/scalable/apps"));
        QVERIFY(files::replace(QFile::encodeName(theme) + "/scalable/apps/drawn-icon.svg",
                               "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
                               "<rect width='8' height='8' fill='#ff00ff'/></svg>"));
        QVERIFY(files::replace(QFile::encodeName(theme) + "/index.theme",
                               "[Icon Theme]\nName=testtheme\nDirectories=apps,mimetypes\n\n"
                               "[apps]\nSize=16\nType=Fixed\n\n[mimetypes]\nSize=16\nType=Fixed\n"));
        QIcon::setThemeSearchPaths({m_icons.path() + "/icons"});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName("testtheme");
        writePng(m_icons.path() + "/green.png", Qt::green);
    }

    void iconAndNameOfProgram_data()
    {
        // The program's content (empty: no file), the entry's lines below a header naming it "Entry",
        // "Eintrag" in German ('@' the test's folder, '#' the green picture); packaged entries name another program.
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("entryFile");
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("name");
        const QByteArray script = "#!/bin/sh\n", packaged = "Exec=/usr/bin/flatpak run x\nIcon=entry-icon\n";
        const QString named = "theme:entry-icon", byType = "theme:text-x-script";
        const auto row = [&](const char *name, const QByteArray &entry, const QString &icon, const QString &shown,
                             const QByteArray &content = "#!/bin/sh\n", const QByteArray &program = "bin/prog",
                             const QByteArray &file = "applications/case.desktop") {
            QTest::newRow(name) << program << content << file << entry << icon << shown;
        };
        row("Exec quoted, env, field code", "Exec=env A=1 \"@/bin/prog\" %U\nIcon=entry-icon\n", named, "Eintrag");
        row("bare name on PATH", "Exec=prog\nIcon=entry-icon\n", named, "Eintrag");
        row("TryExec", "TryExec=@/bin/prog\nExec=sh -c x\nIcon=entry-icon\n", named, "Eintrag");
        row("Icon drawn only at scalable size", "Exec=@/bin/prog\nIcon=drawn-icon\n", "file:#ff00ff", "Eintrag");
        row("Icon as a file", "Exec=@/bin/prog\nIcon=#\n", "file:#00ff00", "Eintrag");
        row("no Icon line: the entry's name", "Exec=@/bin/prog\n", byType, "Eintrag");
        row("hidden entry: file type", "Exec=@/bin/prog\nIcon=entry-icon\nHidden=true\n", byType, "prog");
        row("no entry, no file type: generic", "", "generic", "prog", "\x01\x02\x03");
        row("missing file", "Exec=@/bin/prog\nIcon=entry-icon\n", "none", "prog", "");
        row("Flatpak", packaged, named, "Eintrag", script, "flatpak/exports/bin/org.x.App", "applications/org.x.App.desktop");
        row("Flatpak, entry only in its exports", packaged, named, "Eintrag", script, "flatpak/exports/bin/org.y.App",
            "flatpak/exports/share/applications/org.y.App.desktop");
        row("Snap app", packaged, named, "Eintrag", script, "snap/bin/foo.bar", "applications/foo_bar.desktop");
        row("Snap without its entry", packaged, byType, "baz", script, "snap/bin/baz", "applications/baz_other.desktop");
    }
    void iconAndNameOfProgram()
    {
        QFETCH(QByteArray, program);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, entryFile);
        QFETCH(QByteArray, entry);
        if (!content.isEmpty())
            m_app->writeProgram(program, content);
        if (!entry.isEmpty())
            m_app->writeProgram(entryFile, "[Desktop Entry]\nType=Application\nName=Entry\nName[de]=Eintrag\n"
                                               + entry.replace('@', m_root).replace('#', QFile::encodeName(m_icons.path()) + "/green.png"));
        // A German desktop; GLib reads the language from the environment.
        const QByteArray path = qgetenv("PATH"), language = qgetenv("LANGUAGE"), all = qgetenv("LC_ALL");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path), qputenv("LANGUAGE", language), qputenv("LC_ALL", all); });
        qputenv("PATH", m_root + "/bin:" + path), qunsetenv("LANGUAGE"), qputenv("LC_ALL", "de_DE.UTF-8");
        LinuxProgramIcons icons({QFile::decodeName(m_root) + "/applications"});
        icons.desktopEntries().setSnapLaunchers(QFile::decodeName(m_root) + "/snap/bin");
        bool found = false;
        QTEST(describe(icons.smallIcon(m_root + '/' + program, found)), "icon");
        QCOMPARE(found, !content.isEmpty());
        QTEST(icons.programName(m_root + '/' + program), "name");
        // A line with a NUL names no file, whatever stands before it.
        QCOMPARE(describe(icons.smallIcon(m_root + '/' + program + QByteArray("\0x", 2), found)), QString("none"));
    }

    void entryWrittenLaterIsSeen_data()
    {
        QTest::addColumn<bool>("readAhead"); // the first reading begun on its own thread
        QTest::newRow("read on first lookup") << false;
        QTest::newRow("read ahead") << true;
    }
    void entryWrittenLaterIsSeen()
    {
        // The folder does not exist yet; its parent is watched until it does.
        QFETCH(bool, readAhead);
        const QByteArray program = m_app->writeProgram("bin/prog"), other = m_app->writeProgram("old/other");
        m_app->writeProgram("old/applications/old.desktop", "[Desktop Entry]\nName=Old\nExec=" + other + "\nIcon=entry-icon\n");
        LinuxProgramIcons icons({QFile::decodeName(m_root) + "/old/applications", QFile::decodeName(m_root) + "/applications"});
        if (readAhead)
            icons.desktopEntries().readAhead();
        bool found = false;
        QCOMPARE(describe(icons.smallIcon(other, found)), QString("theme:entry-icon"));
        QCOMPARE(describe(icons.smallIcon(program, found)), QString("theme:text-x-script"));
        m_app->writeProgram("applications/new.desktop", "[Desktop Entry]\nName=New\nExec=" + program + "\nIcon=entry-icon\n");
        QVERIFY(QTest::qWaitFor([&] { return describe(icons.smallIcon(program, found)) == "theme:entry-icon"; }, 20000));
        QCOMPARE(icons.programName(program), QString("New"));
    }

    void init()
    {
        m_app.emplace();
        m_root = m_app->path("").chopped(1);
        QDir::setCurrent(QFile::decodeName(m_root)); // a shell given the path would make its canaries here
    }
    void cleanup() { m_app.reset(); }

    void startsThePathItselfWithItsArguments_data()
    {
        QTest::addColumn<QByteArray>("name"); // in the folder
        QTest::addColumn<bool>("relative"); // started by the name alone, else by the full path
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::newRow("shell syntax") << QByteArray("$(touch canary)/`touch canary`;b && touch canary | x") << false
                                      << QByteArrayList();
        QTest::newRow("leading dash, relative") << QByteArray("-n --help") << true << QByteArrayList();
        QTest::newRow("not UTF-8, three files") << QByteArray("Programme \xe9t\xe9/\xff\xfe prog") << false
                                                << QByteArrayList{"/my doc \xff.txt", "-n", "$(touch canary)"};
    }
    void startsThePathItselfWithItsArguments()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, relative);
        QFETCH(QByteArrayList, arguments);
        const QByteArray full = writeRecorder(name);
        // A descriptor the bar holds without close-on-exec must not leak.
        const int leaky = ::open("/dev/zero", O_RDONLY);
        QVERIFY(::dup2(leaky, 50) == 50);
        ::close(leaky);
        LinuxProgramLauncher().startMinimized(relative ? name : full, arguments);
        ::close(50);
        // The intermediate process is already reaped, the program is not ours.
        QCOMPARE(::waitpid(-1, nullptr, WNOHANG), -1);
        QCOMPARE(errno, ECHILD);
        QFile record(QFile::decodeName(m_root + "/record"));
        QVERIFY(QTest::qWaitFor([&] { return record.exists(); }, 20000) && record.open(QIODevice::ReadOnly));
        const QByteArrayList lines = record.readAll().split('|');
        // argc, stdin, stdout, stderr, fd 50, parent, session, $0, the arguments.
        QCOMPARE(lines.mid(0, 5), (QByteArrayList{QByteArray::number(arguments.size()), "/dev/null", "/dev/null", "/dev/null", "closed"}));
        QVERIFY(lines.at(5).toLongLong() != ::getpid() && lines.at(6).toLongLong() != ::getsid(0));
        QCOMPARE(lines.mid(7).join('|'), (QByteArrayList{relative ? name : full} + arguments).join('|'));
        QVERIFY(!QFile::exists("canary"));
    }

    // A start that fails says why, in skylane.launch.
    void failedStartIsLoggedWithItsReason_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << QByteArray("/no/such/program") << QByteArray() << ENOENT;
        QTest::newRow("not executable") << QByteArray("plain.txt") << QByteArray() << EACCES;
        QTest::newRow("NUL in an argument") << QByteArray("bin/prog") << QByteArray("a\0b", 3) << EINVAL;
    }
    void failedStartIsLoggedWithItsReason()
    {
        QFETCH(QByteArray, program);
        QFETCH(QByteArray, argument);
        QFETCH(int, error);
        QByteArray path = program;
        if (!program.startsWith('/')) {
            path = m_app->writeProgram(program);
            QVERIFY(program.endsWith(".txt") ? ::chmod(path.constData(), 0644) == 0 : true);
        }
        const QByteArrayList arguments = argument.isNull() ? QByteArrayList() : QByteArrayList{argument};
        int why = 0;
        QCOMPARE(spawnDetached(path, arguments, &why), -1);
        QCOMPARE(why, error);
        QTest::ignoreMessage(QtWarningMsg, qPrintable("could not start \"" + path + "\" - " + qt_error_string(error)));
        LinuxProgramLauncher().startMinimized(path, arguments);
    }

    // The scope a started program runs in, named as systemd-escape would
    // spell its file name, within systemd's 255 characters.
    void scopeNamedAfterTheProgram_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << QByteArray("/usr/bin/xclock") << "xclock";
        QTest::newRow("dash, space, dots") << QByteArray("/opt/my app/gnome-term 2.real") << "gnome\\x2dterm\\x202.real";
        QTest::newRow("leading dot, not UTF-8") << QByteArray(".hid:_\xe9") << "\\x2ehid:_\\xe9";
        QTest::newRow("cut before half an escape") << "/x/a" + QByteArray(100, '-') << "a" + QString("\\x2d").repeated(54);
    }
    void scopeNamedAfterTheProgram()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, escaped);
        QCOMPARE(scopeNameFor(path, 0xff), "app-skylane-" + escaped + "-00000000000000ff.scope");
    }

    // Runs before any window exists; only the environment it reads and sets matters.
    void choosesX11UnlessTheUserChose_data()
    {
        QTest::addColumn<QByteArray>("userChoice");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QByteArray>("chosen");
        QTest::newRow("unset, unreachable") << QByteArray() << QByteArray(":4711") << false << QByteArray("xcb");
        QTest::newRow("user's wayland") << QByteArray("wayland") << QByteArray() << true << QByteArray("wayland");
        QTest::newRow("user's xcb, no display") << QByteArray("xcb") << QByteArray() << false << QByteArray("xcb");
    }
    void choosesX11UnlessTheUserChose()
    {
        QFETCH(QByteArray, userChoice);
        QFETCH(QByteArray, display);
        QFETCH(bool, runs);
        QFETCH(QByteArray, chosen);
        const auto set = [](const char *name, const QByteArray &value) { value.isNull() ? qunsetenv(name) : qputenv(name, value); };
        const auto restore = qScopeGuard([=, platform = qgetenv("QT_QPA_PLATFORM"), was = qgetenv("DISPLAY")] {
            set("QT_QPA_PLATFORM", platform), set("DISPLAY", was);
        });
        set("QT_QPA_PLATFORM", userChoice), set("DISPLAY", display);
        QCOMPARE(prepareNativeWindowSystem(), runs);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), chosen);
    }

private:
    QByteArray writeRecorder(const QByteArray &relativePath)
    {
        // "sh -" ends the shell's options, so a name with a leading dash is still the script.
        const QByteArray record = m_root + "/record";
        const QByteArray script = "#!/bin/sh -\n"
                                  "fd() { readlink /proc/$$/fd/$1 || echo closed; }\n"
                                  "st() { sed -n \"s/^$1:[[:space:]]*//p\" /proc/$$/status; }\n"
                                  "r=\"$#|$(fd 0)|$(fd 1)|$(fd 2)|$(fd 50)|$(st PPid)|$(st NSsid)|$0\"\n"
                                  "for a; do r=\"$r|$a\"; done\n"
                                  "printf '%s' \"$r\" > '" + record + ".tmp'; mv '" + record + ".tmp' '" + record + "'\n";
        return m_app->writeProgram(relativePath, script);
    }

    QTemporaryDir m_icons;
    std::optional<test::TestApp> m_app;
    QByteArray m_root;
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
