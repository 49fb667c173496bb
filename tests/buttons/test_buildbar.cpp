#include "bar/BarWindow.h"
#include "buttons/BarBuilder.h"
#include "buttons/CategoryFile.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace skylane;
using namespace skylane::test;

namespace {

// '@' in test data stands for the program folder.
QByteArray inFolder(const TestApp &t, QByteArray text)
{
    return text.replace('@', QFile::encodeName(t.path(QString())).chopped(1));
}

// Program files created by their bytes, so that a name the locale cannot
// decode is exact; removed the same way, which the temporary folder cannot.
class Programs {
public:
    ~Programs()
    {
        for (const QByteArray &path : std::as_const(m_paths))
            ::unlink(path.constData());
    }
    void create(const QByteArray &path)
    {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0755);
        QVERIFY2(fd >= 0, path.constData());
        ::close(fd);
        m_paths << path;
    }

private:
    QList<QByteArray> m_paths;
};

QImage pictureOf(const QIcon &icon)
{
    return icon.isNull() ? QImage() : icon.pixmap(QSize(16, 16)).toImage();
}

QImage programPicture() { return pictureOf(QIcon(QStringLiteral(":/icons/program.svg"))); }

} // namespace

class TestBuildBar : public QObject {
    Q_OBJECT
private slots:
    void rowFromFile_data();
    void rowFromFile();
    void geometryOfThreeButtons();
    void missingProgramKeepsItsLine();
    void blankPictureMissing();
    void switchingRemovesOldButtonsAtOnce();
    void buttonRebuildingItsOwnRow();
    void rowStopsAtHighestIndex();
    void loadSequenceBuildsInet();
};

void TestBuildBar::rowFromFile_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<QByteArray>>("paths");

    QTest::newRow("no file") << false << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("empty file") << true << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("three paths") << true << QByteArray("@/a\r\n@/b\r\n@/c\r\n")
                                 << QList<QByteArray>{"@/a", "@/b", "@/c"};
    QTest::newRow("empty middle line") << true << QByteArray("@/a\r\n\r\n@/c\r\n")
                                       << QList<QByteArray>{"@/a", "", "@/c"};
    QTest::newRow("no final CR LF") << true << QByteArray("@/a\r\n@/b")
                                    << QList<QByteArray>{"@/a", "@/b"};
    QTest::newRow("only an empty line") << true << QByteArray("\r\n") << QList<QByteArray>{""};
    QTest::newRow("commas and spaces") << true << QByteArray("@/My Program, v2.exe\r\n@/ lead\r\n")
                                       << QList<QByteArray>{"@/My Program, v2.exe", "@/ lead"};
    QTest::newRow("non-UTF-8 bytes") << true << QByteArray("@/caf\xe9\r\n@/\xff\xfe\r\n")
                                     << QList<QByteArray>{"@/caf\xe9", "@/\xff\xfe"};
}

void TestBuildBar::rowFromFile()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(QList<QByteArray>, paths);
    TestApp t;
    Programs programs;
    for (QByteArray &p : paths) {
        p = inFolder(t, p);
        if (!p.isEmpty())
            programs.create(p);
    }
    if (fileExists)
        t.writeFile(QStringLiteral("config/Inet.cfg"), inFolder(t, content));
    t.start();
    BarWindow &bar = t.bar();

    QCOMPARE(rowPaths(bar), paths);
    QCOMPARE(bar.Label1()->toolTip(), QString::number(paths.size()));
    QCOMPARE(bar.widthTwips(), 1450 + 345 * (int(paths.size()) - 1));
    QCOMPARE(bar.heightTwips(), 375);
    for (int i = 1; i <= paths.size(); ++i) {
        ProgramButton *button = bar.Command2(i);
        QVERIFY(button->isVisible());
        QCOMPARE(twipsGeometry(button).left, 1110 + 345 * (i - 1));
        QCOMPARE(button->toolTip(), QString::fromLocal8Bit(paths.at(i - 1)));
        // A program shows its icon and an empty line no picture; only a row
        // read from no line at all shows the blank-button picture.
        const QByteArray &path = paths.at(i - 1);
        if (!path.isEmpty())
            QCOMPARE(pictureOf(button->icon()), programPicture());
        else if (content.isEmpty())
            QCOMPARE(pictureOf(button->icon()), pictureOf(QIcon(t.path(QStringLiteral("config/1.2.jpg")))));
        else
            QVERIFY(button->icon().isNull());
    }
    QVERIFY(!bar.Command2(0)->isVisible());

    // Rewriting the file from the row gives back every line's bytes.
    QVERIFY(rewriteCategoryFile(bar, t.app().paths()));
    QCOMPARE(t.readFile(QStringLiteral("config/Inet.cfg")), textfile::joinLines(paths));
}

void TestBuildBar::geometryOfThreeButtons()
{
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), "\r\n\r\n\r\n");
    t.start();
    BarWindow &bar = t.bar();
    QCOMPARE(twipsGeometry(bar.Command2(1)), (TwipsRect{1110, 10, 325, 315}));
    QCOMPARE(twipsGeometry(bar.Command2(2)), (TwipsRect{1455, 10, 325, 315}));
    QCOMPARE(twipsGeometry(bar.Command2(3)), (TwipsRect{1800, 10, 325, 315}));
    QCOMPARE(bar.widthTwips(), 2140);
    QCOMPARE(bar.size(), QSize(twipsToPixels(2140), twipsToPixels(375)));
    // The fixed cluster left of the row stays where it was.
    QCOMPARE(twipsGeometry(bar.Label1()), (TwipsRect{0, 0, 675, 195}));
    QCOMPARE(twipsGeometry(bar.Image1(0)), (TwipsRect{810, 60, 240, 240}));
}

