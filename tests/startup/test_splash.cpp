#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "bar/Controls.h"
#include "startup/FirstRun.h"
#include "startup/Splash.h"
#include "support/TestApp.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kMarker = QStringLiteral("config/runs.cfg");

QByteArray markerBytes()
{
    return QByteArray(" 1 \r\nVoltari Software - USA\r\nSky Lane v2.0\r\n") + product::kMakerWebAddress + "\r\n";
}

void leftClick(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2)); }
} // namespace

class TestSplash : public QObject {
    Q_OBJECT
private slots:
    void firstAndLaterRuns_data();
    void firstAndLaterRuns();
    void barOpensBeforeTheWindowShows();
    void closingNeverAffectsTheBar_data();
    void closingNeverAffectsTheBar();
    void realTimerClosesTheWindow();
    void helpAndWebLinkKeepTheState();
    void aboutWhileOpenOnlyBringsItForward();
    void aboutWhileClosedRepeatsTheLoadStep();
    void deletedMarkerMakesAFirstRunAgain();
    void windowAndControls();
};

void TestSplash::firstAndLaterRuns_data()
{
    QTest::addColumn<bool>("emptyFolder");
    QTest::addColumn<std::optional<QByteArray>>("marker");
    QTest::addColumn<bool>("timerOn");
    QTest::addColumn<QByteArray>("markerAfter");
    QTest::newRow("first run, empty program folder") << true << std::optional<QByteArray>() << false
                                                     << markerBytes();
    QTest::newRow("first run") << false << std::optional<QByteArray>() << false << markerBytes();
    QTest::newRow("later run") << false << std::optional<QByteArray>(markerBytes()) << true << markerBytes();
    QTest::newRow("other text still counts") << false << std::optional<QByteArray>("hello") << true
                                             << QByteArray("hello");
    QTest::newRow("empty first line still counts") << false << std::optional<QByteArray>("\r\n") << true
                                                   << QByteArray("\r\n");
    QTest::newRow("zero bytes: written anew") << false << std::optional<QByteArray>("") << false
                                              << markerBytes();
}

void TestSplash::firstAndLaterRuns()
{
    QFETCH(bool, emptyFolder);
    QFETCH(std::optional<QByteArray>, marker);
    QFETCH(bool, timerOn);
    QFETCH(QByteArray, markerAfter);
    TestApp t;
    if (emptyFolder)
        QDir(t.path("config")).removeRecursively();
    if (marker)
        t.writeFile(kMarker, *marker);
    t.start();
    QVERIFY(QFileInfo(t.path("config")).isDir());
    QVERIFY(QFileInfo(t.path("help")).isDir());
    QCOMPARE(t.readFile(kMarker), markerAfter);
    Splash &splash = t.app().splash();
    QVERIFY(splash.isVisible());
    QCOMPARE(splash.Timer1()->isActive(), timerOn);
    QCOMPARE(splash.Timer1()->interval(), 2000);
    QVERIFY(t.bar().isVisible());
}

void TestSplash::barOpensBeforeTheWindowShows()
{
    TestApp t;
    SkyLaneApp &app = t.create();
    bool barLoadedFirst = false;
    QObject::connect(&app.splash(), &Splash::barRequested, &app, [&] {
        // Still in the load step: the window is not shown yet.
        barLoadedFirst = !app.splash().isVisible();
    });
    app.start();
    QVERIFY(barLoadedFirst);
    QVERIFY(t.bar().isVisible());
    QVERIFY(t.fakes.windows->isTopmost(&t.bar()));
}

void TestSplash::closingNeverAffectsTheBar_data()
{
    QTest::addColumn<bool>("laterRun");
    QTest::addColumn<bool>("byRedLine");
    QTest::newRow("first run, red line") << false << true;
    QTest::newRow("later run, red line before the tick") << true << true;
    QTest::newRow("later run, tick") << true << false;
}

void TestSplash::closingNeverAffectsTheBar()
{
    QFETCH(bool, laterRun);
    QFETCH(bool, byRedLine);
    TestApp t;
    if (laterRun)
        t.writeFile(kMarker, markerBytes());
    t.start();
    Splash &splash = t.app().splash();
    if (byRedLine)
        leftClick(splash.Label4());
    else
        splash.Timer1_Timer();
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.Timer1()->isActive());
    QVERIFY(t.bar().isVisible());
}

