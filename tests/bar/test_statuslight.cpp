#include "bar/BarWindow.h"
#include "bar/RestoreWindow.h"
#include "bar/StatusLight.h"
#include "support/TestApp.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace skylane;
using namespace skylane::test;

namespace {

// Which lamps are shown, as "unlit green red" flags, e.g. "-G-".
QString lamps(BarWindow &bar)
{
    QString s;
    s += bar.Image3(0)->isHidden() ? '-' : 'U';
    s += bar.Image3(1)->isHidden() ? '-' : 'G';
    s += bar.Image3(2)->isHidden() ? '-' : 'R';
    return s;
}

// Clicks the upper visible lamp, the one a click reaches.
void clickLight(BarWindow &bar)
{
    for (int i = 2; i >= 0; --i) {
        if (!bar.Image3(i)->isHidden()) {
            QTest::mouseClick(bar.Image3(i), Qt::LeftButton, {}, QPoint(5, 5));
            return;
        }
    }
}

} // namespace

class TestStatusLight : public QObject {
    Q_OBJECT
private slots:
    void greenClickDropsTheBar();
    void countdownOfElevenTicks();
    void clickDuringCountdown_data();
    void clickDuringCountdown();
    void realBarTimerIsWired();
    void restoreWindowCountsAndReturns();
    void realRestoreTimerIsWired();
    void oneRestoreWindowForTheRun();
    void greenClickRightAfterARestoreEndsTheReturn();
    void onlyALeftClickActs();
};

void TestStatusLight::greenClickDropsTheBar()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QCOMPARE(lamps(bar), QString("-G-"));
    QVERIFY(!t.app().restoreWindow().isVisible());
    clickLight(bar);
    QCOMPARE(lamps(bar), QString("U--"));
    QVERIFY(!t.fakes.windows->isTopmost(&bar));
    QVERIFY(bar.isVisible());
    RestoreWindow &restore = t.app().restoreWindow();
    QVERIFY(restore.isVisible());
    QVERIFY(restore.isMinimized());
    QCOMPARE(restore.windowTitle(), QString("Ulvo's Launch Bar"));
    QCOMPARE(restore.Label1()->text(), QString("Show LaunchBar"));
    QVERIFY(!bar.Timer1()->isActive());
}

void TestStatusLight::countdownOfElevenTicks()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    StatusLight &light = t.app().statusLight();
    clickLight(bar); // dropped
    clickLight(bar); // countdown
    QCOMPARE(lamps(bar), QString("--R"));
    QVERIFY(bar.Timer1()->isActive());
    QCOMPARE(bar.Timer1()->interval(), 1000);
    for (int tick = 1; tick <= 10; ++tick) {
        light.Timer1_Timer();
        QCOMPARE(light.BlinkCount(), tick);
        QCOMPARE(lamps(bar), QString(tick % 2 ? "U--" : "--R"));
        QVERIFY(!t.fakes.windows->isTopmost(&bar));
    }
    light.Timer1_Timer();
    QCOMPARE(lamps(bar), QString("-G-"));
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QCOMPARE(light.BlinkCount(), 0);
    QVERIFY(!bar.Timer1()->isActive());
    // The taskbar entry stays until the user restores or closes it.
    QVERIFY(t.app().restoreWindow().isVisible());
}

void TestStatusLight::clickDuringCountdown_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("lampsAfter");
    QTest::newRow("red phase") << 2 << "-G-";
    // The unlit lamp stays visible beneath the green one.
    QTest::newRow("unlit phase") << 3 << "UG-";
}

void TestStatusLight::clickDuringCountdown()
{
    QFETCH(int, ticks);
    QFETCH(QString, lampsAfter);
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    StatusLight &light = t.app().statusLight();
    clickLight(bar);
    clickLight(bar);
    for (int i = 0; i < ticks; ++i)
        light.Timer1_Timer();
    clickLight(bar);
    QCOMPARE(lamps(bar), lampsAfter);
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QVERIFY(!bar.Timer1()->isActive());
    QCOMPARE(light.BlinkCount(), 0);
}

void TestStatusLight::realBarTimerIsWired()
{
    TestApp t;
    t.start();
    clickLight(t.bar());
    clickLight(t.bar());
    QTRY_VERIFY_WITH_TIMEOUT(t.app().statusLight().BlinkCount() >= 1, 20000);
}

void TestStatusLight::restoreWindowCountsAndReturns()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    RestoreWindow &restore = t.app().restoreWindow();
    clickLight(bar);
    QCOMPARE(restore.ResizeCount(), 1);
    QVERIFY(!restore.Timer1()->isActive());
    // The user restores the entry from the taskbar.
    restore.setWindowState(Qt::WindowNoState);
    QCOMPARE(restore.ResizeCount(), 0);
    QVERIFY(restore.Timer1()->isActive());
    QCOMPARE(restore.Timer1()->interval(), 100);
    restore.Timer1_Timer();
    QVERIFY(!restore.isVisible());
    QVERIFY(bar.isVisible());
    QVERIFY(!bar.Image3(1)->isHidden());
    QVERIFY(bar.Timer1()->isActive());
    QVERIFY(!t.fakes.windows->isTopmost(&bar));
    // The bar's next tick completes the return.
    t.app().statusLight().Timer1_Timer();
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QVERIFY(!bar.Timer1()->isActive());
    QVERIFY(bar.Image3(2)->isHidden());
}

void TestStatusLight::realRestoreTimerIsWired()
{
    TestApp t;
    t.start();
    clickLight(t.bar());
    RestoreWindow &restore = t.app().restoreWindow();
    restore.setWindowState(Qt::WindowNoState);
    QTRY_VERIFY_WITH_TIMEOUT(!restore.isVisible(), 20000);
    QVERIFY(t.bar().Timer1()->isActive());
}

void TestStatusLight::oneRestoreWindowForTheRun()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    RestoreWindow &restore = t.app().restoreWindow();
    clickLight(bar);
    // Closed by the user from its entry while the count is 1: the next
    // showing starts afresh and does not bring the bar straight back.
    restore.close();
    clickLight(bar); // countdown
    clickLight(bar); // ends it: on top, green
    clickLight(bar); // dropped again
    QCOMPARE(&t.app().restoreWindow(), &restore);
    QVERIFY(restore.isVisible());
    QCOMPARE(restore.ResizeCount(), 1);
    QVERIFY(!restore.Timer1()->isActive());
    QCOMPARE(lamps(bar), QString("U--"));
    // Shown again while its entry still stands: nothing changes.
    restore.showEntry();
    QCOMPARE(restore.ResizeCount(), 1);
}

void TestStatusLight::greenClickRightAfterARestoreEndsTheReturn()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    RestoreWindow &restore = t.app().restoreWindow();
    clickLight(bar);
    restore.setWindowState(Qt::WindowNoState);
    restore.Timer1_Timer();
    clickLight(bar);
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QVERIFY(!bar.Timer1()->isActive());
    QVERIFY(!restore.isVisible());
}

void TestStatusLight::onlyALeftClickActs()
{
    TestApp t;
    t.start();
    QTest::mouseClick(t.bar().Image3(1), Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(lamps(t.bar()), QString("-G-"));
    QVERIFY(t.fakes.windows->isTopmost(&t.bar()));
}

QTEST_MAIN(TestStatusLight)
#include "test_statuslight.moc"
