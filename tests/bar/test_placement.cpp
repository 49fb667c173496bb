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
    void dragSavesOnceAtItsEnd_data();
    void dragSavesOnceAtItsEnd();
    void barOffEveryScreenIsBroughtBack_data();
    void barOffEveryScreenIsBroughtBack();
    void placeOnScreens_data();
    void placeOnScreens();
};

void TestPlacement::dragSavesOnceAtItsEnd_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("systemMove");
    // Only the left button is handed to the window manager, whose move ends
    // on a left release; otherwise the bar follows the pointer.
    QTest::addColumn<bool>("follows");
    QTest::newRow("left, window manager moves") << Qt::LeftButton << true << false;
    QTest::newRow("left, no window-manager move") << Qt::LeftButton << false << true;
    QTest::newRow("right") << Qt::RightButton << true << true;
    QTest::newRow("middle") << Qt::MiddleButton << true << true;
}

void TestPlacement::dragSavesOnceAtItsEnd()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, systemMove);
    QFETCH(bool, follows);
    TestApp t;
    t.writeFile(kSettings, "LF= 1500\r\nTP= 3000\r\nXX= other\r\n");
    t.fakes.windows->systemMoveAvailable = systemMove;
    t.start();
    BarWindow &bar = t.bar();
    PictureBox *handle = bar.Image2();
    QPoint last(100, 200);
    QCOMPARE(bar.pos(), last);
    const QPoint grab(4, 5);
    const QByteArray before = t.readFile(kSettings);
    sendMouse(handle, QEvent::MouseButtonPress, button, button, grab);
    QCOMPARE(t.fakes.windows->systemMoves, button == Qt::LeftButton ? 1 : 0);
    for (const QPoint to : {QPoint(130, 220), QPoint(60, 230)}) {
        sendMouse(handle, QEvent::MouseMove, Qt::NoButton, button, grab + to - bar.pos());
        QCOMPARE(bar.pos(), follows ? to : last);
        if (!follows)
            bar.move(to); // the window manager's move
        last = to;
        // A pause mid-drag saves nothing.
        QTest::qWait(400);
        QCOMPARE(t.readFile(kSettings), before);
    }
    sendMouse(handle, QEvent::MouseButtonRelease, button, Qt::NoButton, grab);
    t.fakes.windows->endSystemMove();
    // Saved once the move has ended, with the final place.
    QCOMPARE(textfile::readLines(t.path(kSettings))->size(), 6);
    QCOMPARE(settingsLine(t, 0) + ' ' + settingsLine(t, 1), QByteArray("LF= 900 TP= 3450"));
    // Released: the bar no longer follows, and a move the program makes
    // itself is not saved.
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, grab + QPoint(50, 50));
    QCOMPARE(bar.pos(), last);
    t.writeFile(kSettings, "LF= 1\r\n");
    bar.move(10, 10);
    QTest::qWait(400);
    QCOMPARE(t.readFile(kSettings), QByteArray("LF= 1\r\n"));
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
    // Where the bar stands, in pixels and in twips.
    const auto place = [&t] {
        return QList<QPointF>{t.bar().pos(), QPointF(t.bar().leftTwips(), t.bar().topTwips()) / 15};
    };
    t.start();
    QCOMPARE(place(), (QList<QPointF>{shown, shown}));
    // The same while running, as when the bar's screen is removed.
    t.bar().moveTwips(saved.x() * 15, saved.y() * 15);
    t.app().placement().keepOnScreen();
    QCOMPARE(place(), (QList<QPointF>{shown, shown}));
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
