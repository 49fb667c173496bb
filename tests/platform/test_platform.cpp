#include "artwork/Artwork.h"
#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "core/AppPaths.h"
#include "core/Files.h"
#include "core/TextFile.h"
#include "platform/Platform.h"
#include "platform/linux/DesktopEntryIndex.h"
#include "platform/linux/LinuxProgramIcons.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "support/TestApp.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
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

// Text files and the program folder, starting programs, their icons, and the
// Windows command line (plain C++ that runs here too).
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

    void failedRewriteKeepsOldFileWhole()
    {
        // A file size limit makes the write fail part-way, even for root.
        const QByteArray path = m_root + "/Inet.cfg";
        QVERIFY(textfile::writeLines(path, {"/usr/bin/one"}));
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = textfile::writeLines(path, QByteArrayList(50, "/usr/bin/much-longer-path"));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        QVERIFY(!written);
        QCOMPARE(textfile::readLines(path).value(), QByteArrayList{"/usr/bin/one"});
        QCOMPARE(QDir(QFile::decodeName(m_root)).entryList(QDir::Files), QStringList{"Inet.cfg"});
        QVERIFY(!textfile::writeLines(m_root + "/no/such/folder/prg.cfg", {"LF= 1"}));
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

    void specialFilesAreNeverWaitedOnNorWrittenInto_data()
    {
        QTest::addColumn<char>("kind");
        QTest::newRow("FIFO") << 'f';
        QTest::newRow("socket") << 's';
        QTest::newRow("device") << 'd';
    }
    void specialFilesAreNeverWaitedOnNorWrittenInto()
    {
        QFETCH(char, kind);
        test::TestApp t("my app \xe9");
        QList<int> fds;
        for (const char *name : {"config/prg.cfg", "config/Inet.cfg", "config/runs.cfg", "config/1.2.jpg"}) {
            const QByteArray path = t.path(name);
            ::unlink(path.constData());
            if (kind == 'd') {
                QCOMPARE(::symlink("/dev/zero", path.constData()), 0);
            } else if (kind == 'f') {
                QCOMPARE(::mkfifo(path.constData(), 0644), 0);
                fds << ::open(path.constData(), O_RDONLY | O_NONBLOCK); // would see what is written into it
            } else {
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
                fds << ::socket(AF_UNIX, SOCK_STREAM, 0);
                QCOMPARE(::bind(fds.last(), reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            }
        }
        // Each counts as missing: the initial place, one blank button, a first run.
        t.start();
        QCOMPARE(t.bar().pos(), QPoint(340, 308));
        QCOMPARE(test::rowPaths(t.bar()), QByteArrayList{""});
        QVERIFY(t.bar().Command2(1)->icon().isNull());
        QVERIFY(t.readFile("config/runs.cfg").startsWith(" 1 \r\n"));
        // Saving replaces the special file with a regular one.
        QVERIFY(SaveSettings(t.bar(), t.app().paths()));
        QVERIFY(t.readFile("config/prg.cfg").startsWith("LF= 5100\r\n"));
        char byte = 0;
        for (const int fd : std::as_const(fds)) {
            if (kind == 'f')
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

    void entryWrittenLaterIsSeen()
    {
        // The folder does not exist yet; its parent is watched until it does.
        const QByteArray program = m_app->writeProgram("bin/prog");
        LinuxProgramIcons icons({QFile::decodeName(m_root) + "/applications"});
        bool found = false;
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
        QTest::addColumn<QByteArray>("path"); // relative to the folder; a leading '+' starts it by that
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::newRow("shell syntax") << QByteArray("$(touch canary)/`touch canary`;b && touch canary | x")
                                      << QByteArrayList();
        QTest::newRow("leading dash, relative") << QByteArray("+-n --help") << QByteArrayList();
        QTest::newRow("not UTF-8, three files") << QByteArray("Programme \xe9t\xe9/\xff\xfe prog")
                                                << QByteArrayList{"/my doc \xff.txt", "-n", "$(touch canary)"};
    }
    void startsThePathItselfWithItsArguments()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArrayList, arguments);
        const bool relative = path.startsWith('+');
        const QByteArray name = relative ? path.mid(1) : path;
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
        const QByteArray before = qgetenv("QT_QPA_PLATFORM");
        userChoice.isEmpty() ? qunsetenv("QT_QPA_PLATFORM") : qputenv("QT_QPA_PLATFORM", userChoice);
        display.isEmpty() ? qunsetenv("DISPLAY") : qputenv("DISPLAY", display);
        const bool ran = prepareNativeWindowSystem();
        const QByteArray after = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", before);
        QCOMPARE(ran, runs);
        QCOMPARE(after, chosen);
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
