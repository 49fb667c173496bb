#include "platform/AppPaths.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace skylane;

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void splitsLines_data();
    void splitsLines();
    void writesCrLfAndReadsBackEveryByte();
    void missingFileIsNoLines();
    void failedRewriteKeepsOldFileWhole();
    void rewriteIntoMissingFolderFails();
    void firstLineReadable();
    void configFolderOfAnySpelling_data();
    void configFolderOfAnySpelling();
    void fileNamesMatchIgnoringCase();
};

void TestTextFile::splitsLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("one line with CR LF") << QByteArray("a\r\n") << QByteArrayList{"a"};
    QTest::newRow("last line without CR LF") << QByteArray("a\r\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("final CR LF adds no line") << QByteArray("a\r\nb\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("empty middle line") << QByteArray("a\r\n\r\nc\r\n") << QByteArrayList{"a", "", "c"};
    QTest::newRow("lone LF accepted") << QByteArray("a\nb\n") << QByteArrayList{"a", "b"};
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc") << QByteArrayList{"a", "b", "c"};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QByteArrayList{""};
    QTest::newRow("two empty lines") << QByteArray("\r\n\r\n") << QByteArrayList{"", ""};
    QTest::newRow("lone CR inside a line stays") << QByteArray("a\rb\r\n") << QByteArrayList{"a\rb"};
    QTest::newRow("NUL bytes stay") << QByteArray("a\0b\r\n", 5) << QByteArrayList{QByteArray("a\0b", 3)};
    QTest::newRow("not UTF-8 stays") << QByteArray("C:\\Spiele\\\xe4\xf6\xfc.exe\r\n")
                                     << QByteArrayList{"C:\\Spiele\\\xe4\xf6\xfc.exe"};
}

void TestTextFile::splitsLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, lines);
    QCOMPARE(textfile::splitLines(content), lines);
}

void TestTextFile::writesCrLfAndReadsBackEveryByte()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.cfg");
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\n' && b != '\r')
            allBytes.append(static_cast<char>(b));
    }
    const QByteArrayList lines{"/usr/bin/xterm", "", allBytes, "/opt/My Apps/run, now"};
    QVERIFY(textfile::writeLines(path, lines));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray raw = file.readAll();
    QCOMPARE(raw, QByteArray("/usr/bin/xterm\r\n\r\n") + allBytes + "\r\n/opt/My Apps/run, now\r\n");
    QCOMPARE(textfile::readLines(path).value(), lines);
}

void TestTextFile::missingFileIsNoLines()
{
    QTemporaryDir dir;
    QVERIFY(!textfile::readLines(dir.filePath("absent.cfg")).has_value());
}

void TestTextFile::failedRewriteKeepsOldFileWhole()
{
    // A file size limit makes the write fail part-way, even for root.
    QTemporaryDir dir;
    const QString path = dir.filePath("Inet.cfg");
    const QByteArrayList old{"/usr/bin/one", "/usr/bin/two"};
    QVERIFY(textfile::writeLines(path, old));

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = textfile::writeLines(path, QByteArrayList(50, QByteArray("/usr/bin/much-longer-path")));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!written);
    QCOMPARE(textfile::readLines(path).value(), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Inet.cfg"});
}

void TestTextFile::rewriteIntoMissingFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(!textfile::writeLines(dir.filePath("no/such/folder/prg.cfg"), {"LF= 1"}));
}

void TestTextFile::firstLineReadable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("runs.cfg");
    QVERIFY(!textfile::firstLineReadable(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(!textfile::firstLineReadable(path)); // zero bytes: no first line
    QVERIFY(textfile::writeLines(path, {""}));
    QVERIFY(textfile::firstLineReadable(path));
}

void TestTextFile::configFolderOfAnySpelling_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none yet") << QString() << "config";
    QTest::newRow("lower case") << "config" << "config";
    QTest::newRow("capital") << "Config" << "Config";
    QTest::newRow("all capitals") << "CONFIG" << "CONFIG";
}

void TestTextFile::configFolderOfAnySpelling()
{
    QFETCH(QString, existing);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    if (!existing.isEmpty())
        QVERIFY(QDir(dir.path()).mkdir(existing));
    const AppPaths paths(dir.path() + "/");
    QCOMPARE(paths.appPath(), dir.path());
    QCOMPARE(paths.configDir(), dir.path() + "/" + expected);
    QCOMPARE(paths.settingsFile(), dir.path() + "/" + expected + "/prg.cfg");
}

void TestTextFile::fileNamesMatchIgnoringCase()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Config"));
    QVERIFY(textfile::writeLines(dir.path() + "/Config/INET.CFG", {"/bin/sh"}));
    const AppPaths paths(dir.path());
    QCOMPARE(paths.categoryFile("Inet"), dir.path() + "/Config/INET.CFG");
    QCOMPARE(paths.categoryFile("Game"), dir.path() + "/Config/Game.cfg");
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_textfile.moc"
