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
#include <QScopeGuard>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
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
        QCOMPARE(test::rowPaths(t.bar()), QByteArrayList{""});
        QVERIFY(t.bar().Command2(1)->icon().isNull());
        QVERIFY(t.readFile("config/runs.cfg").startsWith(" 1 \r\n"));
        // Saving replaces the special file with a regular one.
        QVERIFY(SaveSettings(t.bar(), t.app().paths()));
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
        QVERIFY(files::replace(QFile::encodeName(theme) + "/index.theme",
                               "[Icon Theme]\nName=testtheme\nDirectories=apps,mimetypes\n\n"
                               "[apps]\nSize=16\nType=Fixed\n\n[mimetypes]\nSize=16\nType=Fixed\n"));
        QIcon::setThemeSearchPaths({m_icons.path() + "/icons"});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName("testtheme");
        writePng(m_icons.path() + "/green.png", Qt::green);
    }

    void iconOfProgram_data()
    {
        // '@' is the test's folder, '#' the green picture; the program is @/bin/prog.
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QByteArray>("content"); // of the program; empty: no file
        QTest::addColumn<QString>("expected");
        const QByteArray script = "#!/bin/sh\n";
        QTest::newRow("Exec quoted, env, field code") << QByteArray("Exec=env A=1 \"@/bin/prog\" %U\nIcon=entry-icon\n")
                                                      << script << "theme:entry-icon";
        QTest::newRow("bare name on PATH") << QByteArray("Exec=prog\nIcon=entry-icon\n") << script << "theme:entry-icon";
        QTest::newRow("TryExec") << QByteArray("TryExec=@/bin/prog\nExec=sh -c x\nIcon=entry-icon\n") << script
                                 << "theme:entry-icon";
        QTest::newRow("Icon as a file") << QByteArray("Exec=@/bin/prog\nIcon=#\n") << script << "file:#00ff00";
        QTest::newRow("hidden entry: file type") << QByteArray("Exec=@/bin/prog\nIcon=entry-icon\nHidden=true\n")
                                                 << script << "theme:text-x-script";
        QTest::newRow("no entry, no file type: generic") << QByteArray() << QByteArray("\x01\x02\x03") << "generic";
        QTest::newRow("missing file") << QByteArray("Exec=@/bin/prog\nIcon=entry-icon\n") << QByteArray() << "none";
    }
    void iconOfProgram()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QByteArray program = m_root + "/bin/prog";
        if (!content.isEmpty())
            m_app->writeProgram("bin/prog", content);
        if (!entry.isEmpty())
            m_app->writeProgram("applications/case.desktop",
                                "[Desktop Entry]\nType=Application\n"
                                    + entry.replace('@', m_root).replace('#', QFile::encodeName(m_icons.path()) + "/green.png"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_root + "/bin:" + path);
        LinuxProgramIcons icons({QFile::decodeName(m_root) + "/applications"});
        bool found = false;
        QCOMPARE(describe(icons.smallIcon(program, found)), expected);
        QCOMPARE(found, expected != "none");
        qputenv("PATH", path);
        // A line with a NUL names no file, whatever stands before it.
        QCOMPARE(describe(icons.smallIcon(program + QByteArray("\0x", 2), found)), QString("none"));
    }

    void iconAndNameOfPackagedLauncher_data()
    {
        QTest::addColumn<QString>("launcher");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("name");
        const QString named = "theme:entry-icon";
        QTest::newRow("Flatpak") << "flatpak/exports/bin/org.x.App" << "applications/org.x.App.desktop" << named << "Pkg";
        QTest::newRow("Flatpak, entry only in its exports")
            << "flatpak/exports/bin/org.y.App" << "flatpak/exports/share/applications/org.y.App.desktop" << named << "Pkg";
        QTest::newRow("Snap app") << "snap/bin/foo.bar" << "applications/foo_bar.desktop" << named << "Pkg";
        QTest::newRow("Snap without its entry")
            << "snap/bin/baz" << "applications/baz_other.desktop" << "theme:text-x-script" << "baz";
    }
    void iconAndNameOfPackagedLauncher()
    {
        QFETCH(QString, launcher);
        QFETCH(QString, entry);
        const QString folder = QFile::decodeName(m_root);
        m_app->writeProgram(launcher.toUtf8());
        // The entry names another program, as Flatpak's and Snap's entries do.
        m_app->writeProgram(entry.toUtf8(), "[Desktop Entry]\nName=Pkg\nExec=/usr/bin/flatpak run x\nIcon=entry-icon\n");
        LinuxProgramIcons icons({folder + "/applications"});
        icons.desktopEntries().setSnapLaunchers(folder + "/snap/bin");
        bool found = false;
        QTEST(describe(icons.smallIcon(QFile::encodeName(folder + '/' + launcher), found)), "expected");
        QTEST(icons.programName(QFile::encodeName(folder + '/' + launcher)), "name");
    }

    void init()
    {
        m_app.emplace();
        m_root = m_app->path("").chopped(1);
        QDir::setCurrent(QFile::decodeName(m_root)); // a shell given the path would make its canaries here
    }
    void cleanup() { m_app.reset(); }

    void startsThePathItselfWithoutArguments_data()
    {
        QTest::addColumn<QByteArray>("name"); // in the folder
        QTest::addColumn<bool>("relative"); // started by the name alone, else by the full path
        QTest::newRow("shell syntax") << QByteArray("$(touch canary)/`touch canary`;b && touch canary | x") << false;
        QTest::newRow("leading dash, relative") << QByteArray("-n --help") << true;
        QTest::newRow("not UTF-8") << QByteArray("Programme \xe9t\xe9/\xff\xfe prog") << false;
    }
    void startsThePathItselfWithoutArguments()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, relative);
        const QByteArray full = writeRecorder(name);
        // A descriptor the bar holds without close-on-exec must not leak.
        const int leaky = ::open("/dev/zero", O_RDONLY);
        QVERIFY(::dup2(leaky, 50) == 50);
        ::close(leaky);
        LinuxProgramLauncher().startMinimized(relative ? name : full);
        ::close(50);
        // The intermediate process is already reaped, the program is not ours.
        QCOMPARE(::waitpid(-1, nullptr, WNOHANG), -1);
        QCOMPARE(errno, ECHILD);
        QFile record(QFile::decodeName(m_root + "/record"));
        QVERIFY(QTest::qWaitFor([&] { return record.exists(); }, 20000) && record.open(QIODevice::ReadOnly));
        const QByteArrayList lines = record.readAll().split('|');
        // argc, stdin, stdout, stderr, fd 50, parent, session, $0.
        QCOMPARE(lines.mid(0, 5), (QByteArrayList{"0", "/dev/null", "/dev/null", "/dev/null", "closed"}));
        QVERIFY(lines.at(5).toLongLong() != ::getpid() && lines.at(6).toLongLong() != ::getsid(0));
        QCOMPARE(lines.mid(7).join('|'), relative ? name : full);
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
                                  "printf '%s' \"$r\" > '" + record + ".tmp'; mv '" + record + ".tmp' '" + record + "'\n";
        return m_app->writeProgram(relativePath, script);
    }

    QTemporaryDir m_icons;
    std::optional<test::TestApp> m_app;
    QByteArray m_root;
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
