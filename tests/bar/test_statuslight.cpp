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
    void clicksAndTicks_data();
    void clicksAndTicks();
    void restoreWindowAtTheGreenClick();
    void realBarTimerIsWired();
    void restoreWindowReturnsTheBar_data();
    void restoreWindowReturnsTheBar();
    void realRestoreTimerIsWired();
    void oneRestoreWindowForTheRun();

private:
    BarWindow &bar() { return m_t->bar(); }
    StatusLight &light() { return m_t->app().statusLight(); }
    RestoreWindow &restore() { return m_t->app().restoreWindow(); }

    // The lamps shown as "unlit green red" flags, the stacking, the bar's
    // timer, the blink count and the taskbar entry, e.g. "-G- top still 0, no entry".
    QString state()
    {
        QString lamps;
        for (int i = 0; i < 3; ++i)
            lamps += bar().Image3(i)->isHidden() ? '-' : "UGR"[i];
        return QString("%1 %2 %3 %4, %5")
            .arg(lamps, m_t->fakes.windows->isTopmost(&bar()) ? "top" : "below",
                 bar().Timer1()->isActive() ? "ticking" : "still")
            .arg(light().BlinkCount())
            .arg(restore().isVisible() ? "entry shown" : "no entry");
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

void TestStatusLight::clicksAndTicks_data()
{
    // L: a left click on the light, R: a right click, T: a tick of the bar's timer.
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("after");
    QTest::newRow("at start") << "" << "-G- top still 0, no entry";
    QTest::newRow("green click drops the bar") << "L" << "U-- below still 0, entry shown";
    QTest::newRow("unlit click starts the countdown") << "LL" << "--R below ticking 0, entry shown";
    QTest::newRow("first tick") << "LLT" << "U-- below ticking 1, entry shown";
    QTest::newRow("tenth tick") << "LLTTTTTTTTTT" << "--R below ticking 10, entry shown";
    // The taskbar entry stays until the user restores or closes it.
    QTest::newRow("eleventh tick ends it") << "LLTTTTTTTTTTT" << "-G- top still 0, entry shown";
    QTest::newRow("click in the red phase ends it") << "LLTTL" << "-G- top still 0, entry shown";
    // The unlit lamp stays visible beneath the green one.
    QTest::newRow("click in the unlit phase ends it") << "LLTTTL" << "UG- top still 0, entry shown";
    QTest::newRow("right click on green") << "R" << "-G- top still 0, no entry";
    QTest::newRow("right click on unlit") << "LR" << "U-- below still 0, entry shown";
}

void TestStatusLight::clicksAndTicks()
{
    QFETCH(QString, actions);
    for (const QChar action : actions)
        action == 'T' ? light().Timer1_Timer() : click(action == 'L' ? Qt::LeftButton : Qt::RightButton);
    QTEST(state(), "after");
    QVERIFY(bar().isVisible());
}

void TestStatusLight::restoreWindowAtTheGreenClick()
{
    click();
    QVERIFY(restore().isMinimized());
    QCOMPARE(restore().windowTitle(), QString("Ulvo's Launch Bar"));
    QCOMPARE(restore().Label1()->text(), QString("Show LaunchBar"));
}

void TestStatusLight::realBarTimerIsWired()
{
    QCOMPARE(bar().Timer1()->interval(), 1000);
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
    QFETCH(bool, greenClick);
    click();
    QCOMPARE(restore().ResizeCount(), 1);
    QVERIFY(!restore().Timer1()->isActive());
    // The user restores the entry from the taskbar.
    restore().setWindowState(Qt::WindowNoState);
    QCOMPARE(restore().ResizeCount(), 0);
    QVERIFY(restore().Timer1()->isActive());
    QCOMPARE(restore().Timer1()->interval(), 100);
    restore().Timer1_Timer();
    QVERIFY(bar().isVisible());
    QCOMPARE(state(), QString("UG- below ticking 0, no entry"));
    // Either completes the return.
    greenClick ? click() : light().Timer1_Timer();
    QCOMPARE(state(), QString("UG- top still 0, no entry"));
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
    QCOMPARE(state(), QString("U-- below still 0, entry shown"));
    QCOMPARE(restore().ResizeCount(), 1);
    QVERIFY(!restore().Timer1()->isActive());
    // Shown again while its entry still stands: nothing changes.
    restore().showEntry();
    QCOMPARE(restore().ResizeCount(), 1);
}

QTEST_MAIN(TestStatusLight)
#include "test_statuslight.moc"
