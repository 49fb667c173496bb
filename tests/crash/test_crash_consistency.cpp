#include "RewriteContents.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

using namespace skylane;

namespace {

constexpr int kKills = 300;

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// Kills a process that rewrites a category file and the settings file in a
// loop at random moments, and checks that each kill leaves every file with
// one of its two whole contents.
class TestCrashConsistency : public QObject {
    Q_OBJECT
private slots:
    void killedRewritesLeaveOldOrNewContent();
};

void TestCrashConsistency::killedRewritesLeaveOldOrNewContent()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString category = dir.filePath("Inet.cfg");
    const QString settings = dir.filePath("prg.cfg");
    const QByteArray categoryContents[2] = {crashtest::categoryBytes(false), crashtest::categoryBytes(true)};
    const QByteArray settingsContents[2] = {crashtest::settingsBytes(false), crashtest::settingsBytes(true)};

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    int landed[2][2] = {};

    for (int kill = 0; kill < kKills; ++kill) {
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(QStringLiteral(SKYLANE_REWRITE_DRIVER), {dir.path()});
        QVERIFY2(driver.waitForStarted(10000), qPrintable(driver.errorString()));
        QVERIFY2(driver.waitForReadyRead(30000), "the driver never finished its first rewrite");
        QCOMPARE(driver.readLine().trimmed(), QByteArray("ready"));
        // Up to a few dozen rounds of rewrites, then SIGKILL.
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20000)));
        driver.kill();
        QVERIFY(driver.waitForFinished(10000));
        QCOMPARE(driver.exitStatus(), QProcess::CrashExit);

        const QByteArray cat = contentOf(category);
        const QByteArray set = contentOf(settings);
        const int catIndex = cat == categoryContents[0] ? 0 : cat == categoryContents[1] ? 1 : -1;
        const int setIndex = set == settingsContents[0] ? 0 : set == settingsContents[1] ? 1 : -1;
        if (catIndex < 0 || setIndex < 0)
            QFAIL(qPrintable(QStringLiteral("kill %1 left a partial file: category %2 bytes, settings %3 bytes")
                                 .arg(kill).arg(cat.size()).arg(set.size())));
        ++landed[catIndex][setIndex];
    }
    qInfo("contents after the kills (category/settings): first/first %d, first/second %d, "
          "second/first %d, second/second %d",
          landed[0][0], landed[0][1], landed[1][0], landed[1][1]);
    // The kills must have fallen at different points of the loop, or the
    // test proved nothing.
    QVERIFY(landed[0][0] + landed[0][1] > 0);
    QVERIFY(landed[1][0] + landed[1][1] > 0);

    // A kill in the middle of a rewrite may leave QSaveFile's temporary copy
    // beside the file: on file systems with O_TMPFILE only in the instant
    // between naming it and renaming it, elsewhere for the whole write. The
    // driver rewrites one file at a time, so each kill leaves one copy at
    // most; how many kills hit that window depends on the machine's speed.
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    qInfo("files left: %s", qPrintable(files.join(QLatin1String(", "))));
    QVERIFY(files.contains("Inet.cfg") && files.contains("prg.cfg"));
    const QRegularExpression saveFileCopy(QStringLiteral("^(Inet|prg)\\.cfg\\.[A-Za-z0-9]{6}$"));
    int copies = 0;
    for (const QString &name : files) {
        if (name == "Inet.cfg" || name == "prg.cfg")
            continue;
        QVERIFY2(saveFileCopy.match(name).hasMatch(), qPrintable("unexpected file " + name));
        ++copies;
    }
    QVERIFY2(copies <= kKills, qPrintable(QString::number(copies) + " copies left by the kills"));
}

QTEST_GUILESS_MAIN(TestCrashConsistency)
#include "test_crash_consistency.moc"
