#include "bar/BarPlacement.h"
#include "bar/BarWindow.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kSettings = QStringLiteral("config/prg.cfg");

QByteArray settingsLine(const TestApp &t, int index)
{
    const auto lines = textfile::readLines(t.path(kSettings));
    return lines && lines->size() > index ? lines->at(index) : QByteArray();
}

void sendMouse(QWidget *target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               QPoint local)
{
    QMouseEvent event(type, local, target->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}
} // namespace

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void topmostAtLoad();
    void everyPressSaves_data();
    void everyPressSaves();
    void systemMoveSavesTheFinalPlace();
    void followThePointerWithoutSystemMove_data();
    void followThePointerWithoutSystemMove();
    void barOffEveryScreenIsBroughtBack_data();
    void barOffEveryScreenIsBroughtBack();
    void placeOnScreens_data();
    void placeOnScreens();
};

void TestPlacement::topmostAtLoad()
{
    TestApp t;
    t.start();
    QCOMPARE(t.fakes.windows->topmostCalls, QList<bool>({true}));
}

void TestPlacement::everyPressSaves_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("systemMove");
    QTest::newRow("left, window manager moves") << Qt::LeftButton << true;
    QTest::newRow("left, no window-manager move") << Qt::LeftButton << false;
    QTest::newRow("right") << Qt::RightButton << true;
    QTest::newRow("middle") << Qt::MiddleButton << true;
}

void TestPlacement::everyPressSaves()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, systemMove);
    TestApp t;
    t.writeFile(kSettings, "LF= 1500\r\nTP= 3000\r\nXX= other\r\n");
    t.fakes.windows->systemMoveAvailable = systemMove;
    t.start();
    // A press and release without any movement still rewrites the file.
    QTest::mouseClick(t.bar().Image2(), button, {}, QPoint(3, 3));
    QCOMPARE(textfile::readLines(t.path(kSettings))->size(), 6);
    QCOMPARE(settingsLine(t, 0), QByteArray("LF= 1500"));
    QCOMPARE(settingsLine(t, 1), QByteArray("TP= 3000"));
    // Only the left button is handed to the window manager, whose move ends
    // on a left release.
    QCOMPARE(t.fakes.windows->systemMoves, button == Qt::LeftButton ? 1 : 0);
    QCOMPARE(t.bar().pos(), QPoint(100, 200));
}

void TestPlacement::systemMoveSavesTheFinalPlace()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    QTest::mousePress(bar.Image2(), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(settingsLine(t, 0), QByteArray("LF= 5100"));
    // The window manager moves the bar with the pointer.
    bar.move(300, 250);
    bar.move(400, 260);
    QTRY_COMPARE_WITH_TIMEOUT(settingsLine(t, 0), QByteArray("LF= 6000"), 20000);
    QCOMPARE(settingsLine(t, 1), QByteArray("TP= 3900"));
    // A move the program makes itself later is not saved.
    t.writeFile(kSettings, "LF= 1\r\n");
    bar.move(10, 10);
    QTest::qWait(BarPlacement::kMoveSettleMs * 3);
    QCOMPARE(t.readFile(kSettings), QByteArray("LF= 1\r\n"));
}

void TestPlacement::followThePointerWithoutSystemMove_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("systemMove");
    QTest::newRow("left, no window-manager move") << Qt::LeftButton << false;
    QTest::newRow("right") << Qt::RightButton << true;
}

