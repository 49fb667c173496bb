#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QLocale>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kSettings = QStringLiteral("config/prg.cfg");
QByteArray creditLine() { return QByteArray("AB= Voltari Software - ") + product::kMakerWebAddress; }
} // namespace

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
    void numbers_data();
    void numbers();
    void capitalConfigFolderIsUsed();
    void failedSaveIsSilentAndKeepsOldFile();
};

void TestSettings::loadApplies_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<qint64>("back");
    QTest::addColumn<qint64>("caption");
    QTest::addColumn<QString>("font");
    const qint64 desktop = systemColor(1), white = 0xFFFFFF;
    const QString serif = "MS Serif";
    QTest::newRow("no file") << QByteArray() << 5100.0 << 4620.0 << desktop << white << serif;
    QTest::newRow("caption colour alone") << QByteArray("TC= 255\r\n") << 5100.0 << 4620.0 << desktop
                                          << qint64(255) << serif;
    QTest::newRow("letters stop reading") << QByteArray("TP= 300\r\nLF= abc\r\nBG= 255\r\n") << 5100.0
                                          << 300.0 << desktop << white << serif;
    QTest::newRow("empty value stops reading") << QByteArray("BG= \r\nTC= 255\r\n") << 5100.0 << 4620.0
                                               << desktop << white << serif;
    QTest::newRow("out of 32-bit range stops") << QByteArray("TC= 4294967295\r\nBG= 255\r\n") << 5100.0
                                               << 4620.0 << desktop << white << serif;
    QTest::newRow("small letters do not match") << QByteArray("lf= 15\r\nBg= 255\r\n") << 5100.0
                                                << 4620.0 << desktop << white << serif;
    QTest::newRow("no space after = does not match") << QByteArray("LF=15\r\n") << 5100.0 << 4620.0
                                                     << desktop << white << serif;
    QTest::newRow("second BG wins") << QByteArray("BG= 255\r\nBG= 65280\r\n") << 5100.0 << 4620.0
                                    << qint64(65280) << white << serif;
    QTest::newRow("system colour as negative") << QByteArray("BG= -2147483645\r\n") << 5100.0 << 4620.0
                                               << qint64(systemColor(3)) << white << serif;
    QTest::newRow("blanks around numbers") << QByteArray("LF=  750 \r\nTP= 15\t\r\n") << 750.0 << 15.0
                                           << desktop << white << serif;
    QTest::newRow("font with spaces") << QByteArray("TF= Arial Narrow\r\n") << 5100.0 << 4620.0 << desktop
                                      << white << "Arial Narrow";
    QTest::newRow("credit and junk lines skipped")
        << QByteArray("AB= whatever 12\r\n\r\nXY\r\nLF= 30\r\n") << 30.0 << 4620.0 << desktop << white << serif;
    QTest::newRow("lone LF line ends") << QByteArray("LF= 45\nTP= 60") << 45.0 << 60.0 << desktop << white
                                       << serif;
    QTest::newRow("fraction of a twip kept") << QByteArray("LF= 5107.5\r\n") << 5107.5 << 4620.0 << desktop
                                             << white << serif;
    QTest::newRow("exponent form") << QByteArray("LF= 1.5E3\r\n") << 1500.0 << 4620.0 << desktop << white
                                   << serif;
    QTest::newRow("NaN stops reading") << QByteArray("LF= nan\r\nTC= 255\r\n") << 5100.0 << 4620.0 << desktop
                                       << white << serif;
    QTest::newRow("beyond single precision stops") << QByteArray("TP= 1e39\r\nTC= 255\r\n") << 5100.0
                                                   << 4620.0 << desktop << white << serif;
    QTest::newRow("negative position") << QByteArray("LF= -1500\r\n") << -1500.0 << 4620.0 << desktop
                                       << white << serif;
}

