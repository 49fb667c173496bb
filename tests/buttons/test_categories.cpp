#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "buttons/BarBuilder.h"
#include "buttons/CategorySelector.h"
#include "support/TestApp.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {

const QStringList kTable = {"Aud", "Game", "Grap", "Inet", "Misc", "Pack", "Sys",
                            "Text", "Tools", "Utils", "Vid", "Work", "Exit"};

// Every category gets a file of its own length (position + 1 blank lines),
// so the count tells which file the row was built from.
void writeEveryCategory(const TestApp &t)
{
    for (int i = 0; i < kTable.size(); ++i)
        t.writeFile(QStringLiteral("config/%1.cfg").arg(kTable.at(i)), QByteArray("\r\n").repeated(i + 1));
}

int rowLength(BarWindow &bar) { return bar.Label1()->toolTip().toInt(); }

} // namespace

class TestCategories : public QObject {
    Q_OBJECT
private slots:
    void captionAndTypeMenu_data();
    void captionAndTypeMenu();
    void selectCategoryMatchesExactly_data();
    void selectCategoryMatchesExactly();
    void captionChangeBuildsBeforeReturning();
    void rightClickSetsAndSavesTheColour_data();
    void rightClickSetsAndSavesTheColour();
};

void TestCategories::captionAndTypeMenu_data()
{
    // Steps: "L" or "M", a release on the caption, "grow Inet" a line added
    // to Inet.cfg by hand; else a Type menu command. Then the caption after
    // each step, with the row length where it is not the file's own.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("captions");
    // From position 0 the first click shows position 1, then on round the
    // table, from "Exit" back to "Aud".
    QStringList clicks(14, "L");
    QStringList cycle = kTable.mid(1) + kTable.mid(0, 2);
    QTest::newRow("left clicks cycle through the table") << clicks << cycle;
    QTest::newRow("menu choice leaves the cycle position")
        << QStringList{"mnuVideo", "L", "L", "mnuExit", "L"} << QStringList{"Vid", "Game", "Grap", "Exit", "Inet"};
    QTest::newRow("middle click does nothing") << QStringList{"M", "L"} << QStringList{"Inet", "Game"};
    QTest::newRow("every Type command")
        << QStringList{"mnuAudio", "mnuGame", "mnuGrap", "mnuInet", "mnuMisc", "mnuPacks", "mnuText", "mnuSys",
                       "mnuTools", "mnuUtils", "mnuVideo", "mnuWork", "mnuExit"}
        << QStringList{"Aud", "Game", "Grap", "Inet", "Misc", "Pack", "Text", "Sys", "Tools", "Utils", "Vid", "Work",
                       "Exit"};
    // A line added to the file by hand shows up on choosing it again.
    QTest::newRow("choosing the shown category rebuilds it") << QStringList{"grow Inet", "mnuInet"}
                                                             << QStringList{"Inet", "Inet 5"};
}

void TestCategories::captionAndTypeMenu()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, captions);
    TestApp t;
    writeEveryCategory(t);
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    for (int i = 0; i < steps.size(); ++i) {
        const QString &step = steps.at(i);
        const int queries = t.fakes.icons->queries;
        if (step == "L" || step == "M") {
            QTest::mouseClick(bar.Label1(), step == "L" ? Qt::LeftButton : Qt::MiddleButton);
        } else if (step == "grow Inet") {
            t.writeFile(QStringLiteral("config/Inet.cfg"), QByteArray("\r\n").repeated(5));
        } else {
            QAction *found = nullptr;
            for (QAction *a : bar.menus().mnuType->actions())
                if (a->objectName() == step)
                    found = a;
            QVERIFY2(found, qPrintable(step));
            found->trigger();
        }
        const QStringList expected = captions.at(i).split(' ');
        QCOMPARE(bar.Label1()->text(), expected.first());
        QCOMPARE(rowLength(bar), expected.size() > 1 ? expected.at(1).toInt() : int(kTable.indexOf(expected.first())) + 1);
        QCOMPARE(bar.command2Count(), rowLength(bar) + 1);
        if (step == "M")
            QCOMPARE(t.fakes.icons->queries, queries);
    }
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
}

void TestCategories::selectCategoryMatchesExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("exact") << "Vid" << "Vid";
    QTest::newRow("last entry") << "Exit" << "Exit";
    QTest::newRow("other case") << "vid" << "Inet";
    QTest::newRow("trailing space") << "Vid " << "Inet";
    QTest::newRow("long name") << "Video" << "Inet";
    QTest::newRow("empty") << "" << "Inet";
}

void TestCategories::selectCategoryMatchesExactly()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TestApp t;
    writeEveryCategory(t);
    t.start();
    BarWindow &bar = t.bar();
    BarBuilder builder(bar, t.app().paths(), *t.app().platform().icons);
    CategorySelector selector(bar, builder, t.app().paths());
    selector.SelectCategory(name);
    QCOMPARE(bar.Label1()->text(), caption);
    QCOMPARE(rowLength(bar), int(kTable.indexOf(caption)) + 1);
    QCOMPARE(selector.cyclePosition(), qint16(0));
}

void TestCategories::captionChangeBuildsBeforeReturning()
{
    // Any change of the caption rebuilds the row within the assignment; a
    // menu choice then builds once more (two icon queries for one program).
    TestApp t;
    const QByteArray program = t.writeProgram("prog");
    t.writeFile(QStringLiteral("config/Work.cfg"), program + "\r\n\r\n");
    t.start();
    BarWindow &bar = t.bar();

    bar.Label1()->setCaption(QStringLiteral("Work"));
    QCOMPARE(rowLength(bar), 2);
    QCOMPARE(bar.Command2(1)->toolTip(), QFile::decodeName(program));

    bar.menus().mnuInet->trigger();
    const int before = t.fakes.icons->queries;
    bar.menus().mnuWork->trigger();
    QCOMPARE(t.fakes.icons->queries - before, 2 * 2);
}

void TestCategories::rightClickSetsAndSavesTheColour_data()
{
    // Cancelled, the colour last confirmed in the dialog.
    QTest::addColumn<std::optional<QColor>>("answer");
    QTest::addColumn<ColorValue>("colour");
    QTest::newRow("OK") << std::optional<QColor>(QColor(0x12, 0x34, 0x56)) << ColorValue(0x563412);
    QTest::newRow("Cancel") << std::optional<QColor>() << ColorValue(0x00FF00);
}

void TestCategories::rightClickSetsAndSavesTheColour()
{
    QFETCH(std::optional<QColor>, answer);
    QFETCH(ColorValue, colour);
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    bar.CommonDialog1()->setColor(0x00FF00);
    t.fakes.dialogs->colorAnswers.push_back(answer);
    QTest::mouseClick(bar.Label1(), Qt::RightButton);
    QCOMPARE(t.fakes.dialogs->calls, QStringList{"color"});
    QCOMPARE(bar.Label1()->foreColor(), colour);
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
    const QList<QByteArray> lines = t.readFile(QStringLiteral("config/prg.cfg")).split('\n');
    QVERIFY(lines.contains("TC= " + QByteArray::number(colour) + '\r'));
}

QTEST_MAIN(TestCategories)
#include "test_categories.moc"