void TestPlacement::followThePointerWithoutSystemMove()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, systemMove);
    TestApp t;
    t.fakes.windows->systemMoveAvailable = systemMove;
    t.start();
    BarWindow &bar = t.bar();
    PictureBox *handle = bar.Image2();
    const QPoint start = bar.pos();
    const QPoint grab(4, 5);
    sendMouse(handle, QEvent::MouseButtonPress, button, button, grab);
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, button, grab + QPoint(30, 20));
    QCOMPARE(bar.pos(), start + QPoint(30, 20));
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, button, grab + QPoint(-40, 10));
    QCOMPARE(bar.pos(), start + QPoint(30 - 40, 20 + 10));
    QCOMPARE(settingsLine(t, 0), QByteArray("LF= 5100")); // saved at the press
    sendMouse(handle, QEvent::MouseButtonRelease, button, Qt::NoButton, grab);
    QCOMPARE(settingsLine(t, 0), QByteArray::number(5100 - 10 * 15).prepend("LF= "));
    QCOMPARE(settingsLine(t, 1), QByteArray::number(4620 + 30 * 15).prepend("TP= "));
    // Released: the bar no longer follows.
    const QPoint dropped = bar.pos();
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, grab + QPoint(50, 50));
    QCOMPARE(bar.pos(), dropped);
}

void TestPlacement::barOffEveryScreenIsBroughtBack_data()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize bar(97, 25); // a row of one button: 1450 x 375 twips
    QTest::addColumn<QPoint>("saved");
    QTest::addColumn<QPoint>("shown");
    QTest::newRow("far left") << QPoint(-5000, 100) << QPoint(area.left(), 100);
    QTest::newRow("below, right")
        << QPoint(screen.right() + 300, screen.bottom() + 300)
        << QPoint(area.right() + 1 - bar.width(), area.bottom() + 1 - bar.height());
    QTest::newRow("partly off stays") << QPoint(-50, 100) << QPoint(-50, 100);
    QTest::newRow("one pixel on the screen stays") << QPoint(screen.right(), 100) << QPoint(screen.right(), 100);
}

void TestPlacement::barOffEveryScreenIsBroughtBack()
{
    QFETCH(QPoint, saved);
    QFETCH(QPoint, shown);
    TestApp t;
    const QByteArray file = "LF= " + QByteArray::number(saved.x() * 15) + "\r\nTP= "
                            + QByteArray::number(saved.y() * 15) + "\r\n";
    t.writeFile(kSettings, file);
    t.start();
    QCOMPARE(t.bar().pos(), shown);
    QCOMPARE(t.bar().leftTwips(), shown.x() * 15.0);
    // The same while running, as when the bar's screen is removed.
    t.bar().moveTwips(saved.x() * 15, saved.y() * 15);
    QCOMPARE(t.bar().leftTwips(), saved.x() * 15.0);
    t.app().placement().keepOnScreen();
    QCOMPARE(t.bar().pos(), shown);
    QCOMPARE(t.bar().leftTwips(), shown.x() * 15.0);
    QCOMPARE(t.bar().topTwips(), shown.y() * 15.0);
    // The correction is not saved.
    QCOMPARE(t.readFile(kSettings), file);
}

void TestPlacement::placeOnScreens_data()
{
    QTest::addColumn<QRect>("bar");
    QTest::addColumn<QPoint>("expected");
    // Two screens side by side; the right one has a panel along its top.
    QTest::newRow("on the left screen") << QRect(100, 100, 97, 23) << QPoint(100, 100);
    QTest::newRow("across both") << QRect(1000, 100, 97, 23) << QPoint(1000, 100);
    QTest::newRow("monitor gone to the right") << QRect(2500, 500, 97, 23) << QPoint(1920 - 97, 500);
    QTest::newRow("above the right screen") << QRect(1200, -400, 97, 23) << QPoint(1200, 30);
    QTest::newRow("below both, nearer the left") << QRect(100, 2000, 97, 23) << QPoint(100, 768 - 23);
}

void TestPlacement::placeOnScreens()
{
    QFETCH(QRect, bar);
    QFETCH(QPoint, expected);
    const QList<QRect> screens = {QRect(0, 0, 1024, 768), QRect(1024, 0, 896, 1080)};
    const QList<QRect> available = {QRect(0, 0, 1024, 768), QRect(1024, 30, 896, 1050)};
    QCOMPARE(skylane::placeOnScreens(bar, screens, available), expected);
}

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
