#include "bar/BarWindow.h"
#include "bar/DialogChoices.h"
#include "bar/SaveFailureNotice.h"
#include "bar/Settings.h"
#include "buttons/BarModel.h"
#include "buttons/ButtonAdder.h"
#include "buttons/ButtonRow.h"
#include "core/TextFile.h"
#include "support/TestApp.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMimeData>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

using namespace skylane;
using namespace skylane::test;

namespace {
const QStringList kTable = {"Aud", "Game", "Grap", "Inet", "Misc", "Pack", "Sys",
                            "Text", "Tools", "Utils", "Vid", "Work", "Exit"};

QByteArrayList inetLines(TestApp &t)
{
    return textfile::readLines(t.path("config/Inet.cfg")).value_or(QByteArrayList{"<none>"});
}

// A line of a category file, or a file dropped on the bar, as the test
// data names it; made real in a TestApp by pathOf().
struct Line {
    enum Kind { Blank, Program, Missing, InAppFolder, DesktopEntry, Fifo } kind = Blank;
    QByteArray text; // the program's name, a path in the program folder, or a desktop entry's Exec value
    friend bool operator==(const Line &, const Line &) = default;
};
const Line blank{};
Line program(const QByteArray &name) { return {Line::Program, name}; } // an executable script bin/name
Line missing(const QByteArray &name) { return {Line::Missing, name}; } // bin/name, no file there
Line inAppFolder(const QByteArray &relative) { return {Line::InAppFolder, relative}; }
Line desktopEntry(const QByteArray &exec) { return {Line::DesktopEntry, exec}; }
using Lines = QList<Line>;

QByteArray pathOf(TestApp &t, const Line &line)
{
    static int entries = 0;
    const QString entry = QString("config/%1.desktop").arg(++entries), fifo = "config/fifo.desktop";
    switch (line.kind) {
    case Line::Blank: return {};
    case Line::Program: return t.writeProgram("bin/" + line.text);
    case Line::Missing: return t.path("bin/") + line.text;
    case Line::InAppFolder: return t.path(QString::fromLatin1(line.text));
    case Line::DesktopEntry: t.writeFile(entry, "[Desktop Entry]\nType=Application\nName=E\nExec=" + line.text + '\n');
        return t.path(entry);
    case Line::Fifo: return ::mkfifo(t.path(fifo).constData(), 0600) == 0 ? t.path(fifo) : QByteArray("no FIFO");
    }
    return {};
}

QByteArrayList pathsOf(TestApp &t, const Lines &lines)
{
    QByteArrayList paths;
    for (const Line &line : lines)
        paths << pathOf(t, line);
    return paths;
}

// Writes `lines` as the row of `category` and shows that row.
BarWindow &showRow(TestApp &t, const Lines &lines, const QString &category = "Inet")
{
    t.writeFile("config/" + category + ".cfg", textfile::joinLines(pathsOf(t, lines)));
    t.start();
    if (category == "Exit")
        t.bar().menus().typeMenu->findChild<QAction *>("showExit")->trigger();
    return t.bar();
}

enum Step { ArmAdding, ArmRemoving, AddImage, RemoveImage, MiddleOnAddImage, GiveProgramToButton4, ShowExitRow };
const QMap<Step, std::pair<BarModel::Adder, Qt::MouseButton>> kReleases{
    {ArmAdding, {BarModel::Adder::Resting, Qt::LeftButton}}, {ArmRemoving, {BarModel::Adder::Resting, Qt::RightButton}},
    {AddImage, {BarModel::Adder::Add, Qt::LeftButton}}, {RemoveImage, {BarModel::Adder::Remove, Qt::LeftButton}},
    {MiddleOnAddImage, {BarModel::Adder::Add, Qt::MiddleButton}}};

// How a move along the row ends.
enum MoveEnd { ReleaseOnTheBar, ReleaseOffTheBar, PressEscape, ClickThenPressAgain };

} // namespace

Q_DECLARE_METATYPE(Line)
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(MoveEnd)