void TestSettings::loadApplies()
{
    QFETCH(QByteArray, file);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(qint64, back);
    QFETCH(qint64, caption);
    QFETCH(QString, font);

    TestApp t;
    if (!file.isEmpty())
        t.writeFile(kSettings, file);
    LoadSettings(t.bar(), t.app().paths());

    QCOMPARE(t.bar().leftTwips(), left);
    QCOMPARE(t.bar().topTwips(), top);
    QCOMPARE(qint64(t.bar().backColor()), back);
    QCOMPARE(qint64(t.bar().Label1()->foreColor()), caption);
    QCOMPARE(t.bar().Label1()->font().family(), font);
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
    QCOMPARE(t.readFile(kSettings), QByteArray("LF= 5100\r\nTP= 4620\r\nBG= -2147483647\r\n") + creditLine()
                                        + "\r\nTC= 255\r\nTF= MS Serif\r\n");
}

void TestSettings::saveThenLoadRoundTrips_data()
{
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<qint64>("back");
    QTest::addColumn<qint64>("caption");
    QTest::addColumn<QString>("font");
    QTest::newRow("plain colours") << 15.0 << 30.0 << qint64(0x123456) << qint64(0) << "DejaVu Sans";
    QTest::newRow("system colours") << 0.0 << 0.0 << qint64(systemColor(15)) << qint64(systemColor(14))
                                    << "MS Serif";
    QTest::newRow("off the desktop") << -30000.0 << 90000.0 << qint64(0xFFFFFF) << qint64(0xFF) << "Arial Narrow";
    QTest::newRow("fraction") << 5107.25 << 0.5 << qint64(1) << qint64(2) << "Liberation Serif";
}

void TestSettings::saveThenLoadRoundTrips()
{
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(qint64, back);
    QFETCH(qint64, caption);
    QFETCH(QString, font);
    TestApp t;
    BarWindow &bar = t.bar();
    bar.moveTwips(left, top);
    bar.setBackColor(ColorValue(back));
    bar.Label1()->setForeColor(ColorValue(caption));
    QFont f = bar.Label1()->font();
    f.setFamily(font);
    bar.Label1()->setFont(f);
    QVERIFY(SaveSettings(bar, t.app().paths()));

    TestApp second;
    second.writeFile(kSettings, t.readFile(kSettings));
    LoadSettings(second.bar(), second.app().paths());
    QCOMPARE(second.bar().leftTwips(), left);
    QCOMPARE(second.bar().topTwips(), top);
    QCOMPARE(qint64(second.bar().backColor()), back);
    QCOMPARE(qint64(second.bar().Label1()->foreColor()), caption);
    QCOMPARE(second.bar().Label1()->font().family(), font);
}

void TestSettings::positionsFollowTheLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TestApp t;
    t.bar().moveTwips(12345.5, -7.25);
    QVERIFY(SaveSettings(t.bar(), t.app().paths()));
    const QByteArrayList lines = textfile::readLines(t.path(kSettings)).value();
    QCOMPARE(lines.value(0), QByteArray("LF= 12345,5"));
    QCOMPARE(lines.value(1), QByteArray("TP= -7,25"));
    LoadSettings(t.bar(), t.app().paths());
    QCOMPARE(t.bar().leftTwips(), 12345.5);
    QCOMPARE(t.bar().topTwips(), -7.25);
}

void TestSettings::numbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << QByteArray("16777215") << true << qint64(16777215);
    QTest::newRow("most negative") << QByteArray("-2147483648") << true << qint64(-2147483648LL);
    QTest::newRow("one past the top") << QByteArray("2147483648") << false << qint64(0);
    QTest::newRow("fraction rounds") << QByteArray("254.6") << true << qint64(255);
    QTest::newRow("exponent") << QByteArray("1E3") << true << qint64(1000);
    QTest::newRow("letters") << QByteArray("red") << false << qint64(0);
    QTest::newRow("trailing letters") << QByteArray("12ab") << false << qint64(0);
    QTest::newRow("infinity") << QByteArray("inf") << false << qint64(0);
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << false << qint64(0);
}

void TestSettings::numbers()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    const auto parsed = parseLong(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(qint64(*parsed), value);
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

void TestSettings::failedSaveIsSilentAndKeepsOldFile()
{
    TestApp t;
    QDir(t.path("")).rename("config", "elsewhere");
    QVERIFY(!SaveSettings(t.bar(), t.app().paths())); // no folder: nothing written
    QVERIFY(!t.exists("config/prg.cfg"));
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
