#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "buttons/ButtonAdder.h"
#include "buttons/ButtonRow.h"
#include "core/TextFile.h"
#include "support/TestApp.h"

#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QMimeData>
#include <QPointer>
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

// In test data "@" is the program folder, "%name" an executable script
// bin/name, "%%name" that path with no file.
QByteArrayList expand(TestApp &t, QByteArrayList lines)
{
    for (QByteArray &line : lines) {
        if (line.startsWith("%%"))
            line = t.path("bin/") + line.mid(2);
        else if (line.startsWith('%'))
            line = t.writeProgram("bin/" + line.mid(1));
        line.replace('@', t.path(QString()).chopped(1));
    }
    return lines;
}

// Writes `lines` (see expand()) as the row of `category` and shows that row.
BarWindow &showRow(TestApp &t, const QByteArrayList &lines, const QString &category = "Inet")
{
    t.writeFile("config/" + category + ".cfg", textfile::joinLines(expand(t, lines)));
    t.start();
    if (category == "Exit")
        t.bar().menus().mnuExit->trigger();
    return t.bar();
}

} // namespace

class TestButtons : public QObject {
    Q_OBJECT
private slots:
    void rowFromFile_data()
    {
        QTest::addColumn<QByteArrayList>("lines"); // {"-"}: no file
        QTest::newRow("no file: the blank picture") << QByteArrayList{"-"};
        QTest::newRow("blank line, odd names") << QByteArrayList{"%My Program, v2", "", "%caf\xe9 \xff"};
        QTest::newRow("missing program keeps its line") << QByteArrayList{"%%gone", "%here"};
    }
    void rowFromFile()
    {
        QFETCH(QByteArrayList, lines);
        TestApp t;
        const bool noFile = lines == QByteArrayList{"-"};
        const QByteArrayList paths = noFile ? QByteArrayList{""} : expand(t, lines);
        if (!noFile)
            t.writeFile("config/Inet.cfg", textfile::joinLines(paths));
        t.start();
        BarWindow &bar = t.bar();
        QCOMPARE(bar.Label1()->text(), QString("Inet"));
        QCOMPARE(rowPaths(bar), paths);
        QCOMPARE(bar.size(), twipsToPixels(TwipsRect{0, 0, 1450 + 345 * int(paths.size() - 1), 375}).size());
        for (int i = 1; i <= paths.size(); ++i) {
            ProgramButton *button = bar.Command2(i);
            QVERIFY(button->isVisible());
            QCOMPARE(twipsGeometry(button), (TwipsRect{1110 + 345 * (i - 1), 10, 325, 315}));
            QCOMPARE(button->toolTip(), QString::fromLocal8Bit(paths.at(i - 1)));
            // A program shows its icon; a missing one and a blank line none.
            QCOMPARE(button->icon().isNull(), paths.at(i - 1).isEmpty() ? !noFile : lines.at(i - 1).startsWith("%%"));
        }
    }

    void rebuildingRemovesOldButtonsAtOnce()
    {
        TestApp t;
        t.writeFile("config/Inet.cfg", t.writeProgram("prog") + QByteArray("\r\n").repeated(7));
        t.start();
        BarWindow &bar = t.bar();
        QPointer<ProgramButton> third = bar.Command2(3);
        // A release whose handler rebuilds the row finishes on its button.
        connect(third, &ProgramButton::mouseReleased, &bar, [&bar] { bar.menus().mnuInet->trigger(); });
        QTest::mouseClick(third, Qt::LeftButton);
        QVERIFY(third && !third->isVisible() && bar.Command2(3) != third);
        QTRY_VERIFY(third.isNull());
        // A row without a file and without the blank picture shows nothing,
        // never the icon of the row before.
        bar.menus().mnuInet->trigger();
        QVERIFY(QFile::remove(t.path("config/1.2.jpg")));
        bar.menus().mnuGame->trigger();
        QVERIFY(bar.Command2(1)->icon().isNull() && bar.Command2(1)->programPath().isEmpty());
    }

