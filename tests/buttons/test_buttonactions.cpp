#include "bar/BarWindow.h"
#include "buttons/ButtonAdder.h"
#include "buttons/CategorySelector.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {

// A program file the tests can start: a script, executable.
QByteArray makeProgram(TestApp &t, const QString &relative)
{
    const QString path = t.path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("#!/bin/sh\nexit 0\n");
        f.close();
    }
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return QFile::encodeName(path);
}

void release(QWidget *w, Qt::MouseButton button)
{
    QTest::mousePress(w, button);
    QTest::mouseRelease(w, button);
}

QByteArrayList categoryLines(TestApp &t, const QString &category)
{
    return textfile::readLines(t.path("config/" + category + ".cfg")).value_or(QByteArrayList{"<none>"});
}

} // namespace

class TestButtonActions : public QObject {
    Q_OBJECT
private slots:
    void launching_data();
    void launching();
    void keyboardDoesNothing();
    void reassignBlankButtonAsksNothing();
    void reassignAnswerNoOrCancel_data();
    void reassignAnswerNoOrCancel();
    void reassignDialogCancelled();
    void reassignNotAProgram();
    void reassignRewritesEveryLine();
    void exitCategory_data();
    void exitCategory();
    void addRemoveStateMachine_data();
    void addRemoveStateMachine();
    void addAndRemoveFollowTheFile();
    void limits();
    void exitCategoryIgnoresImages();
};

void TestButtonActions::launching_data()
{
    QTest::addColumn<QString>("line"); // %P names the real program
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("started");
    QTest::newRow("left on a program") << "%P" << int(Qt::LeftButton) << true;
    QTest::newRow("left on a blank button") << "" << int(Qt::LeftButton) << false;
    QTest::newRow("left on a missing program") << "/no/such/program" << int(Qt::LeftButton) << false;
    QTest::newRow("middle on a program") << "%P" << int(Qt::MiddleButton) << false;
}

void TestButtonActions::launching()
{
    QFETCH(QString, line);
    QFETCH(int, button);
    QFETCH(bool, started);
    TestApp t;
    const QByteArray program = makeProgram(t, "My Programs/run me, now.sh");
    QByteArray entry = line.toUtf8();
    entry.replace("%P", program);
    t.writeFile("config/Inet.cfg", "/no/such/first\r\n" + entry + "\r\n");
    t.start();
    release(t.bar().Command2(2), Qt::MouseButton(button));
    QCOMPARE(t.fakes.launcher->started, started ? QByteArrayList{program} : QByteArrayList{});
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
}

void TestButtonActions::keyboardDoesNothing()
{
    TestApp t;
    const QByteArray program = makeProgram(t, "prog");
    t.writeFile("config/Inet.cfg", program + "\r\n");
    t.start();
    ProgramButton *b = t.bar().Command2(1);
    QTest::keyClick(b, Qt::Key_Space);
    QTest::keyClick(b, Qt::Key_Return);
    b->click(); // an activation that is not a mouse release
    QVERIFY(t.fakes.launcher->started.isEmpty());
    release(b, Qt::LeftButton);
    QCOMPARE(t.fakes.launcher->started.size(), 1);
}

void TestButtonActions::reassignBlankButtonAsksNothing()
{
    TestApp t;
    const QByteArray program = makeProgram(t, "bin/tool");
    t.start();
    t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(program));
    release(t.bar().Command2(1), Qt::RightButton);
    QCOMPARE(t.fakes.dialogs->calls, QStringList{"open"});
    QCOMPARE(t.fakes.dialogs->lastInitialPath, QString());
    QCOMPARE(t.fakes.dialogs->lastFileName, QString("*.exe"));
    QCOMPARE(t.bar().Command2(1)->programPath(), program);
    QCOMPARE(t.bar().Command2(1)->toolTip(), QFile::decodeName(program));
    QVERIFY(!t.bar().Command2(1)->icon().isNull());
    QCOMPARE(categoryLines(t, "Inet"), QByteArrayList{program});
    QVERIFY(t.fakes.launcher->started.isEmpty()); // a right release never starts
}

void TestButtonActions::reassignAnswerNoOrCancel_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("No") << int(MessageAnswer::No);
    QTest::newRow("Cancel") << int(MessageAnswer::Cancel);
}

void TestButtonActions::reassignAnswerNoOrCancel()
{
    QFETCH(int, answer);
    TestApp t;
    const QByteArray program = makeProgram(t, "bin/old");
    const QByteArray file = program + "\r\n";
    t.writeFile("config/Inet.cfg", file);
    t.start();
    t.fakes.dialogs->messageAnswers.push_back(MessageAnswer(answer));
    t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(makeProgram(t, "bin/new")));
    release(t.bar().Command2(1), Qt::RightButton);
    QCOMPARE(t.fakes.dialogs->calls, QStringList{"message"});
    QCOMPARE(t.fakes.dialogs->lastMessageTitle, QString("Lock Protection"));
    QCOMPARE(t.fakes.dialogs->lastMessageText, QString("Are you sure you want to change the application?"));
    QCOMPARE(t.bar().Command2(1)->programPath(), program);
    QCOMPARE(t.readFile("config/Inet.cfg"), file);
}

