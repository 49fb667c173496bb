#include "artwork/Artwork.h"
#include "bar/BarWindow.h"
#include "buttons/BarBuilder.h"
#include "buttons/CategoryFile.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {

// '@' in test data stands for the program folder.
QByteArray inFolder(const TestApp &t, QByteArray text)
{
    return text.replace('@', QFile::encodeName(t.path(QString())).chopped(1));
}

QImage pictureOf(const QIcon &icon)
{
    return icon.isNull() ? QImage() : icon.pixmap(QSize(16, 16)).toImage();
}

QImage programPicture() { return pictureOf(artworkIcon(QStringLiteral("program"), QSize(16, 16))); }

} // namespace

class TestBuildBar : public QObject {
    Q_OBJECT
private slots:
    void rowFromFile_data();
    void rowFromFile();
    void blankPictureMissing();
    void switchingRemovesOldButtonsAtOnce();
    void buttonRebuildingItsOwnRow();
    void rowStopsAtHighestIndex();
    void loadSequenceBuildsInet();
};

void TestBuildBar::rowFromFile_data()
{
    // Paths named "@/gone..." have no file.
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<QByteArray>>("paths");

    QTest::newRow("no file") << false << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("empty file") << true << QByteArray() << QList<QByteArray>{""};
    QTest::newRow("three paths") << true << QByteArray("@/a\r\n@/b\r\n@/c\r\n")
                                 << QList<QByteArray>{"@/a", "@/b", "@/c"};
    QTest::newRow("empty middle line") << true << QByteArray("@/a\r\n\r\n@/c\r\n")
                                       << QList<QByteArray>{"@/a", "", "@/c"};
    QTest::newRow("no final CR LF") << true << QByteArray("@/a\r\n@/b") << QList<QByteArray>{"@/a", "@/b"};
    QTest::newRow("only an empty line") << true << QByteArray("\r\n") << QList<QByteArray>{""};
    QTest::newRow("commas and spaces") << true << QByteArray("@/My Program, v2.exe\r\n@/ lead\r\n")
                                       << QList<QByteArray>{"@/My Program, v2.exe", "@/ lead"};
    QTest::newRow("non-UTF-8 bytes") << true << QByteArray("@/caf\xe9\r\n@/\xff\xfe\r\n")
                                     << QList<QByteArray>{"@/caf\xe9", "@/\xff\xfe"};
    QTest::newRow("missing program keeps its line") << true << QByteArray("@/gone\r\n@/present\r\n")
                                                    << QList<QByteArray>{"@/gone", "@/present"};
}

void TestBuildBar::rowFromFile()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(QList<QByteArray>, paths);
    TestApp t;
    for (QByteArray &p : paths) {
        if (!p.isEmpty() && !p.startsWith("@/gone"))
            t.writeProgram(p.mid(2));
        p = inFolder(t, p);
    }
    if (fileExists)
        t.writeFile(QStringLiteral("config/Inet.cfg"), inFolder(t, content));
    t.start();
    BarWindow &bar = t.bar();

    QCOMPARE(rowPaths(bar), paths);
    const int width = 1450 + 345 * (int(paths.size()) - 1);
    QCOMPARE(bar.Label1()->toolTip(), QString::number(paths.size()));
    QCOMPARE(bar.widthTwips(), width);
    QCOMPARE(bar.heightTwips(), 375);
    QCOMPARE(bar.size(), QSize(twipsToPixels(width), twipsToPixels(375)));
    // The fixed cluster left of the row stays where it was.
    QCOMPARE(twipsGeometry(bar.Label1()), (TwipsRect{0, 0, 675, 195}));
    QCOMPARE(twipsGeometry(bar.Image1(0)), (TwipsRect{810, 60, 240, 240}));
    for (int i = 1; i <= paths.size(); ++i) {
        ProgramButton *button = bar.Command2(i);
        QVERIFY(button->isVisible());
        QCOMPARE(twipsGeometry(button), (TwipsRect{1110 + 345 * (i - 1), 10, 325, 315}));
        QCOMPARE(button->toolTip(), QString::fromLocal8Bit(paths.at(i - 1)));
        // A program shows its icon, a missing one and an empty line no
        // picture; only a row read from no line at all shows the blank-button
        // picture.
        const QByteArray &path = paths.at(i - 1);
        if (!path.isEmpty() && !path.contains("/gone"))
            QCOMPARE(pictureOf(button->icon()), programPicture());
        else if (path.isEmpty() && content.isEmpty())
            QCOMPARE(pictureOf(button->icon()), pictureOf(QIcon(t.path(QStringLiteral("config/1.2.jpg")))));
        else
            QVERIFY(button->icon().isNull());
    }
    QVERIFY(!bar.Command2(0)->isVisible());

    // Rewriting the file from the row gives back every line's bytes.
    QVERIFY(rewriteCategoryFile(bar, t.app().paths()));
    QCOMPARE(t.readFile(QStringLiteral("config/Inet.cfg")), textfile::joinLines(paths));
}

void TestBuildBar::blankPictureMissing()
{
    // Without the blank-button picture button 1 of an empty row shows
    // nothing, never the icon of the row before.
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), t.writeProgram("prog") + "\r\n");
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
    // Nothing is built before the start, which shows Inet (not the table's
    // first category).
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), "\r\n\r\n");
    t.writeFile(QStringLiteral("config/Aud.cfg"), "\r\n\r\n\r\n\r\n");
    QCOMPARE(t.create().bar().Label1()->toolTip(), QString());
    t.start();
    QCOMPARE(t.bar().Label1()->text(), QString("Inet"));
    QCOMPARE(t.bar().Label1()->toolTip(), QString("2"));
    QCOMPARE(t.bar().command2Count(), 3);
}

QTEST_MAIN(TestBuildBar)
#include "test_buildbar.moc"