class TestButtons : public QObject {
    Q_OBJECT
private slots:
    // The model alone: the row read (entries split at blanks, "_" a blank
    // entry, "99*x" repeats), the operations a user makes, their answers,
    // and the row after them.
    void modelOperations_data()
    {
        for (const auto &column : {"category", "lines", "operations", "answers", "after"})
            QTest::addColumn<QString>(column);
        QTest::newRow("no lines: one blank, never fewer") << "Inet" << "" << "remove" << "0" << "_";
        QTest::newRow("append, assign, remove") << "Grap" << "a" << "append,assign 2 b,append,remove,assign 9 c"
                                                << "2 1 3 1 1" << "a b";
        QTest::newRow("move right, left, nowhere") << "Game" << "a b c" << "move 1 3,move 3 2,move 2 2,move 0 1,move 1 4"
                                                   << "1 1 0 0 0" << "b a c";
        QTest::newRow("Exit: no entry added, removed or moved") << "Exit" << "a b" << "append,remove,move 1 2,assign 1 c"
                                                                << "0 0 0 1" << "c b";
        QTest::newRow("adding stops at a hundred") << "Inet" << "99*x" << "append,append" << "100 0" << "99*x _";
        QTest::newRow("a row stops at 32767") << "Inet" << "40000*x" << "remove" << "1" << "32766*x";
    }
    void modelOperations()
    {
        const auto entries = [](const QString &text) {
            QByteArrayList list;
            for (const QString &word : text.split(' ', Qt::SkipEmptyParts))
                list += word.contains('*') ? QByteArrayList(word.section('*', 0, 0).toInt(), word.section('*', 1).toLatin1())
                                           : QByteArrayList{word == "_" ? QByteArray() : word.toLatin1()};
            return list;
        };
        QFETCH(QString, category);
        BarModel model;
        QVERIFY(!model.selectCategory(category.toLower()) && model.category() == "Inet"); // exact names only
        QSignalSpy categoryShown(&model, &BarModel::categoryChanged);
        QVERIFY(model.selectCategory(category) && categoryShown.size() == 1);
        QFETCH(QString, lines);
        model.showRow(entries(lines));
        QStringList answers;
        QFETCH(QString, operations);
        for (const QString &operation : operations.split(',')) {
            const QStringList w = operation.split(' ');
            const int answer = w[0] == "append" ? model.appendBlank()
                               : w[0] == "remove" ? model.removeLast()
                               : w[0] == "move"   ? model.moveEntry(w[1].toInt(), w[2].toInt())
                                                  : (model.assignProgram(w[1].toInt(), w[2].toLatin1()), 1);
            answers << QString::number(answer);
        }
        QTEST(answers.join(' '), "answers");
        QFETCH(QString, after);
        QCOMPARE(model.entries(), entries(after));
        QCOMPARE(model.count(), model.entries().size());
    }

    void rowFromFile_data()
    {
        QTest::addColumn<Lines>("lines"); // none: no file
        QTest::newRow("no file: the blank picture") << Lines{};
        QTest::newRow("blank line, odd names") << Lines{program("My Program, v2"), blank, program("caf\xe9 \xff")};
        QTest::newRow("missing program keeps its line") << Lines{missing("gone"), program("here")};
    }
    void rowFromFile()
    {
        QFETCH(Lines, lines);
        TestApp t;
        const bool noFile = lines.isEmpty();
        const QByteArrayList paths = noFile ? QByteArrayList{""} : pathsOf(t, lines);
        if (!noFile)
            t.writeFile("config/Inet.cfg", textfile::joinLines(paths));
        t.start();
        BarWindow &bar = t.bar();
        QCOMPARE(bar.caption()->text(), QString("Inet"));
        QCOMPARE(rowPaths(t), paths);
        QCOMPARE(bar.size(), twipsToPixels(TwipsRect{0, 0, 1450 + 345 * int(paths.size() - 1), 375}).size());
        for (int i = 1; i <= paths.size(); ++i) {
            ProgramButton *button = t.app().row().button(i);
            QVERIFY(button->isVisible());
            QCOMPARE(twipsGeometry(button), (TwipsRect{1110 + 345 * (i - 1), 10, 325, 315}));
            QCOMPARE(button->toolTip(), QString::fromLocal8Bit(paths.at(i - 1)));
            // A program shows its icon; a missing one and a blank line none.
            QCOMPARE(button->icon().isNull(), paths.at(i - 1).isEmpty() ? !noFile : lines.at(i - 1).kind == Line::Missing);
        }
    }

