#include "bar/BarWindow.h"
#include "shutdown/Shutdown.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
void pressWithMouse(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, button->height() / 2));
}
} // namespace

// Each test starts with the program running and the exit dialog open.
class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_t.reset(); }
    void controls_data();
    void controls();
    void window();
    void keyboardOrder();
    void okPassesTheFlagsOfTheOption_data();
    void okPassesTheFlagsOfTheOption();
    void closingKeepsTheBarAndReopensAtOption0_data();
    void closingKeepsTheBarAndReopensAtOption0();
    void secondRequestKeepsOneDialogAndItsSelection();
    void quitClosesTheBarThenEndsTheProgram();

private:
    Shutdown &dialog() { return *m_t->app().exitDialog(); }
    QRadioButton *option(int index) { return dialog().optExitOption(index); }
    // What the user is left with, e.g. "dialog open, bar open, requests shutdown, running".
    QString outcome()
    {
        static const char *const names[] = {"shutdown", "reboot", "logoff", "forced-logoff"};
        QStringList requests;
        for (SessionRequest request : std::as_const(m_t->fakes.session->requests))
            requests << names[static_cast<int>(request)];
        return QString("dialog %1, bar %2, requests %3, %4")
            .arg(dialog().isVisible() ? "open" : "closed", m_t->bar().isVisible() ? "open" : "closed",
                 requests.isEmpty() ? "none" : requests.join(' '), m_ended.isEmpty() ? "running" : m_ended);
    }

    std::unique_ptr<TestApp> m_t;
    QString m_ended; // what the program's end saw
};

void TestShutdown::init()
{
    m_t = std::make_unique<TestApp>();
    m_t->start();
    m_t->app().showExitDialog();
    m_ended.clear();
    dialog().setEndProgram([this] {
        m_ended = QString("ended with bar %1, dialog %2")
                      .arg(m_t->bar().isVisible() ? "open" : "closed", dialog().isVisible() ? "open" : "closed");
    });
}

void TestShutdown::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TwipsRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::newRow("option 0") << "optExitOption_0" << TwipsRect{240, 240, 1575, 255} << "Normal Shutdown";
    QTest::newRow("option 1") << "optExitOption_1" << TwipsRect{240, 600, 1575, 255} << "Reboot";
    QTest::newRow("option 2") << "optExitOption_2" << TwipsRect{240, 960, 1575, 255} << "Log Off";
    QTest::newRow("option 3") << "optExitOption_3" << TwipsRect{240, 1320, 1575, 255} << "Forced Shutdown";
    QTest::newRow("option 4") << "optExitOption_4" << TwipsRect{240, 1680, 2355, 255}
                              << "Quit Sky Lane (buttons bar)";
    QTest::newRow("cmdOk") << "cmdOk" << TwipsRect{2040, 240, 735, 375} << "Ok";
    QTest::newRow("cmdCancel") << "cmdCancel" << TwipsRect{2040, 840, 735, 375} << "Cancel";
}

void TestShutdown::controls()
{
    QFETCH(QString, name);
    QFETCH(TwipsRect, twips);
    auto *control = dialog().findChild<QAbstractButton *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), twipsToPixels(twips));
    QTEST(control->text(), "caption");
    QVERIFY(control->isVisible());
}

void TestShutdown::window()
{
    Shutdown &d = dialog();
    QCOMPARE(d.windowTitle(), QString("Shutdown"));
    QCOMPARE(d.size(), QSize(202, 142));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QVERIFY(!d.isModal());
    QVERIFY(!d.parentWidget());
    // A plain top-level window, so taskbars list it, with a close box alone.
    QCOMPARE(d.windowType(), Qt::Window);
    QCOMPARE(d.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint), Qt::WindowCloseButtonHint);
    QVERIFY(!d.windowIcon().isNull());
    QVERIFY(d.cmdOk()->isDefault());
    const QPoint screenCentre = d.screen()->availableGeometry().center();
    QVERIFY2((d.frameGeometry().center() - screenCentre).manhattanLength() <= 4,
             qPrintable(QString("dialog at %1,%2").arg(d.x()).arg(d.y())));
    // The load step: tags, option 0 selected and holding the focus.
    QCOMPARE(QStringList({d.tag(0), d.tag(1), d.tag(2), d.tag(3), d.tag(4)}), QStringList({"1", "2", "0", "4", ""}));
    QVERIFY(option(0)->isChecked());
    QCOMPARE(d.focusWidget(), option(0));
}

