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

void releaseOnCaption(BarWindow &bar, Qt::MouseButton button)
{
    QTest::mouseClick(bar.Label1(), button);
}

} // namespace

class TestCategories : public QObject {
    Q_OBJECT
private slots:
    void leftClicksCycleThroughTheTable();
    void menuChoiceLeavesTheCyclePosition();
    void typeMenuCommands_data();
    void typeMenuCommands();
    void selectCategoryMatchesExactly_data();
    void selectCategoryMatchesExactly();
    void captionChangeBuildsBeforeReturning();
    void choosingTheShownCategoryRebuildsIt();
    void middleClickDoesNothing();
    void rightClickSetsAndSavesTheColour();
    void rightClickCancelledGivesTheLastColour();
};

void TestCategories::leftClicksCycleThroughTheTable()
{
    TestApp t;
    writeEveryCategory(t);
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    // From position 0 the first click shows position 1, then on round the
    // table, from "Exit" back to "Aud".
    for (int click = 1; click <= 14; ++click) {
        releaseOnCaption(bar, Qt::LeftButton);
        const int position = click % 13;
        QCOMPARE(bar.Label1()->text(), kTable.at(position));
        QCOMPARE(rowLength(bar), position + 1);
        QCOMPARE(bar.command2Count(), position + 2);
    }
}

void TestCategories::menuChoiceLeavesTheCyclePosition()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    bar.menus().mnuVideo->trigger();
    QCOMPARE(bar.Label1()->text(), QString("Vid"));
    releaseOnCaption(bar, Qt::LeftButton);
    QCOMPARE(bar.Label1()->text(), QString("Game"));
    releaseOnCaption(bar, Qt::LeftButton);
    bar.menus().mnuExit->trigger();
    releaseOnCaption(bar, Qt::LeftButton);
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
}

void TestCategories::typeMenuCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("category");
    const char *rows[][2] = {{"mnuAudio", "Aud"},  {"mnuGame", "Game"},   {"mnuGrap", "Grap"},
                             {"mnuInet", "Inet"},  {"mnuMisc", "Misc"},   {"mnuPacks", "Pack"},
                             {"mnuText", "Text"},  {"mnuSys", "Sys"},     {"mnuTools", "Tools"},
                             {"mnuUtils", "Utils"}, {"mnuVideo", "Vid"},  {"mnuWork", "Work"},
                             {"mnuExit", "Exit"}};
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[0] << row[1];
}

void TestCategories::typeMenuCommands()
{
    QFETCH(QString, action);
    QFETCH(QString, category);
    TestApp t;
    writeEveryCategory(t);
    t.start();
    BarWindow &bar = t.bar();
    if (category == QLatin1String("Inet"))
        bar.menus().mnuAudio->trigger(); // start elsewhere so the caption changes
    QAction *found = nullptr;
    for (QAction *a : bar.menus().mnuType->actions())
        if (a->objectName() == action)
            found = a;
    QVERIFY(found);
    found->trigger();
    QCOMPARE(bar.Label1()->text(), category);
    QCOMPARE(rowLength(bar), int(kTable.indexOf(category)) + 1);
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
    const QString program = t.path(QStringLiteral("prog"));
    t.writeFile(QStringLiteral("prog"), "#!/bin/sh\n");
    t.writeFile(QStringLiteral("config/Work.cfg"), QFile::encodeName(program) + "\r\n\r\n");
    t.start();
    BarWindow &bar = t.bar();

    bar.Label1()->setCaption(QStringLiteral("Work"));
    QCOMPARE(rowLength(bar), 2);
    QCOMPARE(bar.Command2(1)->toolTip(), program);

    bar.menus().mnuInet->trigger();
    const int before = t.fakes.icons->queries;
    bar.menus().mnuWork->trigger();
    QCOMPARE(t.fakes.icons->queries - before, 2 * 2);
}

void TestCategories::choosingTheShownCategoryRebuildsIt()
{
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), "\r\n");
    t.start();
    BarWindow &bar = t.bar();
    QCOMPARE(rowLength(bar), 1);
    // A line added to the file by hand shows up on choosing it again.
    t.writeFile(QStringLiteral("config/Inet.cfg"), "\r\n\r\n");
    bar.menus().mnuInet->trigger();
    QCOMPARE(rowLength(bar), 2);
    QCOMPARE(bar.command2Count(), 3);
}

void TestCategories::middleClickDoesNothing()
{
    TestApp t;
    writeEveryCategory(t);
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    const int queries = t.fakes.icons->queries;
    releaseOnCaption(bar, Qt::MiddleButton);
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
    QCOMPARE(t.fakes.icons->queries, queries);
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
    releaseOnCaption(bar, Qt::LeftButton);
    QCOMPARE(bar.Label1()->text(), QString("Game")); // the cycle did not move
}

void TestCategories::rightClickSetsAndSavesTheColour()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    t.fakes.dialogs->colorAnswers.push_back(QColor(0x12, 0x34, 0x56));
    releaseOnCaption(bar, Qt::RightButton);
    QCOMPARE(t.fakes.dialogs->calls, QStringList{"color"});
    QCOMPARE(bar.Label1()->foreColor(), ColorValue(0x563412));
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
    const QList<QByteArray> lines = t.readFile(QStringLiteral("config/prg.cfg")).split('\n');
    QVERIFY(lines.contains(QByteArray("TC= ") + QByteArray::number(0x563412) + '\r'));
}

void TestCategories::rightClickCancelledGivesTheLastColour()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    bar.show();
    bar.CommonDialog1()->setColor(0x00FF00);
    releaseOnCaption(bar, Qt::RightButton); // cancelled
    QCOMPARE(bar.Label1()->foreColor(), ColorValue(0x00FF00));
    QVERIFY(t.readFile(QStringLiteral("config/prg.cfg")).contains("TC= " + QByteArray::number(0x00FF00)));
}

QTEST_MAIN(TestCategories)
#include "test_categories.moc"
