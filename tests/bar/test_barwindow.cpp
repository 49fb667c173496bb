#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "platform/PaletteSystemColors.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
QStringList describe(const QMenu *menu, int depth = 0)
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        const bool plain = !a->isSeparator() && a->isEnabled() && !a->isChecked() && a->shortcut().isEmpty();
        out << QString(depth * 2, ' ') + a->objectName() + " " + a->text() + (plain ? "" : " (not plain)");
        if (a->menu())
            out << describe(a->menu(), depth + 1);
    }
    return out;
}
} // namespace

class TestBarWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsAtStart_data();
    void controlsAtStart();
    void windowAtStart();
    void labelsAtStart();
    void menuTree();
    void buttonArrayKeepsButton1AndTheTemplate();
    void systemColoursFollowThePalette();
    void commonDialogOffersTheLastColour();
};

void TestBarWindow::controlsAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TwipsRect>("twips");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("Command2(1)") << "Command2_1" << TwipsRect{1110, 10, 325, 315} << true << "";
    QTest::newRow("Command2(0)") << "Command2_0" << TwipsRect{1110, 10, 325, 315} << false << "";
    QTest::newRow("Combo1") << "Combo1" << TwipsRect{120, 1500, 1395, 315} << false << "";
    QTest::newRow("Image1(0) resting") << "Image1_0" << TwipsRect{810, 60, 240, 240} << true << "";
    QTest::newRow("Image1(1) add") << "Image1_1" << TwipsRect{795, 45, 300, 285} << false << "Add button";
    QTest::newRow("Image1(2) remove") << "Image1_2" << TwipsRect{780, 45, 300, 285} << false << "Add button";
    QTest::newRow("Image2 drag handle") << "Image2" << TwipsRect{405, 110, 360, 240} << true << "";
    QTest::newRow("Image3(0) unlit") << "Image3_0" << TwipsRect{60, 160, 180, 180} << false << "";
    QTest::newRow("Image3(1) green") << "Image3_1" << TwipsRect{60, 160, 180, 180} << true << "";
    QTest::newRow("Image3(2) red") << "Image3_2" << TwipsRect{60, 160, 180, 180} << false << "";
    QTest::newRow("Label1") << "Label1" << TwipsRect{0, 0, 675, 195} << true << "";
}

void TestBarWindow::controlsAtStart()
{
    QFETCH(QString, name);
    QFETCH(TwipsRect, twips);
    TestApp t;
    t.bar().show();
    auto *control = t.bar().findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(twipsGeometry(control), twips);
    QCOMPARE(control->geometry(), twipsToPixels(twips));
    QTEST(control->isVisible(), "visible");
    QTEST(control->toolTip(), "tooltip");
    QCOMPARE(control->focusPolicy(), Qt::NoFocus);
}

