#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "support/TestApp.h"

#include <QLocale>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kSettings = QStringLiteral("config/prg.cfg");

// What the settings file sets on the bar; the defaults are the bar's own.
struct BarState {
    double left = 5100, top = 4620;
    qint64 back = systemColor(1), caption = 0xFFFFFF;
    QString font = "MS Serif";
    bool operator==(const BarState &) const = default;
};

char *toString(const BarState &s)
{
    return qstrdup(qPrintable(QString("LF %1 TP %2 BG %3 TC %4 TF %5")
                                  .arg(s.left).arg(s.top).arg(s.back).arg(s.caption).arg(s.font)));
}

BarState stateOf(const BarWindow &bar)
{
    return {bar.leftTwips(), bar.topTwips(), qint64(bar.backColor()), qint64(bar.Label1()->foreColor()),
            bar.Label1()->font().family()};
}

void apply(BarWindow &bar, const BarState &s)
{
    bar.moveTwips(s.left, s.top);
    bar.setBackColor(ColorValue(s.back));
    bar.Label1()->setForeColor(ColorValue(s.caption));
    QFont f = bar.Label1()->font();
    f.setFamily(s.font);
    bar.Label1()->setFont(f);
}
} // namespace

Q_DECLARE_METATYPE(BarState)

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void loadApplies_data();
    void loadApplies();
    void saveWritesSixLinesInOrder();
    void saveThenLoadRoundTrips_data();
    void saveThenLoadRoundTrips();
    void positionsFollowTheLocale();
    void capitalConfigFolderIsUsed();
    void saveWithoutFolderFailsSilently();
};

void TestSettings::loadApplies_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<BarState>("expected");
    QTest::newRow("no file") << QByteArray() << BarState{};
    QTest::newRow("caption colour alone") << QByteArray("TC= 255\r\n") << BarState{.caption = 255};
    QTest::newRow("letters stop reading") << QByteArray("TP= 300\r\nLF= abc\r\nBG= 255\r\n") << BarState{.top = 300};
    QTest::newRow("empty value stops reading") << QByteArray("BG= \r\nTC= 255\r\n") << BarState{};
    QTest::newRow("one past the 32-bit top stops") << QByteArray("TC= 2147483648\r\nBG= 255\r\n") << BarState{};
    QTest::newRow("most negative colour") << QByteArray("TC= -2147483648\r\n") << BarState{.caption = 0x80000000};
    QTest::newRow("colour fraction rounds") << QByteArray("TC= 254.6\r\n") << BarState{.caption = 255};
    QTest::newRow("colour exponent") << QByteArray("TC= 1E3\r\n") << BarState{.caption = 1000};
    QTest::newRow("colour with trailing letters") << QByteArray("TC= 12ab\r\nBG= 255\r\n") << BarState{};
    QTest::newRow("colour infinity") << QByteArray("TC= inf\r\nBG= 255\r\n") << BarState{};
    QTest::newRow("huge colour") << QByteArray("TC= 99999999999999999999999\r\nBG= 255\r\n") << BarState{};
    QTest::newRow("small letters do not match") << QByteArray("lf= 15\r\nBg= 255\r\n") << BarState{};
    QTest::newRow("no space after = does not match") << QByteArray("LF=15\r\n") << BarState{};
    QTest::newRow("second BG wins") << QByteArray("BG= 255\r\nBG= 65280\r\n") << BarState{.back = 65280};
    QTest::newRow("system colour as negative") << QByteArray("BG= -2147483645\r\n")
                                               << BarState{.back = systemColor(3)};
    QTest::newRow("blanks around numbers") << QByteArray("LF=  750 \r\nTP= 15\t\r\n") << BarState{750, 15};
    QTest::newRow("font with spaces") << QByteArray("TF= Arial Narrow\r\n") << BarState{.font = "Arial Narrow"};
    QTest::newRow("credit and junk lines skipped") << QByteArray("AB= whatever 12\r\n\r\nXY\r\nLF= 30\r\n")
                                                   << BarState{.left = 30};
    QTest::newRow("lone LF line ends") << QByteArray("LF= 45\nTP= 60") << BarState{45, 60};
    QTest::newRow("fraction of a twip kept") << QByteArray("LF= 5107.5\r\n") << BarState{.left = 5107.5};
}