    void rebuildingRemovesOldButtonsAtOnce()
    {
        TestApp t;
        t.writeFile("config/Inet.cfg", t.writeProgram("prog") + QByteArray("\r\n").repeated(7));
        t.start();
        BarWindow &bar = t.bar();
        QPointer<ProgramButton> third = t.app().row().button(3);
        // A release whose handler shows a shorter row finishes on its button.
        connect(third, &ProgramButton::mouseReleased, &bar, [&bar] { bar.menus().typeMenu->findChild<QAction *>("showGame")->trigger(); });
        QTest::mouseClick(third, Qt::LeftButton);
        QVERIFY(third && !third->isVisible() && !t.app().row().button(3));
        QTRY_VERIFY(third.isNull());
        // A row without a file and without the blank picture shows nothing,
        // never the icon of the row before.
        bar.menus().typeMenu->findChild<QAction *>("showInet")->trigger();
        QVERIFY(QFile::remove(t.path("config/1.2.jpg")));
        bar.menus().typeMenu->findChild<QAction *>("showGame")->trigger();
        QVERIFY(t.app().row().button(1)->icon().isNull() && t.app().model().entry(1).isEmpty());
    }

    void captionAndTypeMenu_data()
    {
        // Steps: a left or middle click on the caption, or a Type menu
        // command by its name. Then the caption after each step.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("captions");
        // From position 0 the first click shows position 1, then on round.
        QTest::newRow("left clicks cycle") << QStringList(14, "left click") << kTable.mid(1) + kTable.mid(0, 2);
        QTest::newRow("menu choice leaves the cycle position, middle does nothing")
            << QStringList{"showVid", "middle click", "left click", "showText", "showSys", "showExit"}
            << QStringList{"Vid", "Vid", "Game", "Text", "Sys", "Exit"};
    }
    void captionAndTypeMenu()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, captions);
        TestApp t;
        // Each category's file is as long as its place in the table.
        for (int i = 0; i < kTable.size(); ++i)
            t.writeFile("config/" + kTable.at(i) + ".cfg", QByteArray("\r\n").repeated(i + 1));
        t.start();
        BarWindow &bar = t.bar();
        for (int i = 0; i < steps.size(); ++i) {
            if (steps.at(i).endsWith("click"))
                QTest::mouseClick(bar.caption(), steps.at(i) == "left click" ? Qt::LeftButton : Qt::MiddleButton);
            else
                bar.menus().typeMenu->findChild<QAction *>(steps.at(i))->trigger();
            QCOMPARE(bar.caption()->text(), captions.at(i));
            QCOMPARE(rowPaths(t).size(), kTable.indexOf(captions.at(i)) + 1);
        }
        QVERIFY(t.fakes.dialogs->calls.isEmpty());
    }

    void rightClickOnTheCaptionSetsAndSavesItsColour()
    {
        TestApp t;
        t.start();
        t.bar().dialogChoices()->setColor(0x00FF00);
        QTest::mouseClick(t.bar().caption(), Qt::RightButton); // cancelled: the colour confirmed last
        QCOMPARE(t.fakes.dialogs->calls, QStringList{"color"});
        QCOMPARE(t.bar().caption()->foreColor(), ColorValue(0x00FF00));
        QVERIFY(t.readFile("config/prg.cfg").contains("\r\nTC= 65280\r\n"));
    }

    void releaseOnAButton_data()
    {
        // Button 2 of a row in `category` holds `line`; button 0 stands for
        // the keyboard and an activation that is no mouse release.
        QTest::addColumn<QString>("category");
        QTest::addColumn<Line>("line");
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<bool>("started");
        const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
        QTest::newRow("left, odd names") << "Inet" << program("run me, caf\xe9") << left << QStringList() << true;
        QTest::newRow("left on a missing program") << "Inet" << missing("gone") << left << QStringList() << false;
        QTest::newRow("middle on a program") << "Inet" << program("prog") << middle << QStringList() << false;
        QTest::newRow("keyboard on a program") << "Inet" << program("prog") << 0 << QStringList() << false;
        // The Exit row shows the exit dialog, then acts as any row.
        QTest::newRow("Exit, left, program") << "Exit" << program("p") << left << QStringList() << true;
        QTest::newRow("Exit, right, blank") << "Exit" << blank << right << QStringList{"open"} << false;
    }
    void releaseOnAButton()
    {
        QFETCH(QString, category);
        QFETCH(Line, line);
        QFETCH(int, button);
        QFETCH(bool, started);
        TestApp t("my app \xe9"); // a folder name the locale cannot decode
        const QByteArray program = pathOf(t, line);
        showRow(t, {missing("first"), line}, category);
        ProgramButton *b = t.app().row().button(2);
        if (button == 0) {
            QTest::keyClick(b, Qt::Key_Space);
            b->click();
        } else {
            QTest::mouseClick(b, Qt::MouseButton(button));
        }
        QCOMPARE(t.app().exitDialogShown(), category == "Exit");
        QTEST(t.fakes.dialogs->calls, "dialogs");
        QCOMPARE(t.fakes.launcher->started, started ? QByteArrayList{program} : QByteArrayList{});
    }

    void reassign_data()
    {
        // A right release on button 3 of `lines`; the question answered with
        // `answer`, the file dialog with `chosen` ("" cancels). Then the
        // dialogs asked and the file's lines; button 3 holds the third.
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<int>("answer");
        QTest::addColumn<Line>("chosen"); // blank: cancelled
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<Lines>("file");
        const Lines row{program("a"), blank, program("old"), missing("\xe9" "diteur"), blank};
        Lines changed = row;
        changed[2] = program("new one");
        const Lines blanks{blank, blank, blank};
        const int yes = int(MessageAnswer::Yes);
        QTest::newRow("blank button asks nothing") << blanks << yes << program("tool")
                                                   << QStringList{"open"} << Lines{blank, blank, program("tool")};
        QTest::newRow("Cancel keeps the program") << row << int(MessageAnswer::Cancel) << program("new")
                                                  << QStringList{"message"} << row;
        QTest::newRow("Yes rewrites every line") << row << yes << program("new one")
                                                 << QStringList{"message", "open"} << changed;
        QTest::newRow("not a program") << blanks << yes << inAppFolder("config/1.2.jpg")
                                       << QStringList{"open"} << blanks;
    }
    void reassign()
    {
        QFETCH(Lines, lines);
        QFETCH(int, answer);
        QFETCH(Line, chosen);
        TestApp t;
        showRow(t, lines);
        FakeDialogs &dialogs = *t.fakes.dialogs;
        dialogs.messageAnswers.push_back(MessageAnswer(answer));
        if (chosen.kind != Line::Blank)
            dialogs.openAnswers.push_back(QFile::decodeName(pathOf(t, chosen)));
        QTest::mouseClick(t.app().row().button(3), Qt::RightButton);
        QTEST(dialogs.calls, "asked");
        QFETCH(Lines, file);
        const QByteArrayList paths = pathsOf(t, file);
        QCOMPARE(inetLines(t), paths);
        QCOMPARE(t.app().model().entry(3), paths.at(2));
        QVERIFY(t.fakes.launcher->started.isEmpty()); // a right release never starts
    }

    // A save the system refuses is told at once in one message window; the
    // row keeps the change, also across a category switch, and the next save
    // that succeeds writes it.
    void refusedSaveIsToldAndKept()
    {
        TestApp t;
        BarWindow &bar = showRow(t, {program("a"), program("b"), blank});
        const QByteArray a = rowPaths(t).first();
        QVERIFY(QDir(QFile::decodeName(t.path("."))).rename("config", "held")); // writes now fail: no such folder
        for (int remove = 0; remove < 2; ++remove) {
            QTest::mouseClick(bar.adderImage(BarModel::Adder::Resting), Qt::RightButton);
            QTest::mouseClick(bar.adderImage(BarModel::Adder::Remove), Qt::LeftButton);
        }
        QCoreApplication::processEvents();
        // One message for both, naming the file and the reason; the e2e suite closes it with keys.
        const QMessageBox *message = t.app().saveFailures().message();
        QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(), &QWidget::isVisible), 2);
        QVERIFY(message->text().contains(QFile::decodeName(t.path("config/Inet.cfg"))) && message->text().contains("No such file or directory"));
        t.app().model().selectCategory("Game");
        t.app().model().selectCategory("Inet");
        QCOMPARE(rowPaths(t), QByteArrayList{a});
        QVERIFY(QDir(QFile::decodeName(t.path("."))).rename("held", "config"));
        QVERIFY(saveSettings(bar, t.app().paths(), t.app().configWriter()));
        QCOMPARE(inetLines(t), QByteArrayList{a});
    }

    void moveAlongTheRow_data()
    {
        // Button `from` of the row a, b, c, blank pressed and moved `places`
        // button places along the row (0: short of the drag distance, a
        // click), then ended by `end`; then the row as positions of the first.
        QTest::addColumn<int>("from");
        QTest::addColumn<double>("places");
        QTest::addColumn<MoveEnd>("end");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("right") << 1 << 2.2 << ReleaseOnTheBar << QList<int>{2, 3, 1, 4};
        QTest::newRow("left, a blank button") << 4 << -2.4 << ReleaseOnTheBar << QList<int>{1, 4, 2, 3};
        QTest::newRow("Escape") << 2 << 1.0 << PressEscape << QList<int>{1, 2, 3, 4};
        QTest::newRow("off the bar") << 2 << -1.0 << ReleaseOffTheBar << QList<int>{1, 2, 3, 4};
        QTest::newRow("short of the drag distance: a click") << 2 << 0.0 << ReleaseOnTheBar << QList<int>{1, 2, 3, 4};
        // The second press comes as a double click; it moves all the same.
        QTest::newRow("pressed again after a click") << 1 << 2.2 << ClickThenPressAgain << QList<int>{2, 3, 1, 4};
    }
    void moveAlongTheRow()
    {
        QFETCH(int, from);
        QFETCH(double, places);
        QFETCH(MoveEnd, end);
        TestApp t;
        showRow(t, {program("a"), program("b"), program("c"), blank});
        const QByteArrayList paths = rowPaths(t);
        const int slot = t.app().row().button(2)->x() - t.app().row().button(1)->x();
        const QPoint at(5, 5), to = at + QPoint(places ? int(places * slot) : QApplication::startDragDistance() - 1, 0);
        ProgramButton *b = t.app().row().button(from);
        const QPoint origin = b->mapToGlobal(QPoint()); // the pointer's place does not follow the button
        const auto mouse = [b, origin](QEvent::Type type, QPoint pos) {
            QMouseEvent e(type, pos, origin + pos, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
            QCoreApplication::sendEvent(b, &e);
        };
        if (end == ClickThenPressAgain) {
            mouse(QEvent::MouseButtonPress, at);
            mouse(QEvent::MouseButtonRelease, at);
        }
        mouse(end == ClickThenPressAgain ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseMove, to);
        // The others make room at once: the one in the place taken shifts.
        const auto home = [](int i) { return twipsToPixels(TwipsRect{1110 + 345 * (i - 1), 10, 325, 315}); };
        const int target = from + int(std::lround(places));
        if (target != from)
            QCOMPARE(t.app().row().button(target)->x(), home(target + (target > from ? -1 : 1)).x());
        if (end == PressEscape)
            QTest::keyClick(b, Qt::Key_Escape);
        mouse(QEvent::MouseButtonRelease, end == ReleaseOffTheBar ? to - QPoint(0, 100) : to);
        QByteArrayList moved;
        QFETCH(QList<int>, order);
        for (int position : order)
            moved << paths.at(position - 1);
        QCOMPARE(rowPaths(t), moved);
        QCOMPARE(t.readFile("config/Inet.cfg"), textfile::joinLines(moved));
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(t.app().row().button(i)->geometry(), home(i));
            QCOMPARE(t.app().row().button(i)->icon().isNull(), moved.at(i - 1).isEmpty());
        }
        // Only a click starts the program.
        QCOMPARE(t.fakes.launcher->started, places && end != ClickThenPressAgain ? QByteArrayList{} : QByteArrayList{paths.at(from - 1)});
    }

    void addAndRemove_data()
    {
        // From a row of `initial` lines, the user's steps; then the image
        // shown, the button count and the file's lines.
        QTest::addColumn<Lines>("initial");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("count");
        QTest::addColumn<Lines>("file");
        const int resting = int(BarModel::Adder::Resting);
        const Lines two{blank, blank};
        QTest::newRow("add writes nothing, middle disarms")
            << two << QList<Step>{ArmAdding, AddImage, ArmAdding, MiddleOnAddImage} << resting << 3 << two;
        QTest::newRow("a program on a new button writes blank lines before it")
            << Lines{blank, program("P")} << QList<Step>{ArmAdding, AddImage, ArmAdding, AddImage, GiveProgramToButton4}
            << resting << 4 << Lines{blank, program("P"), blank, program("f")};
        QTest::newRow("remove writes at once") << Lines{blank, program("P"), blank}
                                               << QList<Step>{ArmRemoving, RemoveImage, ArmRemoving, RemoveImage}
                                               << resting << 1 << Lines{blank};
        QTest::newRow("Exit row ignores the images") << two << QList<Step>{ArmAdding, ShowExitRow, AddImage}
                                                     << int(BarModel::Adder::Add) << 1 << two;
    }
    void addAndRemove()
    {
        QFETCH(Lines, initial);
        QFETCH(QList<Step>, steps);
        QFETCH(int, shown);
        QFETCH(int, count);
        TestApp t;
        BarWindow &bar = showRow(t, initial);
        for (const Step step : steps) {
            if (step == ShowExitRow) {
                bar.menus().typeMenu->findChild<QAction *>("showExit")->trigger();
            } else if (step == GiveProgramToButton4) {
                t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(t.writeProgram("bin/f")));
                QTest::mouseClick(t.app().row().button(4), Qt::RightButton);
            } else {
                const auto [image, button] = kReleases.value(step);
                QVERIFY(bar.adderImage(image)->isVisible()); // a user releases only on what shows
                QTest::mouseClick(bar.adderImage(image), button);
            }
        }
        for (PictureBox *image : bar.adderImages())
            QCOMPARE(image->isVisible(), image->index() == shown);
        QCOMPARE(t.app().model().count(), count);
        QCOMPARE(bar.caption()->toolTip(), QString::number(count));
        QCOMPARE(bar.widthTwips(), 1450 + 345 * (count - 1));
        QVERIFY(!t.app().row().button(count + 1));
        QFETCH(Lines, file);
        QCOMPARE(inetLines(t), pathsOf(t, file));
    }

    void drops_data()
    {
        // Files dropped onto button `at` (0: the drag handle, outside the
        // buttons; -1: the Exit row's) of `lines`,
        // the question answered with `answer`; then whether the drag was
        // taken, the dialogs asked, the file's lines and the program started
        // with its arguments.
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<Lines>("files");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<Lines>("file");
        QTest::addColumn<Lines>("started"); // the program, then its arguments
        const int yes = int(MessageAnswer::Yes), no = int(MessageAnswer::No);
        const Lines two{program("old"), blank}, many(BarModel::kMaxAdded, blank);
        const Line a = program("a"), b = program("b");
        const auto row = [&](const char *name, const Lines &lines, const Lines &files, int at,
                             int answer, const QStringList &asked, const Lines &file, const Lines &started = {}) {
            QTest::newRow(name) << lines << files << at << answer
                                << (file != lines || !asked.isEmpty() || !started.isEmpty()) << asked << file << started;
        };
        row("onto a blank button", two, {a}, 2, yes, {}, {program("old"), a});
        row("onto a program, No", two, {a}, 1, no, {"message"}, two);
        row("onto a program, Yes", two, {a}, 1, yes, {"message"}, {a, blank});
        row("onto the bar, several", two, {a, b}, 0, yes, {}, {program("old"), blank, a, b});
        row("several onto a button", two, {a, b}, 2, yes, {}, two);
        row("beyond a hundred", many, {a}, 0, yes, {}, many);
        row("entry with field codes, on PATH", two, {desktopEntry("e %u")}, 2, yes, {}, {program("old"), program("e")});
        row("entry with other arguments", two, {desktopEntry("e --new %u")}, 2, yes, {}, two);
        row("entry in a terminal", two, {desktopEntry("e\nTerminal=true")}, 2, yes, {}, two);
        row("Flatpak entry", two, {desktopEntry("flatpak run org.x.App\nX-Flatpak=org.x.App")}, 2, yes, {},
            {program("old"), inAppFolder("data/flatpak/exports/bin/org.x.App")});
        row("a FIFO named like an entry", two, {Line{Line::Fifo, {}}}, 2, yes, {}, two);
        row("not executable", two, {a, inAppFolder("config/1.2.jpg")}, 0, yes, {}, two);
        row("in the Exit row", two, {a}, -1, yes, {}, two);
        const Line document = inAppFolder("config/1.2.jpg");
        row("a document onto a program opens it", two, {document}, 1, yes, {}, two, {program("old"), document});
        row("odd name, folder and program: all opened", two, {inAppFolder("my doc \xff.txt"), inAppFolder("config"), a}, 1,
            yes, {}, two, {program("old"), inAppFolder("my doc \xff.txt"), inAppFolder("config"), a});
        row("a document onto a blank button", two, {document}, 2, yes, {}, two);
    }
    void drops()
    {
        QFETCH(Lines, lines);
        QFETCH(Lines, files);
        QFETCH(int, at);
        QFETCH(bool, taken);
        TestApp t;
        t.writeProgram("bin/e");
        t.writeProgram("data/flatpak/exports/bin/org.x.App");
        const auto restore = qScopeGuard(
            [path = qgetenv("PATH"), data = qgetenv("XDG_DATA_HOME")] { qputenv("PATH", path), qputenv("XDG_DATA_HOME", data); });
        qputenv("PATH", QFile::encodeName(t.path("bin")) + ':' + qgetenv("PATH"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(t.path("data")));
        const QString category = at < 0 ? "Exit" : "Inet";
        BarWindow &bar = showRow(t, lines, category);
        QList<QUrl> urls;
        for (const QByteArray &file : pathsOf(t, files))
            urls << QUrl("file://" + QString::fromLatin1(file.toPercentEncoding("/")));
        QMimeData mime;
        mime.setUrls(urls);
        QFETCH(int, answer);
        t.fakes.dialogs->messageAnswers.push_back(MessageAnswer(answer));
        const QPoint pos = (at > 0 ? t.app().row().button(at)->geometry() : bar.dragHandle()->geometry()).center();
        QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDragMoveEvent move(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        for (QEvent *event : std::initializer_list<QEvent *>{&enter, &move, &drop}) {
            QCoreApplication::sendEvent(&bar, event);
            QCOMPARE(event->isAccepted(), taken);
        }
        QCoreApplication::processEvents();
        QFETCH(Lines, file);
        QTEST(t.fakes.dialogs->calls, "asked");
        QCOMPARE(textfile::readLines(t.path("config/" + category + ".cfg")).value(), pathsOf(t, file));
        QFETCH(Lines, started);
        const QByteArrayList startedPaths = pathsOf(t, started);
        QCOMPARE(t.fakes.launcher->started, startedPaths.mid(0, 1));
        QCOMPARE(t.fakes.launcher->startedWith,
                 started.isEmpty() ? QList<QByteArrayList>() : QList<QByteArrayList>{startedPaths.mid(1)});
    }

};

QTEST_MAIN(TestButtons)
#include "test_buttons.moc"
