#include "artwork/Artwork.h"
#include "platform/linux/DesktopEntryIndex.h"
#include "platform/linux/LinuxProgramIcons.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace skylane;

namespace {

void writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

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
        return QStringLiteral("none");
    if (!icon.name().isEmpty())
        return QStringLiteral("theme:") + icon.name();
    const QImage picture = icon.pixmap(QSize(16, 16)).toImage();
    if (picture == artworkIcon(QStringLiteral("program"), QSize(16, 16)).pixmap(QSize(16, 16)).toImage())
        return QStringLiteral("generic");
    const QString colour = picture.pixelColor(8, 8).name();
    // The test theme's pictures, read from its folders.
    if (colour == QLatin1String("#ff0000") || colour == QLatin1String("#0000ff"))
        return colour == QLatin1String("#ff0000") ? "theme:entry-icon" : "theme:text-x-script";
    return QStringLiteral("file:") + colour;
}

const QByteArray kScript = "#!/bin/sh\nexit 0\n";

QByteArray entry(const QByteArray &exec, const QByteArray &icon)
{
    return "[Desktop Entry]\nExec=" + exec + "\nIcon=" + icon + "\n";
}

} // namespace

class TestProgramIcons : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void execProgram_data();
    void execProgram();
    void iconOfProgram_data();
    void iconOfProgram();
    void earlierFolderHidesSameEntry();
    void entryInstalledLaterIsPickedUp_data();
    void entryInstalledLaterIsPickedUp();
    void changedProgramIsLookedUpAgain();

private:
    QByteArray green() const { return QFile::encodeName(m_root.path()) + "/green.png"; }

    QTemporaryDir m_root;
    QByteArray m_path;
};

void TestProgramIcons::initTestCase()
{
    // An icon theme of our own, so the answers do not depend on what the
    // machine has installed.
    const QString theme = m_root.path() + QStringLiteral("/icons/testtheme");
    writeFile(theme + QStringLiteral("/index.theme"),
              "[Icon Theme]\nName=testtheme\nDirectories=16x16/apps,16x16/mimetypes\n\n"
              "[16x16/apps]\nSize=16\nType=Fixed\n\n[16x16/mimetypes]\nSize=16\nType=Fixed\n");
    writePng(theme + QStringLiteral("/16x16/apps/entry-icon.png"), Qt::red);
    writePng(theme + QStringLiteral("/16x16/mimetypes/text-x-script.png"), Qt::blue);
    QIcon::setThemeSearchPaths({m_root.path() + QStringLiteral("/icons")});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(QStringLiteral("testtheme"));
    writePng(m_root.path() + QStringLiteral("/green.png"), Qt::green);
    m_path = qgetenv("PATH");
}

void TestProgramIcons::execProgram_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("program");
    QTest::newRow("field codes") << "firefox %u" << "firefox";
    QTest::newRow("quoted path") << "\"/opt/my app/run\" --new %F" << "/opt/my app/run";
    QTest::newRow("escaped quote") << "\"/opt/a\\\"b\" x" << "/opt/a\"b";
    QTest::newRow("env prefix") << "env LANG=C GDK_BACKEND=x11 /usr/bin/prog %U" << "/usr/bin/prog";
    QTest::newRow("env with options") << "/usr/bin/env -i -u FOO prog" << "prog";
    QTest::newRow("leading blanks") << "   prog" << "prog";
    QTest::newRow("empty") << "" << "";
}

void TestProgramIcons::execProgram()
{
    QFETCH(QString, exec);
    QFETCH(QString, program);
    QCOMPARE(skylane::execProgram(exec), program);
}

void TestProgramIcons::iconOfProgram_data()
{
    QTest::addColumn<QByteArray>("entry"); // '@' is the case's folder, '#' the green picture
    QTest::addColumn<QString>("program");  // below the case's folder
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("linkTo");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QByteArray &entry, const QString &program, const QString &expected,
                        const QByteArray &content = kScript, const QString &linkTo = QString()) {
        const QByteArray main = "[Desktop Entry]\nType=Application\n";
        QTest::newRow(name) << (entry.isEmpty() ? entry : main + entry) << program << content << linkTo << expected;
    };
    const QString entryIcon = "theme:entry-icon", fileType = "theme:text-x-script";
    row("Exec absolute", "Exec=@/bin/prog %U\nIcon=entry-icon\n", "bin/prog", entryIcon);
    row("Exec quoted, with a space", "Exec=\"@/bin/my prog\" --go\nIcon=entry-icon\n", "bin/my prog", entryIcon);
    row("Exec bare name on PATH", "Exec=onpath\nIcon=entry-icon\n", "bin/onpath", entryIcon);
    row("TryExec", "TryExec=@/bin/tried\nExec=sh -c 'tried'\nIcon=entry-icon\n", "bin/tried", entryIcon);
    row("env prefix", "Exec=env A=1 @/bin/envprog\nIcon=entry-icon\n", "bin/envprog", entryIcon);
    row("Icon as a file", "Exec=@/bin/prog\nIcon=#\n", "bin/prog", "file:#00ff00");
    row("Icon with legacy suffix", "Exec=@/bin/prog\nIcon=entry-icon.png\n", "bin/prog", entryIcon);
    row("link to a described program", "Exec=@/opt/real\nIcon=entry-icon\n", "bin/link", entryIcon, kScript,
        "opt/real");
    row("Icon the theme lacks: file type", "Exec=@/bin/prog\nIcon=nowhere\n", "bin/prog", fileType);
    row("no entry: file type", {}, "bin/prog", fileType);
    row("hidden entry", "Exec=@/bin/prog\nIcon=entry-icon\nHidden=true\n", "bin/prog", fileType);
    row("only an action names it",
        "Exec=@/bin/other\nIcon=other\n\n[Desktop Action x]\nExec=@/bin/prog\nIcon=entry-icon\n", "bin/prog",
        fileType);
    row("nothing in the theme: generic", {}, "bin/data.zzz", "generic", "\x01\x02\x03");
    row("missing file", "Exec=@/bin/gone\nIcon=entry-icon\n", "bin/gone", "none", {});
    row("folder", {}, "bin", "none", {});
}

