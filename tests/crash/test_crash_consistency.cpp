#include "core/ConfigWriter.h"
#include "core/Files.h"
#include "core/TextFile.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace skylane;

namespace {
// Two contents differing in length and in every line, so a file cut short,
// grown, or mixed from both shows.
QList<QByteArray> categoryLines(int which)
{
    return QList<QByteArray>(which ? 300 : 420, which ? "/opt/second/program with spaces" : "/usr/bin/first");
}

// The process the test kills: rewrites the file through the program's own
// writer, flipping between the contents, until it is killed.
int rewriteForever(const QByteArray &file)
{
    for (unsigned long round = 0;; ++round) {
        if (!textfile::writeLines(file, categoryLines(int(round % 2))))
            return 1;
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
} // namespace

// Kills a rewriting process at random moments: each kill must leave the file
// with one of its two whole contents.
class TestCrashConsistency : public QObject {
    Q_OBJECT
private slots:
    void killedRewritesLeaveOldOrNewContent()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Inet.cfg");
        QRandomGenerator random(QRandomGenerator::global()->generate());
        QSet<QByteArray> seen;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess driver;
            driver.start(QCoreApplication::applicationFilePath(), {"--rewrite", file});
            QVERIFY(driver.waitForReadyRead(30000));
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20000)));
            driver.kill();
            QVERIFY(driver.waitForFinished(10000));
            QFile written(file);
            QVERIFY(written.open(QIODevice::ReadOnly));
            const QByteArray content = written.readAll();
            QVERIFY2(content == textfile::joinLines(categoryLines(0)) || content == textfile::joinLines(categoryLines(1)),
                     qPrintable(QString("kill %1 left %2 bytes").arg(kill).arg(content.size())));
            seen << content;
        }
        QCOMPARE(seen.size(), 2); // the kills fell at different points

        // What the kills left is recognisably ours; the next write clears it, and nothing else.
        const QStringList others{".Inet.cfg.skylane-ab12", "Inet.cfg", "Inet.cfg.jvllsp"};
        for (const QString &name : others + QStringList{".prg.cfg.skylane-a1B2c3"})
            QVERIFY(name == "Inet.cfg" || files::replace(QFile::encodeName(dir.filePath(name)), "x"));
        const QDir folder(dir.path());
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(others.contains(name) || files::isLeftoverTemporaryName(QFile::encodeName(name)), qPrintable(name));
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // file times are coarse
        ConfigWriter writer;
        QVERIFY(writer.writeLines(QFile::encodeName(file), categoryLines(0)));
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase), others);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--rewrite") == 0)
        return rewriteForever(QByteArray(argv[2]));
    TestCrashConsistency test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_crash_consistency.moc"