void TestButtonActions::reassignDialogCancelled()
{
    TestApp t;
    const QByteArray program = makeProgram(t, "bin/old");
    t.writeFile("config/Inet.cfg", program + "\r\n");
    t.start();
    ProgramButton *b = t.bar().Command2(1);
    const qint64 before = b->icon().cacheKey();
    t.fakes.dialogs->messageAnswers.push_back(MessageAnswer::Yes);
    release(b, Qt::RightButton);
    QCOMPARE(t.fakes.dialogs->calls, (QStringList{"message", "open"}));
    QCOMPARE(t.fakes.dialogs->lastInitialPath, QFile::decodeName(program));
    QVERIFY(b->icon().cacheKey() != before); // the blank picture now
    QCOMPARE(b->programPath(), program);
    QCOMPARE(t.readFile("config/Inet.cfg"), program + "\r\n");
    release(b, Qt::LeftButton); // still starts its program
    QCOMPARE(t.fakes.launcher->started, QByteArrayList{program});
}

void TestButtonActions::reassignNotAProgram()
{
    TestApp t;
    t.writeFile("notes.txt", "text");
    t.start();
    t.fakes.dialogs->openAnswers.push_back(t.path("notes.txt"));
    release(t.bar().Command2(1), Qt::RightButton);
    QCOMPARE(t.bar().Command2(1)->programPath(), QByteArray());
    QVERIFY(!t.exists("config/Inet.cfg"));
}

void TestButtonActions::reassignRewritesEveryLine()
{
    TestApp t;
    const QByteArray a = makeProgram(t, "bin/a"), b = makeProgram(t, "bin/b");
    const QByteArray gone = "/mnt/unplugged/\xe9" "diteur";
    t.writeFile("config/Inet.cfg", a + "\r\n\r\n" + b + "\r\n" + gone + "\r\n\r\n");
    t.start();
    const QByteArray chosen = makeProgram(t, "bin/new one");
    t.fakes.dialogs->messageAnswers.push_back(MessageAnswer::Yes);
    t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(chosen));
    release(t.bar().Command2(3), Qt::RightButton);
    QCOMPARE(categoryLines(t, "Inet"), (QByteArrayList{a, "", chosen, gone, ""}));
}

void TestButtonActions::exitCategory_data()
{
    QTest::addColumn<bool>("withProgram");
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<bool>("started");
    QTest::newRow("left, program") << true << int(Qt::LeftButton) << QStringList{} << true;
    QTest::newRow("right, program") << true << int(Qt::RightButton) << QStringList{"message"} << false;
    QTest::newRow("left, blank") << false << int(Qt::LeftButton) << QStringList{} << false;
    QTest::newRow("middle, blank") << false << int(Qt::MiddleButton) << QStringList{} << false;
    QTest::newRow("right, blank") << false << int(Qt::RightButton) << QStringList{"open"} << false;
}

void TestButtonActions::exitCategory()
{
    QFETCH(bool, withProgram);
    QFETCH(int, button);
    QFETCH(QStringList, dialogs);
    QFETCH(bool, started);
    TestApp t;
    const QByteArray program = makeProgram(t, "bin/p");
    t.writeFile("config/Exit.cfg", withProgram ? program + "\r\n" : QByteArray("\r\n"));
    t.start();
    t.bar().menus().mnuExit->trigger();
    QCOMPARE(t.bar().Label1()->text(), QString("Exit"));
    QVERIFY(!t.app().exitDialogShown());
    release(t.bar().Command2(1), Qt::MouseButton(button));
    QVERIFY(t.app().exitDialogShown());
    QCOMPARE(t.fakes.dialogs->calls, dialogs);
    QCOMPARE(t.fakes.launcher->started.size(), started ? 1 : 0);
}

void TestButtonActions::addRemoveStateMachine_data()
{
    // Releases as "image:button" (image 0 resting, 1 add, 2 remove; button
    // L, R or M); then the image shown and the button count.
    QTest::addColumn<QStringList>("releases");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("count");
    QTest::newRow("left arms adding") << QStringList{"0L"} << 1 << 3;
    QTest::newRow("right arms removal") << QStringList{"0R"} << 2 << 3;
    QTest::newRow("middle stays resting") << QStringList{"0M"} << 0 << 3;
    QTest::newRow("add") << QStringList{"0L", "1L"} << 0 << 4;
    QTest::newRow("add disarmed by right") << QStringList{"0L", "1R"} << 0 << 3;
    QTest::newRow("add disarmed by middle") << QStringList{"0L", "1M"} << 0 << 3;
    QTest::newRow("remove") << QStringList{"0R", "2L"} << 0 << 2;
    QTest::newRow("remove disarmed by right") << QStringList{"0R", "2R"} << 0 << 3;
    QTest::newRow("add twice") << QStringList{"0L", "1L", "0L", "1L"} << 0 << 5;
    QTest::newRow("add then remove") << QStringList{"0L", "1L", "0R", "2L"} << 0 << 3;
}