    void captionAndTypeMenu_data()
    {
        // Steps: "L" or "M", a release on the caption; else a Type menu
        // command. Then the caption after each step.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("captions");
        // From position 0 the first click shows position 1, then on round.
        QTest::newRow("left clicks cycle") << QStringList(14, "L") << kTable.mid(1) + kTable.mid(0, 2);
        QTest::newRow("menu choice leaves the cycle position, middle does nothing")
            << QStringList{"mnuVideo", "M", "L", "mnuText", "mnuSys", "mnuExit"}
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
            if (steps.at(i).size() == 1)
                QTest::mouseClick(bar.Label1(), steps.at(i) == "L" ? Qt::LeftButton : Qt::MiddleButton);
            else
                bar.menus().mnuType->findChild<QAction *>(steps.at(i))->trigger();
            QCOMPARE(bar.Label1()->text(), captions.at(i));
            QCOMPARE(bar.command2Count(), int(kTable.indexOf(captions.at(i))) + 2);
        }
        QVERIFY(t.fakes.dialogs->calls.isEmpty());
    }

    void rightClickOnTheCaptionSetsAndSavesItsColour()
    {
        TestApp t;
        t.start();
        t.bar().CommonDialog1()->setColor(0x00FF00);
        QTest::mouseClick(t.bar().Label1(), Qt::RightButton); // cancelled: the colour confirmed last
        QCOMPARE(t.fakes.dialogs->calls, QStringList{"color"});
        QCOMPARE(t.bar().Label1()->foreColor(), ColorValue(0x00FF00));
        QVERIFY(t.readFile("config/prg.cfg").contains("\r\nTC= 65280\r\n"));
    }

    void releaseOnAButton_data()
    {
        // Button 2 of a row in `category` holds `line`; button 0 stands for
        // the keyboard and an activation that is no mouse release.
        QTest::addColumn<QString>("category");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<bool>("started");
        const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
        QTest::newRow("left, odd names") << "Inet" << QByteArray("%run me, caf\xe9") << left << QStringList() << true;
        QTest::newRow("left on a missing program") << "Inet" << QByteArray("%%gone") << left << QStringList() << false;
        QTest::newRow("middle on a program") << "Inet" << QByteArray("%prog") << middle << QStringList() << false;
        QTest::newRow("keyboard on a program") << "Inet" << QByteArray("%prog") << 0 << QStringList() << false;
        // The Exit row shows the exit dialog, then acts as any row.
        QTest::newRow("Exit, left, program") << "Exit" << QByteArray("%p") << left << QStringList() << true;
        QTest::newRow("Exit, right, blank") << "Exit" << QByteArray() << right << QStringList{"open"} << false;
    }
    void releaseOnAButton()
    {
        QFETCH(QString, category);
        QFETCH(QByteArray, line);
        QFETCH(int, button);
        QFETCH(bool, started);
        TestApp t("my app \xe9"); // a folder name the locale cannot decode
        const QByteArray program = expand(t, {line}).first();
        ProgramButton *b = showRow(t, {"/no/such/first", program}, category).Command2(2);
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
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QByteArrayList>("file");
        const QByteArrayList row{"%a", "", "%old", "/mnt/unplugged/\xe9" "diteur", ""};
        QByteArrayList changed = row;
        changed[2] = "%new one";
        const int yes = int(MessageAnswer::Yes);
        QTest::newRow("blank button asks nothing") << QByteArrayList{"", "", ""} << yes << QByteArray("%tool")
                                                   << QStringList{"open"} << QByteArrayList{"", "", "%tool"};
        QTest::newRow("Cancel keeps the program") << row << int(MessageAnswer::Cancel) << QByteArray("%new")
                                                  << QStringList{"message"} << row;
        QTest::newRow("Yes rewrites every line") << row << yes << QByteArray("%new one")
                                                 << QStringList{"message", "open"} << changed;
        QTest::newRow("not a program") << QByteArrayList{"", "", ""} << yes << QByteArray("@/config/1.2.jpg")
                                       << QStringList{"open"} << QByteArrayList{"", "", ""};
    }
    void reassign()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(int, answer);
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArrayList, file);
        TestApp t;
        showRow(t, lines);
        FakeDialogs &dialogs = *t.fakes.dialogs;
        dialogs.messageAnswers.push_back(MessageAnswer(answer));
        if (!chosen.isEmpty())
            dialogs.openAnswers.push_back(QFile::decodeName(expand(t, {chosen}).first()));
        QTest::mouseClick(t.bar().Command2(3), Qt::RightButton);
        QTEST(dialogs.calls, "asked");
        file = expand(t, file);
        QCOMPARE(inetLines(t), file);
        QCOMPARE(t.bar().Command2(3)->programPath(), file.at(2));
        QVERIFY(t.fakes.launcher->started.isEmpty()); // a right release never starts
    }

    void moveAlongTheRow_data()
    {
        // Button `from` of the row "abc-" (the last one blank) pressed and
        // moved `places` button places along the row (a fraction: pixels
        // short of the drag distance), then ended by `end`: "up" a release
        // on the bar, "off" a release off the bar, "Escape". Then the row.
        QTest::addColumn<int>("from");
        QTest::addColumn<double>("places");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("right") << 1 << 2.2 << "up" << QByteArray("bca-");
        QTest::newRow("left, a blank button") << 4 << -2.4 << "up" << QByteArray("a-bc");
        QTest::newRow("Escape") << 2 << 1.0 << "Escape" << QByteArray("abc-");
        QTest::newRow("off the bar") << 2 << -1.0 << "off" << QByteArray("abc-");
        QTest::newRow("short of the drag distance: a click") << 2 << 0.0 << "up" << QByteArray("abc-");
    }
    void moveAlongTheRow()
    {
        QFETCH(int, from);
        QFETCH(double, places);
        QFETCH(QString, end);
        TestApp t;
        BarWindow &bar = showRow(t, {"%a", "%b", "%c", ""});
        const QByteArrayList paths = rowPaths(bar);
        const int slot = bar.Command2(2)->x() - bar.Command2(1)->x();
        const QPoint at(5, 5), to = at + QPoint(places ? int(places * slot) : QApplication::startDragDistance() - 1, 0);
        ProgramButton *b = bar.Command2(from);
        const QPoint origin = b->mapToGlobal(QPoint()); // the pointer's place does not follow the button
        const auto mouse = [b, origin](QEvent::Type type, QPoint pos) {
            QMouseEvent e(type, pos, origin + pos, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
            QCoreApplication::sendEvent(b, &e);
        };
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseMove, to);
        // The others make room at once: the one in the place taken shifts.
        const auto home = [](int i) { return twipsToPixels(TwipsRect{1110 + 345 * (i - 1), 10, 325, 315}); };
        const int target = from + int(std::lround(places));
        if (target != from)
            QCOMPARE(bar.Command2(target)->x(), home(target + (target > from ? -1 : 1)).x());
        if (end == "Escape")
            QTest::keyClick(b, Qt::Key_Escape);
        mouse(QEvent::MouseButtonRelease, end == "off" ? to - QPoint(0, 100) : to);
        QByteArrayList moved;
        QFETCH(QByteArray, row);
        for (char c : row)
            moved << paths.at(QByteArray("abc-").indexOf(c));
        QCOMPARE(rowPaths(bar), moved);
        QCOMPARE(t.readFile("config/Inet.cfg"), textfile::joinLines(moved));
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(bar.Command2(i)->geometry(), home(i));
            QCOMPARE(bar.Command2(i)->icon().isNull(), moved.at(i - 1).isEmpty());
        }
        // Only a click starts the program.
        QCOMPARE(t.fakes.launcher->started, places ? QByteArrayList{} : QByteArrayList{paths.at(1)});
    }

    void addAndRemove_data()
    {
        // From a row of `initial` buttons ("P": the last holds a program),
        // releases as "image:button" (image 0 resting, 1 add, 2 remove;
        // button L, R or M), "Exit", or "6:R" a program given to button 6;
        // then the image shown, the button count and the file's lines.
        QTest::addColumn<QByteArray>("initial");
        QTest::addColumn<QStringList>("releases");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("file"); // each line's first letter, '-' for a blank one
        QTest::newRow("add writes nothing, middle disarms")
            << QByteArray("--") << QStringList{"0L", "1L", "0L", "1M"} << 0 << 3 << QByteArray("--");
        QTest::newRow("a program on a new button writes blank lines before it")
            << QByteArray("-P") << QStringList{"0L", "1L", "0L", "1L", "4R"} << 0 << 4 << QByteArray("-P-f");
        QTest::newRow("remove writes at once") << QByteArray("-P-") << QStringList{"0R", "2L", "0R", "2L"} << 0 << 1
                                               << QByteArray("-");
        QTest::newRow("one button is never removed") << QByteArray("-") << QStringList{"0R", "2L"} << 0 << 1 << QByteArray("-");
        QTest::newRow("no more than a hundred") << QByteArray(ButtonAdder::kMaxButtons, '-') << QStringList{"0L", "1L"} << 0
                                                << ButtonAdder::kMaxButtons << QByteArray(ButtonAdder::kMaxButtons, '-');
        QTest::newRow("Exit row ignores the images") << QByteArray("--") << QStringList{"0L", "Exit", "1L"} << 1 << 1
                                                     << QByteArray("--");
    }
    void addAndRemove()
    {
        QFETCH(QByteArray, initial);
        QFETCH(QStringList, releases);
        QFETCH(int, shown);
        QFETCH(int, count);
        TestApp t;
        QByteArrayList lines;
        for (char c : initial)
            lines << (c == 'P' ? "%P" : "");
        BarWindow &bar = showRow(t, lines);
        for (const QString &r : releases) {
            if (r == "Exit") {
                bar.menus().mnuExit->trigger();
            } else if (r.at(1) == 'R' && r.at(0) != '0') {
                t.fakes.dialogs->openAnswers.push_back(QFile::decodeName(t.writeProgram("bin/f")));
                QTest::mouseClick(bar.Command2(r.at(0).digitValue()), Qt::RightButton);
            } else {
                QVERIFY(bar.Image1(r.at(0).digitValue())->isVisible()); // a user releases only on what shows
                QTest::mouseClick(bar.Image1(r.at(0).digitValue()),
                                  r.at(1) == 'L' ? Qt::LeftButton : r.at(1) == 'R' ? Qt::RightButton : Qt::MiddleButton);
            }
        }
        for (int i = 0; i < 3; ++i)
            QCOMPARE(bar.Image1(i)->isVisible(), i == shown);
        QCOMPARE(buttonCount(bar), count);
        QCOMPARE(bar.widthTwips(), 1450 + 345 * (count - 1));
        QVERIFY(!bar.Command2(count + 1));
        QByteArray file;
        for (const QByteArray &line : inetLines(t))
            file += line.isEmpty() ? '-' : line.back();
        QTEST(file, "file");
    }

    void drops_data()
    {
        // Files (see expand(); "D:<Exec line>" a desktop entry, "P:" a FIFO
        // named like one) dropped onto
        // button `at` (0: the drag handle, outside the buttons) of `lines`,
        // the question answered with `answer`; then whether the drag was
        // taken, the dialogs asked, the file's lines and the program started
        // with its arguments.
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QByteArrayList>("file");
        QTest::addColumn<QByteArrayList>("started");
        const int yes = int(MessageAnswer::Yes), no = int(MessageAnswer::No);
        const QByteArrayList two{"%old", ""}, many(ButtonAdder::kMaxButtons, "");
        const auto row = [&](const char *name, const QByteArrayList &lines, const QByteArrayList &files, int at,
                             int answer, const QStringList &asked, const QByteArrayList &file,
                             const QByteArrayList &started = {}) {
            QTest::newRow(name) << lines << files << at << answer
                                << (file != lines || !asked.isEmpty() || !started.isEmpty()) << asked << file << started;
        };
        row("onto a blank button", two, {"%a"}, 2, yes, {}, {"%old", "%a"});
        row("onto a program, No", two, {"%a"}, 1, no, {"message"}, two);
        row("onto a program, Yes", two, {"%a"}, 1, yes, {"message"}, {"%a", ""});
        row("onto the bar, several", two, {"%a", "%b"}, 0, yes, {}, {"%old", "", "%a", "%b"});
        row("several onto a button", two, {"%a", "%b"}, 2, yes, {}, two);
        row("beyond a hundred", many, {"%a"}, 0, yes, {}, many);
        row("entry with field codes, on PATH", two, {"D:e %u"}, 2, yes, {}, {"%old", "@/bin/e"});
        row("entry with other arguments", two, {"D:e --new %u"}, 2, yes, {}, two);
        row("entry in a terminal", two, {"D:e\nTerminal=true"}, 2, yes, {}, two);
        row("Flatpak entry", two, {"D:flatpak run org.x.App\nX-Flatpak=org.x.App"}, 2, yes, {},
            {"%old", "@/data/flatpak/exports/bin/org.x.App"});
        row("a FIFO named like an entry", two, {"P:"}, 2, yes, {}, two);
        row("not executable", two, {"%a", "@/config/1.2.jpg"}, 0, yes, {}, two);
        row("in the Exit row", two, {"%a"}, -1, yes, {}, two);
        row("a document onto a program opens it", two, {"@/config/1.2.jpg"}, 1, yes, {}, two,
            {"%old", "@/config/1.2.jpg"});
        row("odd name, folder and program: all opened", two, {"@/my doc \xff.txt", "@/config", "%a"}, 1, yes, {},
            two, {"%old", "@/my doc \xff.txt", "@/config", "%a"});
        row("a document onto a blank button", two, {"@/config/1.2.jpg"}, 2, yes, {}, two);
    }
    void drops()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(QByteArrayList, files);
        QFETCH(int, at);
        QFETCH(bool, taken);
        TestApp t;
        t.writeProgram("bin/e");
        t.writeProgram("data/flatpak/exports/bin/org.x.App");
        const QByteArray path = qgetenv("PATH"), dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("PATH", QFile::encodeName(t.path("bin")) + ':' + path);
        qputenv("XDG_DATA_HOME", QFile::encodeName(t.path("data")));
        const QString category = at < 0 ? "Exit" : "Inet";
        BarWindow &bar = showRow(t, lines, category);
        QList<QUrl> urls;
        for (QByteArray &file : files) {
            if (file.startsWith("D:")) {
                t.writeFile("config/" + QString::number(urls.size()) + ".desktop",
                            "[Desktop Entry]\nType=Application\nName=E\nExec=" + file.mid(2) + '\n');
                file = QFile::encodeName(t.path("config/" + QString::number(urls.size()) + ".desktop"));
            } else if (file == "P:") {
                file = QFile::encodeName(t.path("config/fifo.desktop"));
                QCOMPARE(::mkfifo(file.constData(), 0600), 0);
            }
            urls << QUrl("file://" + QString::fromLatin1(expand(t, {file}).first().toPercentEncoding("/")));
        }
        QMimeData mime;
        mime.setUrls(urls);
        QFETCH(int, answer);
        t.fakes.dialogs->messageAnswers.push_back(MessageAnswer(answer));
        const QPoint pos = (at > 0 ? bar.Command2(at)->geometry() : bar.Image2()->geometry()).center();
        QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDragMoveEvent move(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        for (QEvent *event : std::initializer_list<QEvent *>{&enter, &move, &drop}) {
            QCoreApplication::sendEvent(&bar, event);
            QCOMPARE(event->isAccepted(), taken);
        }
        QCoreApplication::processEvents();
        qputenv("PATH", path);
        qputenv("XDG_DATA_HOME", dataHome);
        QFETCH(QByteArrayList, file);
        QTEST(t.fakes.dialogs->calls, "asked");
        QCOMPARE(textfile::readLines(t.path("config/" + category + ".cfg")).value(), expand(t, file));
        QFETCH(QByteArrayList, started);
        started = expand(t, started);
        QCOMPARE(t.fakes.launcher->started, started.mid(0, 1));
        QCOMPARE(t.fakes.launcher->startedWith, started.isEmpty() ? QList<QByteArrayList>() : QList<QByteArrayList>{started.mid(1)});
    }

};

QTEST_MAIN(TestButtons)
#include "test_buttons.moc"
