#include "bar/BarWindow.h"
#include "buttons/ButtonAdder.h"
#include "buttons/CategorySelector.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QFile>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {

void release(QWidget *w, Qt::MouseButton button)
{
    QTest::mousePress(w, button);
    QTest::mouseRelease(w, button);
}

Qt::MouseButton buttonOf(QChar letter)
{
    return letter == 'L' ? Qt::LeftButton : letter == 'R' ? Qt::RightButton : Qt::MiddleButton;
}

QByteArrayList categoryLines(TestApp &t, const QString &category = QStringLiteral("Inet"))
{
    return textfile::readLines(t.path("config/" + category + ".cfg")).value_or(QByteArrayList{"<none>"});
}

// Test data names programs as "%name": replaced by the full path of an
// executable script bin/name (created), "%%name" by that path with no file.
QByteArray expand(TestApp &t, QByteArray line)
{
    if (line.startsWith("%%"))
        return QFile::encodeName(t.path("bin/")) + line.mid(2);
    return line.startsWith('%') ? t.writeProgram("bin/" + line.mid(1)) : line;
}

QByteArrayList expand(TestApp &t, QByteArrayList lines)
{
    for (QByteArray &line : lines)
        line = expand(t, line);
    return lines;
}

} // namespace

class TestButtonActions : public QObject {
    Q_OBJECT
private slots:
    void releaseOnAButton_data();
    void releaseOnAButton();
    void reassign_data();
    void reassign();
    void addRemoveStateMachine_data();
    void addRemoveStateMachine();
    void addAndRemoveFollowTheFile();
};

void TestButtonActions::releaseOnAButton_data()
{
    // Button 2 of a row in `category` holds `line`; button 0 stands for the
    // keyboard (space, return) and an activation that is no mouse release.
    QTest::addColumn<QString>("category");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<bool>("started");
    const QStringList none;
    const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
    QTest::newRow("left on a program") << "Inet" << QByteArray("%run me, now.sh") << left << none << true;
    QTest::newRow("left on a blank button") << "Inet" << QByteArray() << left << none << false;
    QTest::newRow("left on a missing program") << "Inet" << QByteArray("%%gone") << left << none << false;
    QTest::newRow("middle on a program") << "Inet" << QByteArray("%prog") << middle << none << false;
    QTest::newRow("keyboard on a program") << "Inet" << QByteArray("%prog") << 0 << none << false;
    // The Exit row shows the exit dialog, then acts as any row.
    QTest::newRow("Exit, left, program") << "Exit" << QByteArray("%p") << left << none << true;
    QTest::newRow("Exit, right, program") << "Exit" << QByteArray("%p") << right << QStringList{"message"} << false;
    QTest::newRow("Exit, left, blank") << "Exit" << QByteArray() << left << none << false;
    QTest::newRow("Exit, middle, blank") << "Exit" << QByteArray() << middle << none << false;
    QTest::newRow("Exit, right, blank") << "Exit" << QByteArray() << right << QStringList{"open"} << false;
}

void TestButtonActions::releaseOnAButton()
{
    QFETCH(QString, category);
    QFETCH(QByteArray, line);
    QFETCH(int, button);
    QFETCH(QStringList, dialogs);
    QFETCH(bool, started);
    TestApp t;
    const QByteArray program = expand(t, line);
    t.writeFile("config/" + category + ".cfg", "/no/such/first\r\n" + program + "\r\n");
    t.start();
    if (category == "Exit")
        t.bar().menus().mnuExit->trigger();
    QCOMPARE(t.bar().Label1()->text(), category);
    QVERIFY(!t.app().exitDialogShown());
    ProgramButton *b = t.bar().Command2(2);
    if (button == 0) {
        QTest::keyClick(b, Qt::Key_Space);
        QTest::keyClick(b, Qt::Key_Return);
        b->click();
    } else {
        release(b, Qt::MouseButton(button));
    }
    QCOMPARE(t.app().exitDialogShown(), category == "Exit");
    QCOMPARE(t.fakes.dialogs->calls, dialogs);
    QCOMPARE(t.fakes.launcher->started, started ? QByteArrayList{program} : QByteArrayList{});
}

