#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "bar/Controls.h"
#include "startup/Splash.h"
#include "support/TestApp.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kMarker = QStringLiteral("config/runs.cfg");
const QByteArray kNewMarker =
    QByteArray(" 1 \r\nVoltari Software - USA\r\nSky Lane v2.0\r\n") + product::kMakerWebAddress + "\r\n";
using Bytes = std::optional<QByteArray>;

void leftClick(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2)); }
} // namespace

class TestSplash : public QObject {
    Q_OBJECT
private slots:
    void firstAndLaterRuns_data();
    void firstAndLaterRuns();
    void closingNeverAffectsTheBar_data();
    void closingNeverAffectsTheBar();
    void realTimerClosesTheWindow();
    void helpAndWebLinkKeepTheState();
    void aboutRepeatsTheLoadStepOnlyWhenClosed_data();
    void aboutRepeatsTheLoadStepOnlyWhenClosed();
    void windowAndControls();
};

void TestSplash::firstAndLaterRuns_data()
{
    QTest::addColumn<Bytes>("marker");
    QTest::addColumn<bool>("timerOn");
    QTest::addColumn<QByteArray>("markerAfter");
    QTest::newRow("first run") << Bytes() << false << kNewMarker;
    QTest::newRow("later run") << Bytes(kNewMarker) << true << kNewMarker;
    QTest::newRow("other text still counts") << Bytes("hello") << true << QByteArray("hello");
    QTest::newRow("empty first line still counts") << Bytes("\r\n") << true << QByteArray("\r\n");
    QTest::newRow("zero bytes: written anew") << Bytes("") << false << kNewMarker;
}

void TestSplash::firstAndLaterRuns()
{
    QFETCH(Bytes, marker);
    TestApp t;
    if (marker)
        t.writeFile(kMarker, *marker);
    Splash &splash = t.create().splash();
    bool barLoadedFirst = false;
    // Still in the load step when the bar is asked for: the window is not shown yet.
    QObject::connect(&splash, &Splash::barRequested, &t.app(), [&] { barLoadedFirst = !splash.isVisible(); });
    t.start();
    QVERIFY(barLoadedFirst);
    QVERIFY(t.bar().isVisible());
    QVERIFY(QFileInfo(t.path("config")).isDir());
    QVERIFY(QFileInfo(t.path("help")).isDir());
    QTEST(t.readFile(kMarker), "markerAfter");
    QVERIFY(splash.isVisible());
    QTEST(splash.Timer1()->isActive(), "timerOn");
    QCOMPARE(splash.Timer1()->interval(), 2000);
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
        t.writeFile(kMarker, kNewMarker);
    t.start();
    Splash &splash = t.app().splash();
    byRedLine ? leftClick(splash.Label4()) : splash.Timer1_Timer();
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.Timer1()->isActive());
    QVERIFY(t.bar().isVisible());
}

void TestSplash::realTimerClosesTheWindow()
{
    TestApp t;
    t.writeFile(kMarker, kNewMarker);
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

void TestSplash::aboutRepeatsTheLoadStepOnlyWhenClosed_data()
{
    // After a first run: whether the window is closed before "About", what
    // the marker then holds (none: deleted), and what the load step did.
    QTest::addColumn<bool>("closed");
    QTest::addColumn<Bytes>("marker");
    QTest::addColumn<bool>("helpMade");
    QTest::addColumn<bool>("timerOn");
    QTest::addColumn<QByteArray>("markerAfter");
    QTest::newRow("open: only brought forward") << false << Bytes("x") << false << false << QByteArray("x");
    QTest::newRow("closed: load step again") << true << Bytes(kNewMarker) << true << true << kNewMarker;
    QTest::newRow("closed, marker deleted: a first run") << true << Bytes() << true << false << kNewMarker;
}

void TestSplash::aboutRepeatsTheLoadStepOnlyWhenClosed()
{
    QFETCH(bool, closed);
    QFETCH(Bytes, marker);
    TestApp t;
    t.start();
    Splash &splash = t.app().splash();
    if (closed)
        leftClick(splash.Label4());
    QDir(t.path("help")).removeRecursively();
    marker ? t.writeFile(kMarker, *marker) : void(QFile::remove(t.path(kMarker)));
    t.bar().menus().mnuAbout->trigger();
    QVERIFY(splash.isVisible());
    QTEST(QFileInfo(t.path("help")).isDir(), "helpMade");
    QTEST(splash.Timer1()->isActive(), "timerOn");
    QTEST(t.readFile(kMarker), "markerAfter");
}

void TestSplash::windowAndControls()
{
    TestApp t;
    t.start();
    Splash &splash = t.app().splash();
    QCOMPARE(splash.objectName(), QString("Splash"));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(t.fakes.windows->startupPrepareCalls >= 1);
    // Inside a one-pixel frame; its place and the red line are seen end to end.
    QCOMPARE(splash.clientArea()->size(), QSize(398, 273));
    QCOMPARE(QStringList({splash.Label4()->text(), splash.Label5()->text(), splash.Label6()->text(),
                          splash.Command2()->text(), splash.Label1(0)->text()}),
             QStringList({"Move the Button bar to the desired position and click on this line",
                          "This program is FREE ", product::kMakerWebAddress, "Help", product::kMakerName}));
    QVERIFY(splash.Command2()->hasFocus() || !QGuiApplication::focusWindow());
    // The embossed maker's line: grey above light grey.
    QVERIFY(splash.clientArea()->children().indexOf(splash.Label1(0))
            > splash.clientArea()->children().indexOf(splash.Label1(1)));
    QCOMPARE(splash.Label1(0)->foreColor(), 0x00808080u);
    // The client area is white; the darts are drawn top-left.
    const QImage shot = splash.clientArea()->grab().toImage();
    QCOMPARE(shot.pixelColor(390, 200), QColor(Qt::white));
}

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
