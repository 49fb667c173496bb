#include "bar/Settings.h"
#include "platform/ColorValue.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace skylane;

namespace {
// Two contents for each file, differing in length and in every line, so a
// file cut short, grown, or mixed from both shows.
QList<QByteArray> categoryLines(int which)
{
    QList<QByteArray> lines;
    for (int i = 0; i < (which ? 300 : 420); ++i) {
        lines << (which ? "/opt/second/program-" + QByteArray::number(i) + " with spaces"
                        : "/usr/bin/first-" + QByteArray::number(i));
        if (i % 7 == 3)
            lines << QByteArray(); // a blank button
    }
    return lines;
}

QList<QByteArray> settingsLines(int which)
{
    return formatSettings(which ? SettingsRecord{1500.5f, 30, 255, toSigned(systemColor(14)), "DejaVu Sans"}
                                : SettingsRecord{5100, 4620, toSigned(systemColor(1)), 0xFFFFFF, "MS Serif"});
}

// The process the test kills: rewrites both files through the program's own
// writer, flipping between the contents, until it is killed.
int rewriteForever(const QByteArray &folder)
{
    for (unsigned long round = 0;; ++round) {
        if (!textfile::writeLines(folder + "/Inet.cfg", categoryLines(int(round % 2)))
            || !textfile::writeLines(folder + "/prg.cfg", settingsLines(int(round % 2))))
            return 1;
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

// Kills a rewriting process at random moments: each kill must leave every
// file with one of its two whole contents.
class TestCrashConsistency : public QObject {
    Q_OBJECT
private slots:
    void killedRewritesLeaveOldOrNewContent()
    {
        QTemporaryDir dir;
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        QSet<QByteArray> seen;
        for (int kill = 0; kill < 300; ++kill) {
            QProcess driver;
            driver.start(QCoreApplication::applicationFilePath(), {"--rewrite", dir.path()});
            QVERIFY(driver.waitForReadyRead(30000));
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20000)));
            driver.kill();
            QVERIFY(driver.waitForFinished(10000));
            const QByteArray cat = contentOf(dir.filePath("Inet.cfg")), set = contentOf(dir.filePath("prg.cfg"));
            QVERIFY2(cat == textfile::joinLines(categoryLines(0)) || cat == textfile::joinLines(categoryLines(1)),
                     qPrintable(QString("kill %1 left %2 bytes").arg(kill).arg(cat.size())));
            QVERIFY(set == textfile::joinLines(settingsLines(0)) || set == textfile::joinLines(settingsLines(1)));
            seen << cat;
        }
        QCOMPARE(seen.size(), 2); // the kills fell at different points
        // A kill mid-rewrite may leave QSaveFile's temporary copy beside the file.
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(QRegularExpression("^(Inet|prg)\\.cfg(\\.[A-Za-z0-9]{6})?$").match(name).hasMatch(), qPrintable(name));
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