void TestSettings::loadApplies()
{
    QFETCH(QByteArray, file);
    TestApp t;
    if (!file.isEmpty())
        t.writeFile(kSettings, file);
    LoadSettings(t.bar(), t.app().paths());
    QTEST(stateOf(t.bar()), "expected");
    // Only the face comes from the file.
    QCOMPARE(t.bar().Label1()->font().pointSizeF(), 6.75);
    QVERIFY(t.bar().Label1()->font().bold());
}

void TestSettings::saveWritesSixLinesInOrder()
{
    TestApp t;
    t.writeFile(kSettings, "XX= junk\r\nTC= 255\r\nmore junk\r\n");
    LoadSettings(t.bar(), t.app().paths());
    QVERIFY(SaveSettings(t.bar(), t.app().paths()));
    QCOMPARE(t.readFile(kSettings), QByteArray("LF= 5100\r\nTP= 4620\r\nBG= -2147483647\r\nAB= Voltari Software - ")
                                        + product::kMakerWebAddress + "\r\nTC= 255\r\nTF= MS Serif\r\n");
}

void TestSettings::saveThenLoadRoundTrips_data()
{
    QTest::addColumn<BarState>("state");
    QTest::newRow("plain colours") << BarState{15, 30, 0x123456, 0, "DejaVu Sans"};
    QTest::newRow("system colours") << BarState{0, 0, systemColor(15), systemColor(14), "MS Serif"};
    QTest::newRow("off the desktop") << BarState{-30000, 90000, 0xFFFFFF, 0xFF, "Arial Narrow"};
    QTest::newRow("fraction") << BarState{5107.25, 0.5, 1, 2, "Liberation Serif"};
}

void TestSettings::saveThenLoadRoundTrips()
{
    QFETCH(BarState, state);
    TestApp t;
    apply(t.bar(), state);
    QVERIFY(SaveSettings(t.bar(), t.app().paths()));
    TestApp second;
    second.writeFile(kSettings, t.readFile(kSettings));
    LoadSettings(second.bar(), second.app().paths());
    QCOMPARE(stateOf(second.bar()), state);
}

void TestSettings::positionsFollowTheLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TestApp t;
    t.bar().moveTwips(12345.5, 100000); // a plain integer, not "1e+05"
    QVERIFY(SaveSettings(t.bar(), t.app().paths()));
    QVERIFY(t.readFile(kSettings).startsWith("LF= 12345,5\r\nTP= 100000\r\n"));
    t.bar().moveTwips(0, 0);
    LoadSettings(t.bar(), t.app().paths());
    QCOMPARE(t.bar().leftTwips(), 12345.5);
    QCOMPARE(t.bar().topTwips(), 100000.0);
}

void TestSettings::capitalConfigFolderIsUsed()
{
    TestApp t;
    QDir(t.path("")).rename("config", "Config");
    t.writeFile("Config/prg.cfg", "LF= 150\r\n");
    LoadSettings(t.bar(), t.app().paths());
    QCOMPARE(t.bar().leftTwips(), 150.0);
    QVERIFY(SaveSettings(t.bar(), t.app().paths()));
    QVERIFY(!t.exists("config"));
    QVERIFY(t.readFile("Config/prg.cfg").startsWith("LF= 150\r\n"));
}

void TestSettings::saveWithoutFolderFailsSilently()
{
    TestApp t;
    QDir(t.path("")).rename("config", "elsewhere");
    QVERIFY(!SaveSettings(t.bar(), t.app().paths())); // no folder: nothing written
    QVERIFY(!t.exists("config/prg.cfg"));
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
