#include "platform/Platform.h"

#include <QTest>

using namespace skylane;

// The choice runs before any window exists, so it is tested apart from one:
// only the environment it reads and sets matters.
class TestPlatformChoice : public QObject {
    Q_OBJECT
private slots:
    void choosesX11UnlessTheUserChose_data()
    {
        QTest::addColumn<QByteArray>("userChoice");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QByteArray>("chosen");
        QTest::newRow("unset, no display") << QByteArray() << QByteArray() << false << QByteArray("xcb");
        QTest::newRow("unset, unreachable") << QByteArray() << QByteArray(":4711") << false << QByteArray("xcb");
        QTest::newRow("user's wayland") << QByteArray("wayland") << QByteArray() << true << QByteArray("wayland");
        QTest::newRow("user's offscreen") << QByteArray("offscreen") << QByteArray() << true
                                          << QByteArray("offscreen");
        QTest::newRow("user's xcb, no display") << QByteArray("xcb") << QByteArray() << false << QByteArray("xcb");
    }
    void choosesX11UnlessTheUserChose()
    {
        QFETCH(QByteArray, userChoice);
        QFETCH(QByteArray, display);
        QFETCH(bool, runs);
        QFETCH(QByteArray, chosen);
        const QByteArray before = qgetenv("QT_QPA_PLATFORM");
        userChoice.isEmpty() ? qunsetenv("QT_QPA_PLATFORM") : qputenv("QT_QPA_PLATFORM", userChoice);
        display.isEmpty() ? qunsetenv("DISPLAY") : qputenv("DISPLAY", display);
        const bool ran = prepareNativeWindowSystem();
        const QByteArray after = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", before);
        QCOMPARE(ran, runs);
        QCOMPARE(after, chosen);
    }
};

QTEST_MAIN(TestPlatformChoice)
#include "test_platformchoice.moc"