void TestProgramIcons::iconOfProgram()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, program);
    QFETCH(QByteArray, content);
    QFETCH(QString, linkTo);
    QFETCH(QString, expected);

    const QString folder = m_root.path() + u'/' + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
    const QString programPath = folder + u'/' + program;
    QDir().mkpath(folder + QStringLiteral("/bin"));
    if (!linkTo.isEmpty()) {
        writeFile(folder + u'/' + linkTo, content, true);
        QVERIFY(QFile::link(folder + u'/' + linkTo, programPath));
    } else if (!content.isEmpty()) {
        writeFile(programPath, content, true);
    }
    if (!entry.isEmpty())
        writeFile(folder + QStringLiteral("/applications/case.desktop"),
                  entry.replace('@', QFile::encodeName(folder)).replace('#', green()));
    qputenv("PATH", QFile::encodeName(folder) + "/bin:" + m_path);

    LinuxProgramIcons icons({folder + QStringLiteral("/applications")});
    bool found = false;
    const QIcon icon = icons.smallIcon(QFile::encodeName(programPath), found);
    QCOMPARE(describe(icon), expected);
    QCOMPARE(found, expected != QLatin1String("none"));
    // Asked again: the same answer, without reading the folder again.
    QCOMPARE(describe(icons.smallIcon(QFile::encodeName(programPath), found)), expected);
    QVERIFY(icons.desktopEntries().refresh() <= 1);
    qputenv("PATH", m_path);
}

void TestProgramIcons::earlierFolderHidesSameEntry()
{
    const QString folder = m_root.path() + QStringLiteral("/shadow");
    const QByteArray bin = QFile::encodeName(folder) + "/bin/";
    writeFile(folder + QStringLiteral("/bin/prog"), kScript, true);
    writeFile(folder + QStringLiteral("/bin/second"), kScript, true);
    // The user's own copy of an entry hides the system's, even when hidden;
    // among entries naming one program the first folder's wins.
    writeFile(folder + QStringLiteral("/home/apps.desktop"), entry(bin + "prog", "entry-icon\nHidden=true"));
    writeFile(folder + QStringLiteral("/system/apps.desktop"), entry(bin + "prog", green()));
    writeFile(folder + QStringLiteral("/home/a.desktop"), entry(bin + "second", "entry-icon"));
    writeFile(folder + QStringLiteral("/system/b.desktop"), entry(bin + "second", green()));
    LinuxProgramIcons icons({folder + QStringLiteral("/home"), folder + QStringLiteral("/system")});
    bool found = false;
    QCOMPARE(describe(icons.smallIcon(bin + "prog", found)), QString("theme:text-x-script"));
    QCOMPARE(describe(icons.smallIcon(bin + "second", found)), QString("theme:entry-icon"));
}

void TestProgramIcons::entryInstalledLaterIsPickedUp_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<QString>("entryFile");
    QTest::newRow("into a subfolder") << true << "sub/new.desktop"; // as some packages do
    QTest::newRow("into a folder created later") << false << "new.desktop";
}

void TestProgramIcons::entryInstalledLaterIsPickedUp()
{
    QFETCH(bool, folderExists);
    QFETCH(QString, entryFile);
    const QString folder = m_root.path() + u'/' + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
    const QByteArray program = QFile::encodeName(folder) + "/bin/prog";
    writeFile(QFile::decodeName(program), kScript, true);
    if (folderExists)
        QDir().mkpath(folder + QStringLiteral("/applications/sub"));
    LinuxProgramIcons icons({folder + QStringLiteral("/applications")});
    bool found = false;
    for (int i = 0; i < 50; ++i)
        QCOMPARE(describe(icons.smallIcon(program, found)), QString("theme:text-x-script"));
    QCOMPARE(icons.desktopEntries().refresh(), 1); // read once for all those lookups

    writeFile(folder + "/applications/" + entryFile, entry(program, "entry-icon"));
    QTRY_COMPARE_WITH_TIMEOUT(describe(icons.smallIcon(program, found)), QString("theme:entry-icon"), 10000);
    QCOMPARE(icons.desktopEntries().refresh(), 2);
}

void TestProgramIcons::changedProgramIsLookedUpAgain()
{
    const QString folder = m_root.path() + QStringLiteral("/changed");
    const QString program = folder + QStringLiteral("/bin/prog");
    writeFile(program, kScript, true);
    LinuxProgramIcons icons({folder + QStringLiteral("/applications")});
    bool found = false;
    QCOMPARE(describe(icons.smallIcon(QFile::encodeName(program), found)), QString("theme:text-x-script"));
    writeFile(program, QByteArray("\x01\x02\x03\x04\x05", 5), true);
    QCOMPARE(describe(icons.smallIcon(QFile::encodeName(program), found)), QString("generic"));
    QVERIFY(QFile::remove(program));
    QCOMPARE(describe(icons.smallIcon(QFile::encodeName(program), found)), QString("none"));
    QVERIFY(!found);
}

QTEST_MAIN(TestProgramIcons)
#include "test_programicons.moc"