void TestBuildBar::missingProgramKeepsItsLine()
{
    TestApp t;
    Programs programs;
    const QByteArray present = inFolder(t, "@/present");
    const QByteArray gone = inFolder(t, "@/uninstalled");
    programs.create(present);
    const QByteArray content = gone + "\r\n" + present + "\r\n";
    t.writeFile(QStringLiteral("config/Inet.cfg"), content);
    t.start();
    BarWindow &bar = t.bar();

    ProgramButton *missing = bar.Command2(1);
    QVERIFY(missing->icon().isNull());
    QCOMPARE(missing->programPath(), gone);
    QCOMPARE(missing->toolTip(), QString::fromLocal8Bit(gone));
    QCOMPARE(pictureOf(bar.Command2(2)->icon()), programPicture());
    QCOMPARE(bar.Label1()->toolTip(), QString("2"));

    QVERIFY(rewriteCategoryFile(bar, t.app().paths()));
    QCOMPARE(t.readFile(QStringLiteral("config/Inet.cfg")), content);
}

void TestBuildBar::blankPictureMissing()
{
    // Without the blank-button picture button 1 of an empty row shows
    // nothing, never the icon of the row before.
    TestApp t;
    Programs programs;
    const QByteArray program = inFolder(t, "@/prog");
    programs.create(program);
    t.writeFile(QStringLiteral("config/Inet.cfg"), program + "\r\n");
    t.start();
    BarWindow &bar = t.bar();
    QVERIFY(!bar.Command2(1)->icon().isNull());
    QVERIFY(QFile::remove(t.path(QStringLiteral("config/1.2.jpg"))));
    bar.menus().mnuGame->trigger();
    QVERIFY(bar.Command2(1)->icon().isNull());
    QVERIFY(bar.Command2(1)->programPath().isEmpty());
    QCOMPARE(bar.Label1()->toolTip(), QString("1"));
}

void TestBuildBar::switchingRemovesOldButtonsAtOnce()
{
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), QByteArray("\r\n").repeated(7));
    t.writeFile(QStringLiteral("config/Vid.cfg"), "\r\n\r\n");
    t.start();
    BarWindow &bar = t.bar();
    QCOMPARE(bar.command2Count(), 8);
    QList<QPointer<ProgramButton>> old;
    for (int i = 2; i <= 7; ++i)
        old << bar.Command2(i);

    bar.menus().mnuVideo->trigger();
    QCOMPARE(bar.command2Count(), 3);
    QCOMPARE(bar.widthTwips(), 1795);
    QCOMPARE(bar.Label1()->toolTip(), QString("2"));
    // Gone without waiting for the event loop, so rebuilding never piles up
    // buttons waiting to be deleted.
    for (const auto &button : std::as_const(old))
        QVERIFY(button.isNull());
    QCOMPARE(bar.findChildren<ProgramButton *>().size(), 3);
}

void TestBuildBar::buttonRebuildingItsOwnRow()
{
    // A release on a button whose handler rebuilds the row (and so removes
    // that very button) finishes its event before the button goes.
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), "\r\n\r\n\r\n");
    t.start();
    BarWindow &bar = t.bar();
    QPointer<ProgramButton> third = bar.Command2(3);
    connect(third, &ProgramButton::mouseReleased, &bar, [&bar] { bar.menus().mnuInet->trigger(); });
    QTest::mouseClick(third, Qt::LeftButton);
    QVERIFY(third);
    QVERIFY(!third->isVisible());
    QVERIFY(bar.Command2(3) != third.data());
    QCOMPARE(bar.Label1()->toolTip(), QString("3"));
    QTRY_VERIFY(third.isNull());
}

void TestBuildBar::rowStopsAtHighestIndex()
{
    // A file longer than the button array can address: the row ends at the
    // highest index and the count is the number of buttons it holds.
    TestApp t;
    const int limit = BarWindow::kMaxCommand2Index;
    t.writeFile(QStringLiteral("config/Inet.cfg"), QByteArray("\r\n").repeated(limit + 3));
    t.start();
    BarWindow &bar = t.bar();
    QCOMPARE(bar.command2Count(), limit + 1);
    QCOMPARE(bar.Label1()->toolTip(), QString::number(limit));
    QCOMPARE(bar.widthTwips(), 1450 + 345 * (limit - 1));
    QCOMPARE(buttonCount(bar), bar.command2Count() - 1);
}

void TestBuildBar::loadSequenceBuildsInet()
{
    TestApp t;
    t.writeFile(QStringLiteral("config/prg.cfg"), "LF= 300\r\nTP= 450\r\n");
    t.writeFile(QStringLiteral("config/Inet.cfg"), "\r\n\r\n");
    t.writeFile(QStringLiteral("config/Aud.cfg"), "\r\n\r\n\r\n\r\n");
    t.create();
    QCOMPARE(t.bar().Label1()->toolTip(), QString()); // nothing built before start
    t.start();
    BarWindow &bar = t.bar();
    QVERIFY(bar.isVisible());
    QCOMPARE(bar.leftTwips(), 300.0);
    QVERIFY(t.fakes.windows->isTopmost(&bar));
    QCOMPARE(bar.Label1()->text(), QString("Inet"));
    QCOMPARE(bar.Label1()->toolTip(), QString("2"));
    QCOMPARE(bar.command2Count(), 3);
}

QTEST_MAIN(TestBuildBar)
#include "test_buildbar.moc"
