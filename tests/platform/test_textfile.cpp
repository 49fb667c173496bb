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
    void missingOrEmptyFiles();
    void failedRewriteKeepsOldFileWhole();
    void configFolderOfAnySpelling_data();
    void configFolderOfAnySpelling();
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

void TestTextFile::missingOrEmptyFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("runs.cfg");
    QVERIFY(!textfile::readLines(path).has_value());
    QVERIFY(!textfile::firstLineReadable(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(!textfile::firstLineReadable(path)); // zero bytes: no first line
    QVERIFY(textfile::writeLines(path, {""}));
    QVERIFY(textfile::firstLineReadable(path));
    QVERIFY(!textfile::writeLines(dir.filePath("no/such/folder/prg.cfg"), {"LF= 1"}));
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

void TestTextFile::configFolderOfAnySpelling_data()
{
    QTest::addColumn<QString>("folder"); // the program folder's name, with or without a slash
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("inetFile");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none yet") << "/" << QString() << QString() << "config";
    QTest::newRow("lower case") << "/" << "config" << QString() << "config";
    QTest::newRow("capital") << "/" << "Config" << QString() << "Config";
    QTest::newRow("all capitals, no slash") << "" << "CONFIG" << QString() << "CONFIG";
    QTest::newRow("file names of any case") << "" << "Config" << "INET.CFG" << "Config";
}

void TestTextFile::configFolderOfAnySpelling()
{
    QFETCH(QString, folder);
    QFETCH(QString, existing);
    QFETCH(QString, inetFile);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    if (!existing.isEmpty())
        QVERIFY(QDir(dir.path()).mkdir(existing));
    const QString config = dir.path() + "/" + expected + "/";
    if (!inetFile.isEmpty())
        QVERIFY(textfile::writeLines(config + inetFile, {"/bin/sh"}));
    const AppPaths paths(dir.path() + folder);
    QCOMPARE(paths.appPath(), dir.path());
    QCOMPARE(paths.configDir(), config.chopped(1));
    QCOMPARE(paths.settingsFile(), config + "prg.cfg");
    QCOMPARE(paths.categoryFile("Inet"), config + (inetFile.isEmpty() ? "Inet.cfg" : inetFile));
    QCOMPARE(paths.categoryFile("Game"), config + "Game.cfg");
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_textfile.moc"
