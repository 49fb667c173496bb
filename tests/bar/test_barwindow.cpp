#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "platform/PaletteSystemColors.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace skylane;
using namespace skylane::test;

class TestBarWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsAtStart_data();
    void controlsAtStart();
    void windowAtStart();
    void labelsAtStart();
    void categoryListIsHidden();
    void menuTree();
    void buttonArrayGrowsAndShrinks();
    void systemColoursFollowThePalette();
    void paletteMapping_data();
    void paletteMapping();
    void commonDialogCancelKeepsValues();
    void commonDialogSharesOneColour();
    void snapshot();
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
    QFETCH(bool, visible);
    QFETCH(QString, tooltip);
    TestApp t;
    BarWindow &bar = t.bar();
    bar.show();
    auto *control = bar.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(twipsGeometry(control), twips);
    QCOMPARE(control->geometry(), twipsToPixels(twips));
    QCOMPARE(control->isVisible(), visible);
    QCOMPARE(control->toolTip(), tooltip);
    QCOMPARE(control->focusPolicy(), Qt::NoFocus);
}

void TestBarWindow::windowAtStart()
{
    TestApp t;
    BarWindow &bar = t.bar();
    QCOMPARE(bar.objectName(), QString("main"));
    QCOMPARE(bar.leftTwips(), 5100.0);
    QCOMPARE(bar.topTwips(), 4620.0);
    QCOMPARE(bar.widthTwips(), 1455);
    QCOMPARE(bar.heightTwips(), 345);
    QCOMPARE(bar.pos(), QPoint(340, 308));
    QCOMPARE(bar.size(), QSize(97, 23));
    QCOMPARE(bar.backColor(), systemColor(1));
    QVERIFY(bar.testAttribute(Qt::WA_AlwaysShowToolTips));
    QVERIFY(!bar.Timer1()->isActive());
    QCOMPARE(bar.Timer1()->interval(), 1000);
    QVERIFY(!bar.windowIcon().isNull());

    t.start();
    QCOMPARE(t.fakes.windows->prepareCalls, 1);
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QVERIFY(bar.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(bar.isVisible());
}

void TestBarWindow::labelsAtStart()
{
    TestApp t;
    ColorLabel *caption = t.bar().Label1();
    QCOMPARE(caption->text(), QString("Inet"));
    QCOMPARE(caption->foreColor(), ColorValue(0xFFFFFF));
    QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(caption->font().family(), QString("MS Serif"));
    QCOMPARE(caption->font().pointSizeF(), 6.75);
    QVERIFY(caption->font().bold());
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

void TestBarWindow::categoryListIsHidden()
{
    TestApp t;
    t.start();
    QComboBox *list = t.bar().Combo1();
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
        QCOMPARE(list->itemData(i).toInt(), 0);
    }
    QCOMPARE(items, (QStringList{"Aud", "Game", "Grap", "Inet", "Misc", "Pack", "Sys", "Text", "Tools",
                                 "Utils", "Vid", "Work", "Exit"}));
    QVERIFY(list->isEditable());
    QCOMPARE(list->currentText(), QString());
    QVERIFY(!list->isVisible());
    // It also lies outside the bar's client area.
    QVERIFY(!t.bar().rect().intersects(list->geometry()));
}

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

void TestBarWindow::menuTree()
{
    TestApp t;
    const BarMenus &m = t.bar().menus();
    QCOMPARE(m.titleMainMenu->objectName(), QString("titleMainMenu"));
    QCOMPARE(m.titleMainMenu->title(), QString("Mmenu"));
    const QStringList expected = {
        "mnuBackground Background", "  mnuBGColor Color", "  mnuColrMatch Match Active Bar",
        "  mnuColrMatchInact Match Inactive Bar", "  mnuColrApplic Match Borders",
        "  mnuColrDesktop Match Desktop", "mnuFont Font", "  mnuFontName Type", "  mnuFontColor Color",
        "mnuHide Hide Menu", "mnuType Type", "  mnuAudio Audio", "  mnuGame Game", "  mnuGrap Graphics",
        "  mnuInet Internet", "  mnuMisc Misc", "  mnuPacks Packers", "  mnuText Text", "  mnuSys System",
        "  mnuTools Tools", "  mnuUtils Utilities", "  mnuVideo Video", "  mnuWork Work", "  mnuExit Exit",
        "mnuAbout About"};
    QCOMPARE(describe(m.titleMainMenu), expected);
    QVERIFY(!m.titleMainMenu->isVisible());
}

void TestBarWindow::buttonArrayGrowsAndShrinks()
{
    TestApp t;
    BarWindow &bar = t.bar();
    QCOMPARE(bar.command2Count(), 2);
    QSignalSpy loaded(&bar, &BarWindow::command2Loaded);
    ProgramButton *third = bar.loadCommand2(3);
    QVERIFY(third);
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(third->index(), 3);
    QVERIFY(!third->isVisible());
    QCOMPARE(twipsGeometry(third), (TwipsRect{1110, 10, 325, 315}));
    QCOMPARE(bar.command2Count(), 4);
    QCOMPARE(bar.Command2(2), nullptr);
    QCOMPARE(bar.loadCommand2(3), third); // already loaded
    bar.unloadCommand2(3);
    QCOMPARE(bar.command2Count(), 2);
    bar.unloadCommand2(1); // button 1 stays
    bar.unloadCommand2(0); // and so does the template
    QVERIFY(bar.Command2(1) && bar.Command2(0));
}

void TestBarWindow::systemColoursFollowThePalette()
{
    // The real scheme mapping: a change of the desktop palette repaints the
    // bar and re-colours the "MENU" label, without any saved value changing.
    Platform platform;
    platform.colors = std::make_unique<PaletteSystemColors>();
    platform.dialogs = std::make_unique<FakeDialogs>();
    BarWindow bar(platform);
    bar.setBackColor(systemColor(15));
    const QPalette original = QApplication::palette();

    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(10, 200, 30));
    changed.setColor(QPalette::HighlightedText, QColor(250, 5, 5));
    QApplication::setPalette(changed);
    QCoreApplication::sendPostedEvents(); // widgets hear of it by a posted event
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(10, 200, 30));
    QCOMPARE(bar.Label2()->palette().color(QPalette::WindowText), QColor(250, 5, 5));
    QCOMPARE(bar.backColor(), systemColor(15));
    QApplication::setPalette(original);
    QCoreApplication::sendPostedEvents();
}

