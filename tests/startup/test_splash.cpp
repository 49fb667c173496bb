#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "startup/Splash.h"
#include "support/TestApp.h"

#include <QDir>
#include <QPointer>
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
    void firstAndLaterRuns_data()
    {
        QTest::addColumn<Bytes>("marker");
        QTest::addColumn<bool>("timerOn");
        QTest::addColumn<QByteArray>("markerAfter");
        QTest::newRow("first run") << Bytes() << false << kNewMarker;
        QTest::newRow("later run, any text") << Bytes("\r\n") << true << QByteArray("\r\n");
        QTest::newRow("zero bytes: written anew") << Bytes("") << false << kNewMarker;
    }
    void firstAndLaterRuns()
    {
        QFETCH(Bytes, marker);
        TestApp t;
        if (marker)
            t.writeFile(kMarker, *marker);
        t.start();
        // The marker is checked and the bar shown before the start-up window comes.
        QTEST(t.readFile(kMarker), "markerAfter");
        QVERIFY(t.bar().isVisible() && !t.app().splash());
        QTRY_VERIFY(t.app().splash());
        QPointer<Splash> splash = t.app().splash();
        QTEST(splash->closeTimer()->isActive(), "timerOn");
        QCOMPARE(splash->closeTimer()->interval(), 2000);
        // The red line closes it and the closed window is destroyed; the bar stays.
        leftClick(splash->instructionLine());
        QVERIFY(!splash->isVisible() && !splash->closeTimer()->isActive() && t.bar().isVisible());
        QTRY_VERIFY(!splash);
    }

    void linksAboutAndTheRealTimer()
    {
        TestApp t;
        t.start();
        QTRY_VERIFY(t.app().splash());
        Splash *splash = t.app().splash();
        leftClick(splash->helpButton());
        leftClick(splash->webAddressLink());
        QTest::mouseClick(splash->webAddressLink(), Qt::RightButton, {}, QPoint(2, 2));
        QCOMPARE(t.fakes.shell->opened, QStringList({t.path("help/help.htm"), product::kMakerWebAddress}));
        // "About" while it is open only brings it forward; once closed it
        // repeats the load step, now a later run whose timer closes it.
        QDir(t.path("help")).removeRecursively();
        t.bar().menus().about->trigger();
        QVERIFY(t.app().splash() == splash && !QFileInfo(t.path("help")).isDir() && !splash->closeTimer()->isActive());
        leftClick(splash->instructionLine());
        t.bar().menus().about->trigger();
        splash = t.app().splash();
        QVERIFY(splash && QFileInfo(t.path("help")).isDir() && splash->closeTimer()->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!t.app().splash(), 20000);
        QVERIFY(t.bar().isVisible());
    }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
