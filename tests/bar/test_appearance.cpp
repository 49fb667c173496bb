#include "bar/BarWindow.h"
#include "support/TestApp.h"

#include <QMenu>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kSettings = QStringLiteral("config/prg.cfg");

QAction *entry(BarWindow &bar, const QString &name)
{
    return bar.menus().titleMainMenu->findChild<QAction *>(name);
}

QByteArray settingsLine(const TestApp &t, const QByteArray &key)
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
    void commandsThatSaveNothing_data();
    void commandsThatSaveNothing();
    void colourCommandsSave_data();
    void colourCommandsSave();
    void fontTypeChangesTheFaceAlone();
    void menuOpensAtThePointer_data();
    void menuOpensAtThePointer();
};

void TestAppearance::commandsThatSaveNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("color");
    QTest::addColumn<QByteArray>("savedByDrag"); // by the next drag of the handle
    QTest::newRow("Match Active Bar") << "mnuColrMatch" << 0x80000002u << QByteArray("BG= -2147483646");
    QTest::newRow("Match Inactive Bar") << "mnuColrMatchInact" << 0x80000003u << QByteArray("BG= -2147483645");
    QTest::newRow("Match Borders: button face") << "mnuColrApplic" << 0x8000000Fu << QByteArray("BG= -2147483633");
    QTest::newRow("Match Desktop") << "mnuColrDesktop" << 0x80000001u << QByteArray("BG= -2147483647");
    QTest::newRow("Hide Menu changes nothing") << "mnuHide" << 0xFFu << QByteArray("BG= 255");
}

void TestAppearance::commandsThatSaveNothing()
{
    QFETCH(QString, name);
    QFETCH(quint32, color);
    const QByteArray oldSettings = "BG= 255\r\n";
    TestApp t;
    t.writeFile(kSettings, oldSettings);
    t.start();
    BarWindow &bar = t.bar();
    entry(bar, name)->trigger();
    QCOMPARE(bar.backColor(), color);
    // Painted in the scheme's colour for that index.
    QCOMPARE(bar.grab().toImage().pixelColor(bar.width() - 2, bar.height() - 2),
             resolveColor(color, *t.fakes.colors));
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
    QCOMPARE(t.readFile(kSettings), oldSettings);
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
    QTest::mouseClick(bar.Image2(), Qt::LeftButton, {}, QPoint(2, 2));
    t.fakes.windows->endSystemMove();
    QTEST(settingsLine(t, "BG= "), "savedByDrag");
}

void TestAppearance::colourCommandsSave_data()
{
    // The commands in order, the colour dialog's answers, the lines saved.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<std::optional<QColor>>>("answers");
    QTest::addColumn<QByteArray>("saved");
    using Answers = QList<std::optional<QColor>>;
    QTest::newRow("background, OK") << QStringList{"mnuBGColor"} << Answers{QColor(0, 0, 255)}
                                    << QByteArray("BG= 16711680 TC= 16777215");
    // Cancel before anything was confirmed: the component's first colour.
    QTest::newRow("background, first Cancel") << QStringList{"mnuBGColor"} << Answers{std::nullopt}
                                              << QByteArray("BG= 0 TC= 16777215");
    QTest::newRow("caption, OK") << QStringList{"mnuFontColor"} << Answers{QColor(255, 0, 0)}
                                 << QByteArray("BG= -2147483647 TC= 255");
    QTest::newRow("caption, first Cancel") << QStringList{"mnuFontColor"} << Answers{std::nullopt}
                                           << QByteArray("BG= -2147483647 TC= 0");
    // One dialog for both: a cancelled background takes the caption's colour.
    QTest::newRow("caption OK, then background Cancel") << QStringList{"mnuFontColor", "mnuBGColor"}
                                                        << Answers{QColor(0, 128, 0), std::nullopt}
                                                        << QByteArray("BG= 32768 TC= 32768");
}

void TestAppearance::colourCommandsSave()
{
    QFETCH(QStringList, names);
    QFETCH(QList<std::optional<QColor>>, answers);
    TestApp t;
    t.start();
    t.fakes.dialogs->colorAnswers.assign(answers.begin(), answers.end());
    for (const QString &name : names)
        entry(t.bar(), name)->trigger();
    QCOMPARE(t.fakes.dialogs->calls, QStringList(names.size(), "color"));
    // The file is written from the bar's colours, so it tells them too.
    QTEST(settingsLine(t, "BG= ") + ' ' + settingsLine(t, "TC= "), "saved");
}

void TestAppearance::fontTypeChangesTheFaceAlone()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    // Cancelled before any face was confirmed: the caption keeps its own.
    bar.menus().mnuFontName->trigger();
    QCOMPARE(bar.Label1()->font().family(), QString("MS Serif"));
    QCOMPARE(settingsLine(t, "TF= "), QByteArray("TF= MS Serif"));

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
    QWidget *label = t.bar().Label2();
    QMenu *menu = t.bar().menus().titleMainMenu;
    QTest::mousePress(label, button, {}, QPoint(3, 4));
    QVERIFY(!menu->isVisible());
    QTest::mouseRelease(label, button, {}, QPoint(3, 4));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), label->mapToGlobal(QPoint(3, 4)));
    menu->close();
}

QTEST_MAIN(TestAppearance)
#include "test_appearance.moc"