void TestButtonActions::reassign_data()
{
    // A right release on button 3 of the row `lines`; the question answered
    // with `answer` (if asked), the file dialog with `chosen` ("" cancels).
    // Then: the dialogs asked, the button's program and the file's lines.
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArrayList>("file"); // {"<none>"}: no file written
    QTest::addColumn<bool>("newIcon");
    const QByteArray gone = "/mnt/unplugged/\xe9" "diteur";
    const QByteArrayList row{"%a", "", "%old", gone, ""};
    const int yes = int(MessageAnswer::Yes);
    QTest::newRow("blank button asks nothing")
        << QByteArrayList{} << yes << QByteArray("%tool") << QStringList{"open"} << QByteArray("%tool")
        << QByteArrayList{"%tool"} << true;
    QTest::newRow("No keeps the program") << row << int(MessageAnswer::No) << QByteArray("%new")
                                          << QStringList{"message"} << QByteArray("%old") << row << false;
    QTest::newRow("Cancel keeps the program") << row << int(MessageAnswer::Cancel) << QByteArray("%new")
                                              << QStringList{"message"} << QByteArray("%old") << row << false;
    QTest::newRow("Yes rewrites every line") << row << yes << QByteArray("%new one") << QStringList{"message", "open"}
                                             << QByteArray("%new one") << QByteArrayList{"%a", "", "%new one", gone, ""}
                                             << true;
    // Cancelled: the blank picture until the row is built again.
    QTest::newRow("dialog cancelled") << row << yes << QByteArray() << QStringList{"message", "open"}
                                      << QByteArray("%old") << row << true;
    QTest::newRow("not a program") << QByteArrayList{} << yes << QByteArray("notes.txt") << QStringList{"open"}
                                   << QByteArray() << QByteArrayList{"<none>"} << false;
}

void TestButtonActions::reassign()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(int, answer);
    QFETCH(QByteArray, chosen);
    QFETCH(QStringList, asked);
    QFETCH(QByteArray, program);
    QFETCH(QByteArrayList, file);
    QFETCH(bool, newIcon);
    TestApp t;
    lines = expand(t, lines);
    if (!lines.isEmpty())
        t.writeFile("config/Inet.cfg", textfile::joinLines(lines));
    t.writeFile("notes.txt", "text"); // not executable
    t.start();
    const int index = lines.isEmpty() ? 1 : 3;
    ProgramButton *b = t.bar().Command2(index);
    const qint64 icon = b->icon().cacheKey();
    FakeDialogs &dialogs = *t.fakes.dialogs;
    dialogs.messageAnswers.push_back(MessageAnswer(answer));
    if (!chosen.isEmpty())
        dialogs.openAnswers.push_back(chosen.startsWith('%') ? QFile::decodeName(expand(t, chosen)) : t.path(chosen));
    release(b, Qt::RightButton);

    QCOMPARE(dialogs.calls, asked);
    if (asked.first() == "message") {
        QCOMPARE(dialogs.lastMessageTitle, QString("Lock Protection"));
        QCOMPARE(dialogs.lastMessageText, QString("Are you sure you want to change the application?"));
    }
    if (asked.contains("open")) {
        QCOMPARE(dialogs.lastInitialPath, QFile::decodeName(lines.value(index - 1)));
        QCOMPARE(dialogs.lastFileName, QString("*.exe"));
    }
    QCOMPARE(b->programPath(), expand(t, program));
    QCOMPARE(b->toolTip(), QFile::decodeName(b->programPath()));
    QCOMPARE(categoryLines(t), file == QByteArrayList{"<none>"} ? file : expand(t, file));
    QCOMPARE(b->icon().cacheKey() != icon && !b->icon().isNull(), newIcon);
    QVERIFY(t.fakes.launcher->started.isEmpty()); // a right release never starts
    release(b, Qt::LeftButton);
    QCOMPARE(t.fakes.launcher->started, program.isEmpty() ? QByteArrayList{} : QByteArrayList{b->programPath()});
}

