#include "bar/BarWindow.h"
#include "bar/RestoreWindow.h"
#include "bar/StatusLight.h"
#include "support/TestApp.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace skylane;
using namespace skylane::test;

class TestStatusLight : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_t = std::make_unique<TestApp>();
        m_t->start();
    }
    void cleanup() { m_t.reset(); }
    void greenClickDropsTheBar();
    void countdownOfElevenTicks();
    void clickDuringCountdown_data();
    void clickDuringCountdown();
    void realBarTimerIsWired();
    void restoreWindowReturnsTheBar_data();
    void restoreWindowReturnsTheBar();
    void realRestoreTimerIsWired();
    void oneRestoreWindowForTheRun();
    void onlyALeftClickActs();

private:
    BarWindow &bar() { return m_t->bar(); }
    StatusLight &light() { return m_t->app().statusLight(); }
    RestoreWindow &restore() { return m_t->app().restoreWindow(); }

    // The lamps shown as "unlit green red" flags, the stacking, the bar's
    // timer and the blink count, e.g. "-G- top still 0".
    QString state()
    {
        QString lamps;
        for (int i = 0; i < 3; ++i)
            lamps += bar().Image3(i)->isHidden() ? '-' : "UGR"[i];
        return QString("%1 %2 %3 %4")
            .arg(lamps, m_t->fakes.windows->isTopmost(&bar()) ? "top" : "below",
                 bar().Timer1()->isActive() ? "ticking" : "still")
            .arg(light().BlinkCount());
    }

    // Clicks the upper visible lamp, the one a click reaches.
    void click(Qt::MouseButton button = Qt::LeftButton)
    {
        for (int i = 2; i >= 0; --i) {
            if (!bar().Image3(i)->isHidden())
                return QTest::mouseClick(bar().Image3(i), button, {}, QPoint(5, 5));
        }
    }

    std::unique_ptr<TestApp> m_t;
};

void TestStatusLight::greenClickDropsTheBar()
{
    QCOMPARE(state(), QString("-G- top still 0"));
    QVERIFY(!restore().isVisible());
    click();
    QCOMPARE(state(), QString("U-- below still 0"));
    QVERIFY(bar().isVisible());
    QVERIFY(restore().isVisible());
    QVERIFY(restore().isMinimized());
    QCOMPARE(restore().windowTitle(), QString("Ulvo's Launch Bar"));
    QCOMPARE(restore().Label1()->text(), QString("Show LaunchBar"));
}

void TestStatusLight::countdownOfElevenTicks()
{
    click(); // dropped
    click(); // countdown
    QCOMPARE(state(), QString("--R below ticking 0"));
    QCOMPARE(bar().Timer1()->interval(), 1000);
    for (int tick = 1; tick <= 10; ++tick) {
        light().Timer1_Timer();
        QCOMPARE(state(), QString(tick % 2 ? "U-- below ticking %1" : "--R below ticking %1").arg(tick));
    }
    light().Timer1_Timer();
    QCOMPARE(state(), QString("-G- top still 0"));
    // The taskbar entry stays until the user restores or closes it.
    QVERIFY(restore().isVisible());
}

void TestStatusLight::clickDuringCountdown_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("after");
    QTest::newRow("red phase") << 2 << "-G- top still 0";
    // The unlit lamp stays visible beneath the green one.
    QTest::newRow("unlit phase") << 3 << "UG- top still 0";
}

void TestStatusLight::clickDuringCountdown()
{
    QFETCH(int, ticks);
    click();
    click();
    for (int i = 0; i < ticks; ++i)
        light().Timer1_Timer();
    click();
    QTEST(state(), "after");
}

void TestStatusLight::realBarTimerIsWired()
{
    click();
    click();
    QTRY_VERIFY_WITH_TIMEOUT(light().BlinkCount() >= 1, 20000);
}

void TestStatusLight::restoreWindowReturnsTheBar_data()
{
    QTest::addColumn<bool>("greenClick");
    QTest::newRow("the bar's next tick") << false;
    QTest::newRow("a green click right after") << true;
}

void TestStatusLight::restoreWindowReturnsTheBar()
{
    click();
    QCOMPARE(restore().ResizeCount(), 1);
    QVERIFY(!restore().Timer1()->isActive());
    // The user restores the entry from the taskbar.
    restore().setWindowState(Qt::WindowNoState);
    QCOMPARE(restore().ResizeCount(), 0);
    QVERIFY(restore().Timer1()->isActive());
    QCOMPARE(restore().Timer1()->interval(), 100);
    restore().Timer1_Timer();
    QVERIFY(!restore().isVisible());
    QVERIFY(bar().isVisible());
    QCOMPARE(state(), QString("UG- below ticking 0"));
    // Either completes the return.
    QFETCH(bool, greenClick);
    greenClick ? click() : light().Timer1_Timer();
    QCOMPARE(state(), QString("UG- top still 0"));
    QVERIFY(!restore().isVisible());
}

void TestStatusLight::realRestoreTimerIsWired()
{
    click();
    restore().setWindowState(Qt::WindowNoState);
    QTRY_VERIFY_WITH_TIMEOUT(!restore().isVisible(), 20000);
    QVERIFY(bar().Timer1()->isActive());
}

void TestStatusLight::oneRestoreWindowForTheRun()
{
    RestoreWindow *first = &restore();
    click();
    // Closed by the user from its entry while the count is 1: the next
    // showing starts afresh and does not bring the bar straight back.
    restore().close();
    click(); // countdown
    click(); // ends it: on top, green
    click(); // dropped again
    QCOMPARE(&restore(), first);
    QVERIFY(restore().isVisible());
    QCOMPARE(restore().ResizeCount(), 1);
    QVERIFY(!restore().Timer1()->isActive());
    QCOMPARE(state(), QString("U-- below still 0"));
    // Shown again while its entry still stands: nothing changes.
    restore().showEntry();
    QCOMPARE(restore().ResizeCount(), 1);
}

void TestStatusLight::onlyALeftClickActs()
{
    click(Qt::RightButton);
    QCOMPARE(state(), QString("-G- top still 0"));
}

QTEST_MAIN(TestStatusLight)
#include "test_statuslight.moc"
