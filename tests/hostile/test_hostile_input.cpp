#include "bar/BarWindow.h"
#include "buttons/CategoryFile.h"
#include "platform/linux/LinuxProgramIcons.h"
#include "support/TestApp.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace skylane;
using namespace skylane::test;

namespace {

constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;
constexpr double kDefault = std::numeric_limits<double>::quiet_NaN();
// Beyond any screen: the window system decides where the window goes.
constexpr double kAnywhere = std::numeric_limits<double>::infinity();

QByteArray junk(quint32 seed, qsizetype size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

// What a row built from `content` must show: lines end at LF, a CR just
// before it (or at the very end) belongs to the line end, a final line end
// adds no empty line.
QList<QByteArray> expectedLines(const QByteArray &content)
{
    QList<QByteArray> lines = content.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// A literal's bytes, NULs included.
template <qsizetype N>
QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

} // namespace

// Files no editor would write, read by the real readers at start: the bar
// comes up with its row, asks nothing, and leaves the files as they were.
class TestHostileInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void categoryFile_data();
    void categoryFile();
    void settingsFile_data();
    void settingsFile();
    void iconOfHostileLine_data();
    void iconOfHostileLine();

private:
    double m_defaultLeft = 0;
    double m_defaultTop = 0;
};

void TestHostileInput::initTestCase()
{
    TestApp t;
    t.start();
    m_defaultLeft = t.bar().leftTwips();
    m_defaultTop = t.bar().topTwips();
}

void TestHostileInput::categoryFile_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("10 MB line between short ones, no final line end")
        << "/usr/bin/a\r\n" + QByteArray(kTenMegabytes, '\xe9') + "\r\n/usr/bin/b";
    QByteArray many;
    for (int i = 0; i < 10000; ++i)
        many += "/opt/programs/p" + QByteArray::number(i) + "\r\n";
    QTest::newRow("10,000 lines") << many;
    QTest::newRow("NUL bytes") << bytes("/usr/bin\0/sh\r\n\0\0\0\r\n\0\r\n/bin/true\0");
    QTest::newRow("lone CRs") << QByteArray("/usr/bin/a\r/usr/bin/b\r\r\n\r\r\r\n/usr/bin/c\r");
    QTest::newRow("only CRs") << QByteArray(5000, '\r');
    QTest::newRow("binary junk") << junk(7, 256 * 1024);
}

void TestHostileInput::categoryFile()
{
    QFETCH(QByteArray, content);
    TestApp t;
    t.writeFile(QStringLiteral("config/Inet.cfg"), content);

    t.start();

    BarWindow &bar = t.bar();
    QVERIFY(bar.isVisible());
    const QList<QByteArray> lines = expectedLines(content);
    const int count = std::max<int>(1, int(lines.size()));
    QCOMPARE(buttonCount(bar), count);
    QCOMPARE(bar.command2Count() - 1, count);
    // Each button holds its line's bytes, as read.
    QVERIFY(rowPaths(bar) == (lines.isEmpty() ? QList<QByteArray>{QByteArray()} : lines));
    QVERIFY(bar.Command2(count)->isVisibleTo(&bar));
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
    QVERIFY(t.readFile(QStringLiteral("config/Inet.cfg")) == content);
}

void TestHostileInput::settingsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    // The position the bar must take: kDefault, kAnywhere or the twips.
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");

    QTest::newRow("huge numbers") << QByteArray("LF= 1e39\r\nTP= 99999999999999999999999999\r\n"
                                                "BG= 99999999999999999999\r\nTC= -99999999999\r\n")
                                  << kDefault << kDefault;
    QTest::newRow("NaN") << QByteArray("LF= NaN\r\nTP= nan\r\nBG= NaN\r\n") << kDefault << kDefault;
    QTest::newRow("negative") << QByteArray("LF= -300\r\nTP= -45.5\r\nBG= -2147483633\r\nTC= -1\r\n")
                              << -300.0 << -45.5;
    QTest::newRow("exponent forms") << QByteArray("LF= 1.5E3\r\nTP= 3e2\r\nBG= 1e3\r\nTC= 2.5e-1\r\n")
                                    << 1500.0 << 300.0;
    QTest::newRow("infinity") << QByteArray("LF= inf\r\nTP= -Infinity\r\n") << kDefault << kDefault;
    QTest::newRow("largest singles") << QByteArray("LF= 3.4e38\r\nTP= -3.4e38\r\n") << kAnywhere << kAnywhere;
    QTest::newRow("lone CRs") << QByteArray("LF= 100\rTP= 200\rBG= 0\r") << kDefault << kDefault;
    QTest::newRow("NUL bytes") << bytes("LF= 1\0002\r\nTF= Ari\0al\r\n") << kDefault << kDefault;
    QTest::newRow("binary junk") << junk(3, 256 * 1024) << kDefault << kDefault;
    QTest::newRow("10 MB number") << "LF= 1" + QByteArray(kTenMegabytes, '0') + "\r\n" << kDefault << kDefault;
    QTest::newRow("10 MB font name") << "LF= 600\r\nTP= 900\r\nTF= " + QByteArray(kTenMegabytes, 'F') + "\r\n"
                                     << 600.0 << 900.0;
    QTest::newRow("10 MB line without key") << QByteArray(kTenMegabytes, '=') << kDefault << kDefault;
}

void TestHostileInput::settingsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(double, left);
    QFETCH(double, top);
    TestApp t;
    t.writeFile(QStringLiteral("config/prg.cfg"), content);
    t.writeFile(QStringLiteral("config/Inet.cfg"), "/usr/bin/a\r\n/usr/bin/b\r\n");

    t.start();

    BarWindow &bar = t.bar();
    QVERIFY(bar.isVisible());
    QCOMPARE(buttonCount(bar), 2);
    QCOMPARE(bar.command2Count() - 1, 2);
    if (!std::isinf(left))
        QCOMPARE(float(bar.leftTwips()), float(std::isnan(left) ? m_defaultLeft : left));
    if (!std::isinf(top))
        QCOMPARE(float(bar.topTwips()), float(std::isnan(top) ? m_defaultTop : top));
    QVERIFY(std::abs(bar.x()) <= 1 << 24 && std::abs(bar.y()) <= 1 << 24);
    QVERIFY(t.fakes.dialogs->calls.isEmpty());
    QVERIFY(t.readFile(QStringLiteral("config/prg.cfg")) == content);
}

void TestHostileInput::iconOfHostileLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("10 MB line") << "/" + QByteArray(kTenMegabytes, 'p');
    QTest::newRow("10 MB of slashes") << QByteArray(kTenMegabytes, '/');
    // The bytes before the NUL name a file; the line as a whole does not,
    // and starting it would fail, so it must not wear that file's icon.
    QTest::newRow("existing file, then NUL") << bytes("/bin/sh\0/x");
    QTest::newRow("NUL first") << bytes("\0/bin/sh");
    QTest::newRow("lone CR") << QByteArray("/bin/sh\r");
    QTest::newRow("binary junk") << junk(5, 4096);
}

void TestHostileInput::iconOfHostileLine()
{
    QFETCH(QByteArray, line);
    QTemporaryDir noEntries;
    LinuxProgramIcons icons({noEntries.path()});
    bool found = true;
    QVERIFY(icons.smallIcon(line, found).isNull());
    QVERIFY(!found);
    // The file in front of the NUL does have an icon.
    QVERIFY(!icons.smallIcon(QByteArray("/bin/sh"), found).isNull());
    QVERIFY(found);
}

QTEST_MAIN(TestHostileInput)
#include "test_hostile_input.moc"