void TestButtonActions::addRemoveStateMachine()
{
    QFETCH(QStringList, releases);
    QFETCH(int, shown);
    QFETCH(int, count);
    TestApp t;
    t.writeFile("config/Inet.cfg", "\r\n\r\n\r\n");
    t.start();
    BarWindow &bar = t.bar();
    for (const QString &r : releases) {
        const int image = r.at(0).digitValue();
        const Qt::MouseButton b = r.at(1) == 'L' ? Qt::LeftButton : r.at(1) == 'R' ? Qt::RightButton : Qt::MiddleButton;
        QVERIFY2(bar.Image1(image)->isVisible(), qPrintable(r)); // a user can only release on what is shown
        release(bar.Image1(image), b);
    }
    for (int i = 0; i < 3; ++i)
        QCOMPARE(bar.Image1(i)->isVisible(), i == shown);
    QCOMPARE(bar.Label1()->toolTip(), QString::number(count));
    QCOMPARE(bar.widthTwips(), 1450 + 345 * (count - 1));
    for (int i = 1; i <= count; ++i) {
        QVERIFY(bar.Command2(i) && bar.Command2(i)->isVisible());
        QCOMPARE(twipsGeometry(bar.Command2(i)), (TwipsRect{1110 + 345 * (i - 1), 10, 325, 315}));
    }
    QVERIFY(!bar.Command2(count + 1));
}

void TestButtonActions::addAndRemoveFollowTheFile()
{
    TestApp t;
    const QByteArray a = makeProgram(t, "bin/a"), d = makeProgram(t, "bin/d");
    t.writeFile("config/Inet.cfg", a + "\r\n\r\n\r\n" + d + "\r\n");
    t.start();
    BarWindow &bar = t.bar();
    // Adding writes nothing; a program given to the second new button then
    // writes an empty line for the first.
    release(bar.Image1(0), Qt::LeftButton);
    release(bar.Image1(1), Qt::LeftButton);
    release(bar.Image1(0), Qt::LeftButton);
    release(bar.Image1(1), Qt::LeftButton);
    QCOMPARE(categoryLines(t, "Inet").size(), 4);
    const QByteArray chosen = makeProgram(t, "bin/f");
    t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(chosen));
    release(bar.Command2(6), Qt::RightButton);
    QCOMPARE(categoryLines(t, "Inet"), (QByteArrayList{a, "", "", d, "", chosen}));
    // Removing writes at once, whatever the last button held.
    for (int i = 0; i < 3; ++i) {
        release(bar.Image1(0), Qt::RightButton);
        release(bar.Image1(2), Qt::LeftButton);
    }
    QCOMPARE(categoryLines(t, "Inet"), (QByteArrayList{a, "", ""}));
    QCOMPARE(bar.widthTwips(), 1450 + 345 * 2);
}

void TestButtonActions::limits()
{
    TestApp t;
    t.writeFile("config/Inet.cfg", "\r\n");
    t.writeFile("config/Game.cfg", QByteArray("\r\n").repeated(ButtonAdder::kMaxButtons));
    t.start();
    BarWindow &bar = t.bar();
    release(bar.Image1(0), Qt::RightButton);
    release(bar.Image1(2), Qt::LeftButton); // one button: nothing removed
    QCOMPARE(bar.Label1()->toolTip(), QString("1"));
    QVERIFY(bar.Image1(0)->isVisible());
    QCOMPARE(t.readFile("config/Inet.cfg"), QByteArray("\r\n"));

    bar.menus().mnuGame->trigger();
    QCOMPARE(bar.Label1()->toolTip(), QString("100"));
    const int width = bar.widthTwips();
    release(bar.Image1(0), Qt::LeftButton);
    release(bar.Image1(1), Qt::LeftButton); // a hundred: nothing added
    QCOMPARE(bar.Label1()->toolTip(), QString("100"));
    QCOMPARE(bar.widthTwips(), width);
    QVERIFY(!bar.Command2(101));
    QVERIFY(bar.Image1(0)->isVisible() && !bar.Image1(1)->isVisible());
}

void TestButtonActions::exitCategoryIgnoresImages()
{
    TestApp t;
    t.start();
    BarWindow &bar = t.bar();
    release(bar.Image1(0), Qt::LeftButton); // armed before the switch
    bar.menus().mnuExit->trigger();
    release(bar.Image1(1), Qt::LeftButton);
    QVERIFY(bar.Image1(1)->isVisible());
    QCOMPARE(bar.Label1()->toolTip(), QString("1"));
    bar.menus().mnuInet->trigger(); // armed state survives the switch
    release(bar.Image1(1), Qt::LeftButton);
    QCOMPARE(bar.Label1()->toolTip(), QString("2"));
}

QTEST_MAIN(TestButtonActions)
#include "test_buttonactions.moc"