void TestBarWindow::windowAtStart()
{
    TestApp t;
    BarWindow &bar = t.bar();
    QCOMPARE(bar.objectName(), QString("main"));
    QCOMPARE(QSize(bar.widthTwips(), bar.heightTwips()), QSize(1455, 345));
    QCOMPARE(bar.geometry(), QRect(340, 308, 97, 23));
    QVERIFY(bar.testAttribute(Qt::WA_AlwaysShowToolTips));
    QVERIFY(!bar.windowIcon().isNull());

    t.start();
    QCOMPARE(t.fakes.windows->prepareCalls, 1);
    QCOMPARE(t.fakes.windows->topmostCalls, QList<bool>({true})); // on top once, at load
    QVERIFY(bar.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(bar.isVisible());
}

void TestBarWindow::labelsAtStart()
{
    // The caption's text, colour and font: see the defaults in test_settings.
    TestApp t;
    ColorLabel *caption = t.bar().Label1();
    QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(caption->testAttribute(Qt::WA_TranslucentBackground));

    ColorLabel *menu = t.bar().Label2();
    QCOMPARE(menu->text(), QString("MENU"));
    QCOMPARE(menu->foreColor(), systemColor(14));
    QCOMPARE(menu->font().family(), QString("Arial Narrow"));
    QCOMPARE(menu->font().pointSizeF(), 6.75);
    QVERIFY(!menu->font().bold());
    QCOMPARE(twipsGeometry(menu).left, 435);
    QCOMPARE(twipsGeometry(menu).top, -40);
    QCOMPARE(menu->size(), menu->sizeHint()); // size follows the text
}

void TestBarWindow::menuTree()
{
    TestApp t;
    const QMenu *menu = t.bar().menus().titleMainMenu;
    QCOMPARE(menu->objectName() + ' ' + menu->title(), QString("titleMainMenu Mmenu"));
    const QStringList expected = {
        "mnuBackground Background", "  mnuBGColor Color", "  mnuColrMatch Match Active Bar",
        "  mnuColrMatchInact Match Inactive Bar", "  mnuColrApplic Match Borders",
        "  mnuColrDesktop Match Desktop", "mnuFont Font", "  mnuFontName Type", "  mnuFontColor Color",
        "mnuHide Hide Menu", "mnuType Type", "  mnuAudio Audio", "  mnuGame Game", "  mnuGrap Graphics",
        "  mnuInet Internet", "  mnuMisc Misc", "  mnuPacks Packers", "  mnuText Text", "  mnuSys System",
        "  mnuTools Tools", "  mnuUtils Utilities", "  mnuVideo Video", "  mnuWork Work", "  mnuExit Exit",
        "mnuAbout About"};
    QCOMPARE(describe(menu), expected);
    QVERIFY(!menu->isVisible());
}

void TestBarWindow::buttonArrayKeepsButton1AndTheTemplate()
{
    TestApp t;
    BarWindow &bar = t.bar();
    ProgramButton *third = bar.loadCommand2(3);
    QVERIFY(third && !third->isVisible());
    QCOMPARE(bar.loadCommand2(3), third); // already loaded
    QCOMPARE(bar.Command2(2), nullptr);   // a gap
    bar.unloadCommand2(3);
    QCOMPARE(bar.command2Count(), 2); // the gap before it goes too
    bar.unloadCommand2(1);
    bar.unloadCommand2(0);
    QVERIFY(bar.Command2(1) && bar.Command2(0));
}

void TestBarWindow::systemColoursFollowThePalette()
{
    // The real scheme mapping: a change of the desktop palette repaints the
    // bar and re-colours the "MENU" label, without any saved value changing.
    Platform platform;
    platform.colors = std::make_unique<PaletteSystemColors>();
    platform.dialogs = std::make_unique<FakeDialogs>();
    const SystemColors &colors = *platform.colors;
    // The desktop, inactive title bar and button face are told apart.
    QVERIFY(colors.systemColor(1) != colors.systemColor(15));
    QVERIFY(colors.systemColor(3) != colors.systemColor(2));
    BarWindow bar(platform);
    bar.setBackColor(systemColor(15));
    const QPalette original = QApplication::palette();

    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(10, 200, 30));
    changed.setColor(QPalette::HighlightedText, QColor(250, 5, 5));
    changed.setColor(QPalette::Highlight, QColor(1, 2, 250));
    QApplication::setPalette(changed);
    QCoreApplication::sendPostedEvents(); // widgets hear of it by a posted event
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(10, 200, 30));
    QCOMPARE(bar.Label2()->palette().color(QPalette::WindowText), QColor(250, 5, 5));
    QCOMPARE(colors.systemColor(2), QColor(1, 2, 250)); // active title bar
    QCOMPARE(bar.backColor(), systemColor(15));
    QApplication::setPalette(original);
    QCoreApplication::sendPostedEvents();
}

void TestBarWindow::commonDialogOffersTheLastColour()
{
    TestApp t;
    CommonDialog *dlg = t.bar().CommonDialog1();
    QCOMPARE(dlg->objectName(), QString("CommonDialog1"));
    t.fakes.dialogs->colorAnswers.push_back(QColor(0x11, 0x22, 0x33));
    dlg->ShowColor();
    dlg->ShowColor(); // cancelled: still the last confirmed one
    QCOMPARE(dlg->Color(), ColorValue(0x332211)); // 0x00BBGGRR
    QCOMPARE(t.fakes.dialogs->lastInitialColor, QColor(0x11, 0x22, 0x33));
}

QTEST_MAIN(TestBarWindow)
#include "test_barwindow.moc"
