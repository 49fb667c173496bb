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

class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void window();
    void loadSetsTagsAndSelection();
    void keyboardOrder();
    void okPassesTheFlagsOfTheOption_data();
    void okPassesTheFlagsOfTheOption();
    void enterRightAfterOpeningRequestsShutdown();
    void escapeClosesAndReopeningSelectsOption0();
    void closeBoxAndCancelClose_data();
    void closeBoxAndCancelClose();
    void secondRequestKeepsOneDialogAndItsSelection();
    void quitClosesTheBarThenEndsTheProgram();
};

namespace {

Shutdown &openExitDialog(TestApp &t)
{
    t.start();
    t.app().showExitDialog();
    return *t.app().exitDialog();
}

void pressWithMouse(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, button->height() / 2));
}

} // namespace

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
    QFETCH(QString, caption);
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    auto *control = dialog.findChild<QAbstractButton *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), twipsToPixels(twips));
    QCOMPARE(control->text(), caption);
    QVERIFY(control->isVisible());
}

void TestShutdown::window()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    QCOMPARE(dialog.windowTitle(), QString("Shutdown"));
    QCOMPARE(dialog.size(), QSize(202, 142));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!dialog.isModal());
    QVERIFY(!dialog.parentWidget());
    // A plain top-level window, so taskbars list it.
    QCOMPARE(dialog.windowType(), Qt::Window);
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!dialog.windowIcon().isNull());
    QVERIFY(dialog.cmdOk()->isDefault());
    const QPoint screenCentre = dialog.screen()->availableGeometry().center();
    QVERIFY2((dialog.frameGeometry().center() - screenCentre).manhattanLength() <= 4,
             qPrintable(QString("dialog at %1,%2").arg(dialog.x()).arg(dialog.y())));
}

void TestShutdown::loadSetsTagsAndSelection()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    const QStringList tags = {dialog.tag(0), dialog.tag(1), dialog.tag(2), dialog.tag(3), dialog.tag(4)};
    QCOMPARE(tags, QStringList({"1", "2", "0", "4", ""}));
    QVERIFY(dialog.optExitOption(0)->isChecked());
    QCOMPARE(dialog.focusWidget(), dialog.optExitOption(0));
}

void TestShutdown::keyboardOrder()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    QStringList order;
    QWidget *w = dialog.optExitOption(0);
    for (int i = 0; i < 7; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || w == &dialog);
    }
    QCOMPARE(order, QStringList({"optExitOption_0", "cmdCancel", "cmdOk", "optExitOption_3", "optExitOption_2",
                                 "optExitOption_1", "optExitOption_4"}));
}

void TestShutdown::okPassesTheFlagsOfTheOption_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("flags");
    QTest::newRow("Normal Shutdown") << 0 << 1;
    QTest::newRow("Reboot") << 1 << 2;
    QTest::newRow("Log Off") << 2 << 0;
    QTest::newRow("Forced Shutdown: EWX_FORCE alone") << 3 << 4;
}

void TestShutdown::okPassesTheFlagsOfTheOption()
{
    QFETCH(int, option);
    QFETCH(int, flags);
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    bool ended = false;
    dialog.setEndProgram([&] { ended = true; });
    pressWithMouse(dialog.optExitOption(option));
    QVERIFY(dialog.optExitOption(option)->isChecked());
    pressWithMouse(dialog.cmdOk());
    QCOMPARE(t.fakes.session->requests, QList<int>{flags});
    // The dialog waits for the session to end; the bar stays.
    QVERIFY(dialog.isVisible());
    QVERIFY(t.bar().isVisible());
    QVERIFY(!ended);
}

void TestShutdown::enterRightAfterOpeningRequestsShutdown()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    QCOMPARE(t.fakes.session->requests, QList<int>{1});
}

void TestShutdown::escapeClosesAndReopeningSelectsOption0()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    pressWithMouse(dialog.optExitOption(2));
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QVERIFY(t.fakes.session->requests.isEmpty());
    QVERIFY(t.bar().isVisible());

    t.app().showExitDialog();
    QCOMPARE(t.app().exitDialog(), &dialog);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.optExitOption(0)->isChecked());
    QVERIFY(!dialog.optExitOption(2)->isChecked());
    QCOMPARE(dialog.focusWidget(), dialog.optExitOption(0));
}

void TestShutdown::closeBoxAndCancelClose_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestShutdown::closeBoxAndCancelClose()
{
    QFETCH(bool, closeBox);
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    bool ended = false;
    dialog.setEndProgram([&] { ended = true; });
    pressWithMouse(dialog.optExitOption(Shutdown::kQuitOption));
    if (closeBox)
        dialog.close();
    else
        pressWithMouse(dialog.cmdCancel());
    QVERIFY(!dialog.isVisible());
    QVERIFY(t.bar().isVisible());
    QVERIFY(t.fakes.session->requests.isEmpty());
    QVERIFY(!ended);
}

void TestShutdown::secondRequestKeepsOneDialogAndItsSelection()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    pressWithMouse(dialog.optExitOption(3));
    t.app().showExitDialog();
    t.app().showExitDialog();
    QCOMPARE(t.app().exitDialog(), &dialog);
    int open = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        open += w->objectName() == QLatin1String("Shutdown") && w->isVisible();
    QCOMPARE(open, 1);
    QVERIFY(dialog.optExitOption(3)->isChecked());
}

void TestShutdown::quitClosesTheBarThenEndsTheProgram()
{
    TestApp t;
    Shutdown &dialog = openExitDialog(t);
    QStringList seenAtEnd;
    dialog.setEndProgram([&] {
        seenAtEnd << (t.bar().isVisible() ? "bar open" : "bar closed")
                  << (dialog.isVisible() ? "dialog open" : "dialog closed");
    });
    pressWithMouse(dialog.optExitOption(Shutdown::kQuitOption));
    pressWithMouse(dialog.cmdOk());
    QCOMPARE(seenAtEnd, QStringList({"bar closed", "dialog closed"}));
    QVERIFY(t.fakes.session->requests.isEmpty());
}

QTEST_MAIN(TestShutdown)
#include "test_shutdown.moc"