void TestShutdown::keyboardOrder()
{
    QStringList order;
    QWidget *w = option(0);
    for (int i = 0; i < 7; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || w == &dialog());
    }
    QCOMPARE(order, QStringList({"optExitOption_0", "cmdCancel", "cmdOk", "optExitOption_3", "optExitOption_2",
                                 "optExitOption_1", "optExitOption_4"}));
}

void TestShutdown::okPassesTheFlagsOfTheOption_data()
{
    QTest::addColumn<int>("index"); // -1: Enter right after opening
    QTest::addColumn<QString>("outcome");
    // The dialog waits for the session to end; the bar stays.
    QTest::newRow("Normal Shutdown") << 0 << "dialog open, bar open, requests shutdown, running";
    QTest::newRow("Reboot") << 1 << "dialog open, bar open, requests reboot, running";
    QTest::newRow("Log Off") << 2 << "dialog open, bar open, requests logoff, running";
    QTest::newRow("Forced Shutdown: a forced log-off") << 3 << "dialog open, bar open, requests forced-logoff, running";
    QTest::newRow("Enter right after opening: Normal Shutdown") << -1 << "dialog open, bar open, requests shutdown, running";
}

void TestShutdown::okPassesTheFlagsOfTheOption()
{
    QFETCH(int, index);
    if (index < 0) {
        QTest::keyClick(dialog().focusWidget(), Qt::Key_Return);
    } else {
        pressWithMouse(option(index));
        pressWithMouse(dialog().cmdOk());
    }
    QTEST(outcome(), "outcome");
}

void TestShutdown::closingKeepsTheBarAndReopensAtOption0_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestShutdown::closingKeepsTheBarAndReopensAtOption0()
{
    QFETCH(QString, how);
    Shutdown *first = &dialog();
    pressWithMouse(option(Shutdown::kQuitOption));
    if (how == "cancel")
        pressWithMouse(dialog().cmdCancel());
    else if (how == "close")
        dialog().close();
    else
        QTest::keyClick(dialog().focusWidget(), Qt::Key_Escape);
    QCOMPARE(outcome(), QString("dialog closed, bar open, requests none, running"));

    m_t->app().showExitDialog();
    QCOMPARE(&dialog(), first);
    QVERIFY(dialog().isVisible());
    QVERIFY(option(0)->isChecked());
    QVERIFY(!option(Shutdown::kQuitOption)->isChecked());
    QCOMPARE(dialog().focusWidget(), option(0));
}

void TestShutdown::secondRequestKeepsOneDialogAndItsSelection()
{
    Shutdown *first = &dialog();
    pressWithMouse(option(3));
    m_t->app().showExitDialog();
    m_t->app().showExitDialog();
    QCOMPARE(&dialog(), first);
    int open = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        open += w->objectName() == QLatin1String("Shutdown") && w->isVisible();
    QCOMPARE(open, 1);
    QVERIFY(option(3)->isChecked());
}

void TestShutdown::quitClosesTheBarThenEndsTheProgram()
{
    pressWithMouse(option(Shutdown::kQuitOption));
    pressWithMouse(dialog().cmdOk());
    QCOMPARE(outcome(), QString("dialog closed, bar closed, requests none, ended with bar closed, dialog closed"));
}

QTEST_MAIN(TestShutdown)
#include "test_shutdown.moc"