void TestSplash::realTimerClosesTheWindow()
{
    TestApp t;
    t.writeFile(kMarker, markerBytes());
    t.start();
    QTRY_VERIFY_WITH_TIMEOUT(!t.app().splash().isVisible(), 20000);
    QVERIFY(t.bar().isVisible());
}

void TestSplash::helpAndWebLinkKeepTheState()
{
    TestApp t;
    t.start();
    Splash &splash = t.app().splash();
    leftClick(splash.Command2());
    leftClick(splash.Label6());
    // A release that is not a left click does nothing.
    QTest::mouseClick(splash.Label6(), Qt::RightButton, {}, QPoint(2, 2));
    QCOMPARE(t.fakes.shell->opened,
             QStringList({t.path("help/help.htm"), QString::fromLatin1(product::kMakerWebAddress)}));
    QVERIFY(splash.isVisible());
    QVERIFY(!splash.Timer1()->isActive());
}

void TestSplash::aboutWhileOpenOnlyBringsItForward()
{
    TestApp t;
    t.start();
    QDir(t.path("help")).removeRecursively();
    t.writeFile(kMarker, "x");
    t.app().showSplash();
    // No load step: no folder made, the marker not read (no timer).
    QVERIFY(!QFileInfo::exists(t.path("help")));
    QVERIFY(!t.app().splash().Timer1()->isActive());
    QVERIFY(t.app().splash().isVisible());
}

void TestSplash::aboutWhileClosedRepeatsTheLoadStep()
{
    TestApp t;
    t.start();
    Splash &splash = t.app().splash();
    leftClick(splash.Label4());
    QDir(t.path("help")).removeRecursively();
    t.bar().menus().mnuAbout->trigger();
    QVERIFY(QFileInfo(t.path("help")).isDir());
    QVERIFY(splash.isVisible());
    QVERIFY(splash.Timer1()->isActive());
    QCOMPARE(t.readFile(kMarker), markerBytes());
}

void TestSplash::deletedMarkerMakesAFirstRunAgain()
{
    TestApp t;
    t.writeFile(kMarker, "old");
    t.start();
    Splash &splash = t.app().splash();
    splash.Timer1_Timer();
    QFile::remove(t.path(kMarker));
    t.app().showSplash();
    QVERIFY(splash.isVisible());
    QVERIFY(!splash.Timer1()->isActive());
    QCOMPARE(t.readFile(kMarker), markerBytes());
}

void TestSplash::windowAndControls()
{
    TestApp t;
    t.start();
    Splash &splash = t.app().splash();
    QCOMPARE(splash.objectName(), QString("Splash"));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(t.fakes.windows->startupPrepareCalls >= 1);
    // The client area at (212, 136), 398 x 273, inside a one-pixel frame.
    QCOMPARE(splash.mapToGlobal(splash.clientArea()->geometry().topLeft()), QPoint(212, 136));
    QCOMPARE(splash.clientArea()->size(), QSize(398, 273));
    QCOMPARE(splash.Label4()->text(), QString("Move the Button bar to the desired position and click on this line"));
    QCOMPARE(splash.Label5()->text(), QString("This program is FREE "));
    QCOMPARE(splash.Label6()->text(), QString::fromLatin1(product::kMakerWebAddress));
    QCOMPARE(splash.Command2()->text(), QString("Help"));
    QVERIFY(splash.Command2()->hasFocus() || !QGuiApplication::focusWindow());
    // The embossed maker's line: grey above light grey, 40 twips left, 25 below.
    QCOMPARE(splash.Label1(0)->text(), QString::fromLatin1(product::kMakerName));
    QVERIFY(splash.clientArea()->children().indexOf(splash.Label1(0))
            > splash.clientArea()->children().indexOf(splash.Label1(1)));
    QCOMPARE(splash.Label1(0)->foreColor(), 0x00808080u);
    QCOMPARE(splash.Label4()->palette().color(QPalette::Window), QColor(255, 0, 0));
    // The client area is white; the darts are drawn top-left.
    const QImage shot = splash.clientArea()->grab().toImage();
    QCOMPARE(shot.pixelColor(390, 200), QColor(Qt::white));
}

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
