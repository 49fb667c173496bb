#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "startup/Splash.h"
#include "support/TestApp.h"

#include <QMenu>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kSettings = QStringLiteral("config/prg.cfg");
const QByteArray kOldSettings = "BG= 255\r\n";

QAction *entry(BarWindow &bar, const char *name)
{
    return bar.menus().titleMainMenu->findChild<QAction *>(QLatin1String(name));
}

QByteArray settingsLine(const TestApp &t, const char *key)
{
    for (const QByteArray &line : t.readFile(kSettings).split('\n')) {
        if (line.startsWith(key))
            return line.trimmed();
    }
    return {};
}
} // namespace

class TestAppearance : public QObject {
    Q_OBJECT
private slots:
    void fixedBackgroundsAreNotSaved_data();
    void fixedBackgroundsAreNotSaved();
    void fixedBackgroundIsSavedByTheNextDrag();
    void colourCommandsSave_data();
    void colourCommandsSave();
    void cancelledBackgroundTakesTheCaptionColour();
    void fontTypeChangesTheFaceAlone();
    void firstCancelledFontKeepsTheFace();
    void menuOpensAtThePointer_data();
    void menuOpensAtThePointer();
    void hideMenuChangesNothing();
    void aboutShowsTheStartupWindow();
};

void TestAppearance::fixedBackgroundsAreNotSaved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("color");
    QTest::newRow("Match Active Bar") << "mnuColrMatch" << 0x80000002u;
    QTest::newRow("Match Inactive Bar") << "mnuColrMatchInact" << 0x80000003u;
    QTest::newRow("Match Borders: button face") << "mnuColrApplic" << 0x8000000Fu;
    QTest::newRow("Match Desktop") << "mnuColrDesktop" << 0x80000001u;
}

void TestAppearance::fixedBackgroundsAreNotSaved()
{
    QFETCH(QString, name);
    QFETCH(quint32, color);
    TestApp t;
    t.writeFile(kSettings, kOldSettings);
    t.start();
    BarWindow &bar = t.bar();
    entry(bar, name.toLatin1())->trigger();
    QCOMPARE(bar.backColor(), color);
    // Painted in the scheme's colour for that index.
    QCOMPARE(bar.grab().toImage().pixelColor(bar.width() - 2, bar.height() - 2),
             t.fakes.colors->systemColor(static_cast<int>(color & 0xFF)));
    QCOMPARE(t.readFile(kSettings), kOldSettings);
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
}

void TestAppearance::fixedBackgroundIsSavedByTheNextDrag()
{
    TestApp t;
    t.start();
    entry(t.bar(), "mnuColrMatchInact")->trigger();
    QTest::mouseClick(t.bar().Image2(), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(settingsLine(t, "BG= "), QByteArray("BG= -2147483645"));
}

void TestAppearance::colourCommandsSave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QColor>>("answer");
    QTest::addColumn<bool>("background");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("background, OK") << "mnuBGColor" << std::optional<QColor>(QColor(0, 0, 255)) << true
                                    << QByteArray("BG= 16711680");
    // Cancel before anything was confirmed: the component's first colour.
    QTest::newRow("background, first Cancel") << "mnuBGColor" << std::optional<QColor>() << true
                                              << QByteArray("BG= 0");
    QTest::newRow("caption, OK") << "mnuFontColor" << std::optional<QColor>(QColor(255, 0, 0)) << false
                                 << QByteArray("TC= 255");
    QTest::newRow("caption, first Cancel") << "mnuFontColor" << std::optional<QColor>() << false
                                           << QByteArray("TC= 0");
}

void TestAppearance::colourCommandsSave()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QColor>, answer);
    QFETCH(bool, background);
    QFETCH(QByteArray, saved);
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    t.fakes.dialogs->colorAnswers.push_back(answer);
    entry(bar, name.toLatin1())->trigger();
    QCOMPARE(t.fakes.dialogs->calls, QStringList({"color"}));
    const ColorValue expected = answer ? plainColor(*answer) : 0;
    QCOMPARE(background ? bar.backColor() : bar.Label1()->foreColor(), expected);
    QCOMPARE(settingsLine(t, saved.left(4)), saved);
}

void TestAppearance::cancelledBackgroundTakesTheCaptionColour()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    t.fakes.dialogs->colorAnswers = {QColor(0, 128, 0), std::nullopt};
    bar.menus().mnuFontColor->trigger();
    bar.menus().mnuBGColor->trigger();
    QCOMPARE(bar.backColor(), 0x008000u);
    QCOMPARE(settingsLine(t, "BG= "), QByteArray("BG= 32768"));
}

void TestAppearance::fontTypeChangesTheFaceAlone()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(20);
    chosen.setBold(false);
    chosen.setItalic(true);
    t.fakes.dialogs->fontAnswers = {chosen, std::nullopt};
    bar.menus().mnuFontName->trigger();
    const QFont font = bar.Label1()->font();
    QCOMPARE(font.family(), QString("DejaVu Sans Mono"));
    QCOMPARE(font.pointSizeF(), 6.75);
    QVERIFY(font.bold());
    QVERIFY(!font.italic());
    QCOMPARE(settingsLine(t, "TF= "), QByteArray("TF= DejaVu Sans Mono"));
    // A later Cancel applies the face confirmed last.
    QFont other = font;
    other.setFamily(QStringLiteral("MS Serif"));
    bar.Label1()->setFont(other);
    bar.menus().mnuFontName->trigger();
    QCOMPARE(bar.Label1()->font().family(), QString("DejaVu Sans Mono"));
}

void TestAppearance::firstCancelledFontKeepsTheFace()
{
    TestApp t;
    t.start();
    t.bar().menus().mnuFontName->trigger();
    QCOMPARE(t.bar().Label1()->font().family(), QString("MS Serif"));
    QCOMPARE(settingsLine(t, "TF= "), QByteArray("TF= MS Serif"));
}

void TestAppearance::menuOpensAtThePointer_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestAppearance::menuOpensAtThePointer()
{
    QFETCH(Qt::MouseButton, button);
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    QMenu *menu = bar.menus().titleMainMenu;
    QTest::mousePress(bar.Label2(), button, {}, QPoint(3, 4));
    QVERIFY(!menu->isVisible());
    QTest::mouseRelease(bar.Label2(), button, {}, QPoint(3, 4));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), bar.Label2()->mapToGlobal(QPoint(3, 4)));
    menu->close();
}

void TestAppearance::hideMenuChangesNothing()
{
    TestApp t;
    t.writeFile(kSettings, kOldSettings);
    t.start();
    BarWindow &bar = t.bar();
    const ColorValue back = bar.backColor();
    bar.menus().mnuHide->trigger();
    QCOMPARE(bar.backColor(), back);
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
    QCOMPARE(t.readFile(kSettings), kOldSettings);
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
}

void TestAppearance::aboutShowsTheStartupWindow()
{
    TestApp t;
    t.start();
    t.app().splash().Timer1_Timer();
    t.app().splash().close();
    QVERIFY(!t.app().splash().isVisible());
    t.bar().menus().mnuAbout->trigger();
    QVERIFY(t.app().splash().isVisible());
}

QTEST_MAIN(TestAppearance)
#include "test_appearance.moc"