void TestBarWindow::paletteMapping_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("role");
    QTest::newRow("15 button face") << 15 << int(QPalette::Button);
    QTest::newRow("14 highlighted text") << 14 << int(QPalette::HighlightedText);
    QTest::newRow("2 active title bar") << 2 << int(QPalette::Highlight);
}

void TestBarWindow::paletteMapping()
{
    QFETCH(int, index);
    QFETCH(int, role);
    PaletteSystemColors colors;
    QCOMPARE(colors.systemColor(index), QApplication::palette().color(QPalette::Active, QPalette::ColorRole(role)));
    // The desktop, inactive title bar and button face are told apart.
    QVERIFY(colors.systemColor(1) != colors.systemColor(15));
    QVERIFY(colors.systemColor(3) != colors.systemColor(2));
}

void TestBarWindow::commonDialogCancelKeepsValues()
{
    TestApp t;
    CommonDialog *dlg = t.bar().CommonDialog1();
    QCOMPARE(dlg->objectName(), QString("CommonDialog1"));
    dlg->setFileName("*.exe");
    dlg->setInitDir("/usr/bin/xterm");
    dlg->ShowOpen(); // cancelled
    QCOMPARE(dlg->FileName(), QString("*.exe"));
    QCOMPARE(t.fakes.dialogs->lastInitialPath, QString("/usr/bin/xterm"));
    QCOMPARE(t.fakes.dialogs->lastFileName, QString("*.exe"));

    t.fakes.dialogs->openAnswers.push_back(QString("/usr/bin/env"));
    dlg->ShowOpen();
    QCOMPARE(dlg->FileName(), QString("/usr/bin/env"));

    const ColorValue before = dlg->Color();
    dlg->ShowColor();
    QCOMPARE(dlg->Color(), before);
    t.fakes.dialogs->fontAnswers.push_back(QFont("DejaVu Serif"));
    dlg->ShowFont();
    QCOMPARE(dlg->FontName(), QString("DejaVu Serif"));
    dlg->ShowFont();
    QCOMPARE(dlg->FontName(), QString("DejaVu Serif"));
}

void TestBarWindow::commonDialogSharesOneColour()
{
    TestApp t;
    CommonDialog *dlg = t.bar().CommonDialog1();
    t.fakes.dialogs->colorAnswers.push_back(QColor(0x11, 0x22, 0x33));
    dlg->ShowColor();
    QCOMPARE(dlg->Color(), ColorValue(0x332211)); // 0x00BBGGRR
    dlg->ShowColor();                              // cancelled: still the last confirmed one
    QCOMPARE(dlg->Color(), ColorValue(0x332211));
    QCOMPARE(t.fakes.dialogs->lastInitialColor, QColor(0x11, 0x22, 0x33));
}

void TestBarWindow::snapshot()
{
    // Renders the bar as a user sees it; SKYLANE_SNAPSHOT_DIR keeps the picture.
    TestApp t;
    t.fakes.colors->scheme[1] = QColor(0x3a, 0x6e, 0xa5);
    t.fakes.colors->scheme[14] = Qt::white;
    t.start();
    const QImage image = t.bar().grab().toImage();
    QCOMPARE(image.size(), t.bar().size() * t.bar().devicePixelRatio());
    QCOMPARE(image.pixelColor(1, image.height() - 1), QColor(0x3a, 0x6e, 0xa5));
    const QByteArray dir = qgetenv("SKYLANE_SNAPSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(image.scaled(image.size() * 6).save(QString::fromLocal8Bit(dir) + "/bar.png"));
}

QTEST_MAIN(TestBarWindow)
#include "test_barwindow.moc"