void TestButtonActions::addRemoveStateMachine_data()
{
    // Starting from a row of `initial` blank buttons, releases as
    // "image:button" (image 0 resting, 1 add, 2 remove; button L, R or M) or
    // a category to switch to; then the image shown, the button count and
    // the lines in Inet.cfg.
    QTest::addColumn<int>("initial");
    QTest::addColumn<QStringList>("releases");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("fileLines");
    QTest::newRow("left arms adding") << 3 << QStringList{"0L"} << 1 << 3 << 3;
    QTest::newRow("right arms removal") << 3 << QStringList{"0R"} << 2 << 3 << 3;
    QTest::newRow("middle stays resting") << 3 << QStringList{"0M"} << 0 << 3 << 3;
    QTest::newRow("add writes nothing") << 3 << QStringList{"0L", "1L"} << 0 << 4 << 3;
    QTest::newRow("add disarmed by right") << 3 << QStringList{"0L", "1R"} << 0 << 3 << 3;
    QTest::newRow("add disarmed by middle") << 3 << QStringList{"0L", "1M"} << 0 << 3 << 3;
    QTest::newRow("remove writes at once") << 3 << QStringList{"0R", "2L"} << 0 << 2 << 2;
    QTest::newRow("remove disarmed by right") << 3 << QStringList{"0R", "2R"} << 0 << 3 << 3;
    QTest::newRow("add twice") << 3 << QStringList{"0L", "1L", "0L", "1L"} << 0 << 5 << 3;
    QTest::newRow("add then remove") << 3 << QStringList{"0L", "1L", "0R", "2L"} << 0 << 3 << 3;
    QTest::newRow("one button is never removed") << 1 << QStringList{"0R", "2L"} << 0 << 1 << 1;
    QTest::newRow("no more than a hundred")
        << ButtonAdder::kMaxButtons << QStringList{"0L", "1L"} << 0 << ButtonAdder::kMaxButtons
        << ButtonAdder::kMaxButtons;
    QTest::newRow("Exit row ignores the images") << 3 << QStringList{"0L", "Exit", "1L"} << 1 << 1 << 3;
    QTest::newRow("armed state survives a switch") << 3 << QStringList{"0L", "Exit", "1L", "Inet", "1L"} << 0 << 4
                                                   << 3;
}

void TestButtonActions::addRemoveStateMachine()
{
    QFETCH(int, initial);
    QFETCH(QStringList, releases);
    QFETCH(int, shown);
    QFETCH(int, count);
    QFETCH(int, fileLines);
    TestApp t;
    t.writeFile("config/Inet.cfg", QByteArray("\r\n").repeated(initial));
    t.start();
    BarWindow &bar = t.bar();
    for (const QString &r : releases) {
        if (r.size() > 2) {
            (r == "Exit" ? bar.menus().mnuExit : bar.menus().mnuInet)->trigger();
            continue;
        }
        const int image = r.at(0).digitValue();
        QVERIFY2(bar.Image1(image)->isVisible(), qPrintable(r)); // a user can only release on what is shown
        release(bar.Image1(image), buttonOf(r.at(1)));
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
    QCOMPARE(categoryLines(t), QByteArrayList(fileLines, QByteArray()));
}

void TestButtonActions::addAndRemoveFollowTheFile()
{
    TestApp t;
    const QByteArray a = t.writeProgram("bin/a"), d = t.writeProgram("bin/d");
    t.writeFile("config/Inet.cfg", a + "\r\n\r\n\r\n" + d + "\r\n");
    t.start();
    BarWindow &bar = t.bar();
    // A program given to the second new button writes an empty line for the
    // first.
    for (int i = 0; i < 2; ++i) {
        release(bar.Image1(0), Qt::LeftButton);
        release(bar.Image1(1), Qt::LeftButton);
    }
    const QByteArray chosen = t.writeProgram("bin/f");
    t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(chosen));
    release(bar.Command2(6), Qt::RightButton);
    QCOMPARE(categoryLines(t), (QByteArrayList{a, "", "", d, "", chosen}));
    // Removing writes at once, whatever the last button held.
    for (int i = 0; i < 3; ++i) {
        release(bar.Image1(0), Qt::RightButton);
        release(bar.Image1(2), Qt::LeftButton);
    }
    QCOMPARE(categoryLines(t), (QByteArrayList{a, "", ""}));
    QCOMPARE(bar.widthTwips(), 1450 + 345 * 2);
}

QTEST_MAIN(TestButtonActions)
#include "test_buttonactions.moc"
