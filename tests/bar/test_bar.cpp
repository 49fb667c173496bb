#include "ProductInfo.h"
#include "bar/BarPlacement.h"
#include "bar/BarWindow.h"
#include "bar/RestoreWindow.h"
#include "bar/Settings.h"
#include "bar/StatusLight.h"
#include "platform/linux/PaletteSystemColors.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace skylane;
using namespace skylane::test;

namespace {
const QString kSettings = QStringLiteral("config/prg.cfg");

// What the settings file sets on the bar, as "LF TP BG TC TF".
QString stateOf(const BarWindow &bar)
{
    return QString("%1 %2 %3 %4 %5").arg(bar.leftTwips()).arg(bar.topTwips()).arg(qint64(bar.backColor()))
        .arg(qint64(bar.caption()->foreColor())).arg(bar.caption()->font().family());
}

// The state a fresh bar loads from t's settings file.
QString reloaded(const TestApp &t)
{
    TestApp fresh;
    fresh.writeFile(kSettings, t.readFile(kSettings));
    loadSettings(fresh.bar(), fresh.app().paths());
    return stateOf(fresh.bar());
}

void sendMouse(QWidget *target, QEvent::Type type, Qt::MouseButtons held, QPoint local)
{
    QMouseEvent event(type, local, target->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// The lamps that show, the stacking, the bar's timer, the blink count and
// the taskbar entry: "green, top, still, 0 blinks, no entry".
QString lightState(TestApp &t)
{
    BarWindow &bar = t.bar();
    QStringList lamps;
    const char *names[] = {"unlit", "green", "red"};
    for (const PictureBox *lamp : bar.statusLights())
        if (lamp->isVisible())
            lamps << names[lamp->index()];
    return QString("%1, %2, %3, %4 blinks, %5")
        .arg(lamps.join('+'), t.fakes.windows->topmost.value(&bar) ? "top" : "below",
             bar.blinkTimer()->isActive() ? "ticking" : "still")
        .arg(t.app().statusLight().blinkCount())
        .arg(t.app().restoreWindow().isVisible() ? "entry shown" : "no entry");
}

// Clicks the upper visible lamp, the one a click reaches.
void clickLight(BarWindow &bar, Qt::MouseButton button = Qt::LeftButton)
{
    for (auto lamp = bar.statusLights().rbegin(); lamp != bar.statusLights().rend(); ++lamp)
        if ((*lamp)->isVisible())
            return QTest::mouseClick(*lamp, button, {}, QPoint(5, 5));
}

// What happens to the status light, in order.
enum LightStep { LeftClick, RightClick, Tick, UserRestoresTheEntry, EntryTimerTicks };
} // namespace

Q_DECLARE_METATYPE(LightStep)

class TestBar : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadSettings_data()
    {
        // Defaults: 5100 4620, the desktop colour (0x80000001), white, MS Serif.
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << QByteArray() << "5100 4620 2147483649 16777215 MS Serif";
        QTest::newRow("every key, blanks, lone LF")
            << QByteArray("LF=  750 \r\nTP= 15.5\t\nBG= -2147483633\r\nTC= 254.6\r\nTF= Arial Narrow\r\n")
            << "750 15.5 2147483663 255 Arial Narrow";
        QTest::newRow("letters stop reading") << QByteArray("TP= 300\r\nLF= abc\r\nBG= 255\r\n")
                                              << "5100 300 2147483649 16777215 MS Serif";
        QTest::newRow("past 32 bits stops reading") << QByteArray("TC= 2147483648\r\nBG= 255\r\n")
                                                    << "5100 4620 2147483649 16777215 MS Serif";
    }
    void loadSettings()
    {
        QFETCH(QByteArray, file);
        TestApp t;
        if (!file.isEmpty())
            t.writeFile(kSettings, file);
        skylane::loadSettings(t.bar(), t.app().paths());
        QTEST(stateOf(t.bar()), "expected");
        QCOMPARE(t.bar().caption()->font().pointSizeF(), 6.75); // only the face comes from the file
    }

    void saveSettings()
    {
        TestApp t;
        t.writeFile(kSettings, "XX= junk\r\nTC= 255\r\n");
        t.start();
        QVERIFY(skylane::saveSettings(t.bar(), t.app().paths(), t.app().configWriter()));
        QCOMPARE(t.readFile(kSettings), "LF= 5100\r\nTP= 4620\r\nBG= -2147483647\r\nAB= Voltari Software - "
                                            + QByteArray(product::kMakerWebAddress) + "\r\nTC= 255\r\nTF= MS Serif\r\n");
        // In a locale with a decimal comma, and back.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        t.bar().moveTwips(12345.5, 100000); // a plain integer, not "1e+05"
        t.bar().setBackColor(systemColor(15));
        QVERIFY(skylane::saveSettings(t.bar(), t.app().paths(), t.app().configWriter()));
        QVERIFY(t.readFile(kSettings).startsWith("LF= 12345,5\r\nTP= 100000\r\n"));
        QCOMPARE(reloaded(t), stateOf(t.bar()));
    }

    void systemColoursFollowThePalette()
    {
        // A change of the desktop palette repaints the bar and re-colours
        // "MENU", without any saved value changing.
        TestApp t;
        t.fakes.platform->colors = std::make_unique<PaletteSystemColors>();
        BarWindow &bar = t.bar();
        bar.setBackColor(systemColor(15));
        QCOMPARE(bar.menuLabel()->text(), QString("MENU"));
        const QPalette original = QApplication::palette();
        QPalette changed = original;
        changed.setColor(QPalette::Button, QColor(10, 200, 30));
        changed.setColor(QPalette::HighlightedText, QColor(250, 5, 5));
        QApplication::setPalette(changed);
        QCoreApplication::sendPostedEvents();
        const QImage image = bar.grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(10, 200, 30));
        QCOMPARE(bar.menuLabel()->palette().color(QPalette::WindowText), QColor(250, 5, 5));
        QCOMPARE(bar.backColor(), systemColor(15));
        QApplication::setPalette(original);
    }

    void dragSavesOnceAtItsEnd_data()
    {
        QTest::addColumn<bool>("systemMove");
        QTest::newRow("window manager moves") << true;
        QTest::newRow("follows the pointer") << false;
    }

    void dragSavesOnceAtItsEnd()
    {
        QFETCH(bool, systemMove);
        TestApp t;
        const QByteArray before = "LF= 1500\r\nTP= 3000\r\n";
        t.writeFile(kSettings, before);
        t.fakes.windows->systemMoveAvailable = systemMove;
        t.start();
        BarWindow &bar = t.bar();
        const QPoint grab(4, 5);
        sendMouse(bar.dragHandle(), QEvent::MouseButtonPress, Qt::LeftButton, grab);
        for (const QPoint to : {QPoint(130, 220), QPoint(60, 230)}) {
            sendMouse(bar.dragHandle(), QEvent::MouseMove, Qt::LeftButton, grab + to - bar.pos());
            if (systemMove)
                bar.move(to); // the window manager's move
            QCOMPARE(bar.pos(), to);
            QTest::qWait(400); // a pause mid-drag saves nothing
            QCOMPARE(t.readFile(kSettings), before);
        }
        sendMouse(bar.dragHandle(), QEvent::MouseButtonRelease, Qt::NoButton, grab);
        t.fakes.windows->endSystemMove();
        QVERIFY(t.readFile(kSettings).startsWith("LF= 900\r\nTP= 3450\r\n"));
        // Released: the bar no longer follows.
        sendMouse(bar.dragHandle(), QEvent::MouseMove, Qt::NoButton, grab + QPoint(50, 50));
        QCOMPARE(bar.pos(), QPoint(60, 230));
    }

    void wideRowKeepsTheControlsOnScreen()
    {
        // Thousands of buttons at the right edge: the left end comes on screen
        // and the window is cut at the desktop's width.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        TestApp t;
        const QByteArray file = "LF= " + QByteArray::number((area.right() - 50) * 15) + "\r\nTP= 1500\r\n";
        t.writeFile(kSettings, file);
        t.writeFile("config/Inet.cfg", QByteArray("\r\n").repeated(3000));
        t.start();
        QTRY_COMPARE(t.bar().pos(), QPoint(area.right() + 1 - 97, 100));
        QCOMPARE(t.bar().width(), QGuiApplication::primaryScreen()->virtualGeometry().width());
        QCOMPARE(t.readFile(kSettings), file);
    }

    void placeOnScreens_data()
    {
        // Two screens side by side; the right one has a panel along its top.
        QTest::addColumn<QRect>("bar");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("across both screens") << QRect(1000, 100, 97, 23) << QPoint(1000, 100);
        QTest::newRow("cut by the left edge") << QRect(-96, 100, 97, 23) << QPoint(0, 100);
        QTest::newRow("monitor gone to the right") << QRect(2500, 500, 97, 23) << QPoint(1920 - 97, 500);
        QTest::newRow("above the right screen") << QRect(1200, -400, 97, 23) << QPoint(1200, 30);
    }
    void placeOnScreens()
    {
        QFETCH(QRect, bar);
        const QList<QRect> screens = {QRect(0, 0, 1024, 768), QRect(1024, 0, 896, 1080)};
        const QList<QRect> available = {QRect(0, 0, 1024, 768), QRect(1024, 30, 896, 1050)};
        QTEST(skylane::placeOnScreens(bar, screens, available), "expected");
    }

    void menuCommands_data()
    {
        // The commands in order, the colour dialog's answers, the bar's colour
        // and what a fresh bar loads from the file saved ("BG= 255" alone: nothing saved).
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QList<std::optional<QColor>>>("answers");
        QTest::addColumn<quint32>("color");
        QTest::addColumn<QString>("saved");
        using Answers = QList<std::optional<QColor>>;
        const QString unsaved = "5100 4620 255 16777215 MS Serif";
        QTest::newRow("Match Active Bar") << QStringList{"matchActiveBar"} << Answers{} << 0x80000002u << unsaved;
        QTest::newRow("Match Inactive Bar") << QStringList{"matchInactiveBar"} << Answers{} << 0x80000003u << unsaved;
        QTest::newRow("Match Borders: button face") << QStringList{"matchBorders"} << Answers{} << 0x8000000Fu << unsaved;
        QTest::newRow("Match Desktop") << QStringList{"matchDesktop"} << Answers{} << 0x80000001u << unsaved;
        QTest::newRow("background, OK") << QStringList{"chooseBackgroundColor"} << Answers{QColor(0, 0, 255)} << 0xFF0000u
                                        << "5100 4620 16711680 16777215 MS Serif";
        QTest::newRow("caption, first Cancel") << QStringList{"chooseCaptionColor"} << Answers{std::nullopt} << 255u
                                               << "5100 4620 255 0 MS Serif";
        // One dialog for both: a cancelled background takes the caption's colour.
        QTest::newRow("caption OK, then background Cancel") << QStringList{"chooseCaptionColor", "chooseBackgroundColor"}
                                                            << Answers{QColor(0, 128, 0), std::nullopt} << 0x8000u
                                                            << "5100 4620 32768 32768 MS Serif";
        // Only the face changes, not the size, weight or slant.
        QTest::newRow("font face") << QStringList{"chooseCaptionFont"} << Answers{} << 255u
                                   << "5100 4620 255 16777215 DejaVu Sans Mono";
    }
    void menuCommands()
    {
        QFETCH(QStringList, commands);
        QFETCH(QList<std::optional<QColor>>, answers);
        QFETCH(quint32, color);
        TestApp t;
        t.writeFile(kSettings, "BG= 255\r\n");
        t.start();
        BarWindow &bar = t.bar();
        t.fakes.dialogs->colorAnswers.assign(answers.begin(), answers.end());
        QFont chosen("DejaVu Sans Mono", 20);
        chosen.setItalic(true);
        t.fakes.dialogs->fontAnswers = {chosen};
        for (const QString &name : commands)
            bar.menus().mainMenu->findChild<QAction *>(name)->trigger();
        QCOMPARE(bar.backColor(), color);
        QCOMPARE(bar.grab().toImage().pixelColor(bar.width() - 2, bar.height() - 2), resolveColor(color, bar.systemColors()));
        QTEST(reloaded(t), "saved");
        const QFont font = bar.caption()->font();
        QVERIFY(font.pointSizeF() == 6.75 && font.bold() && !font.italic());
    }

    void statusLight_data()
    {
        QTest::addColumn<QList<LightStep>>("steps");
        QTest::addColumn<QString>("after");
        const QList<LightStep> twoClicks{LeftClick, LeftClick}, tenTicks(10, Tick);
        QTest::newRow("green click drops the bar") << QList{LeftClick} << "unlit, below, still, 0 blinks, entry shown";
        QTest::newRow("unlit click starts the countdown") << twoClicks << "red, below, ticking, 0 blinks, entry shown";
        QTest::newRow("a tick blinks") << twoClicks + QList{Tick} << "unlit, below, ticking, 1 blinks, entry shown";
        QTest::newRow("tenth tick") << twoClicks + tenTicks << "red, below, ticking, 10 blinks, entry shown";
        QTest::newRow("eleventh tick ends it") << twoClicks + tenTicks + QList{Tick} << "green, top, still, 0 blinks, entry shown";
        QTest::newRow("click in the unlit phase ends it") << twoClicks + QList{Tick, Tick, Tick, LeftClick}
                                                          << "green, top, still, 0 blinks, entry shown";
        QTest::newRow("right click on green") << QList{RightClick} << "green, top, still, 0 blinks, no entry";
        QTest::newRow("entry restored") << QList{LeftClick, UserRestoresTheEntry, EntryTimerTicks}
                                        << "green, below, ticking, 0 blinks, no entry";
    }
    void statusLight()
    {
        QFETCH(QList<LightStep>, steps);
        TestApp t;
        t.start();
        for (const LightStep step : steps) {
            switch (step) {
            case Tick: t.app().statusLight().onBlinkTick(); break;
            case UserRestoresTheEntry: t.app().restoreWindow().setWindowState(Qt::WindowNoState); break;
            case EntryTimerTicks: t.app().restoreWindow().restoreBar(); break;
            case LeftClick: clickLight(t.bar(), Qt::LeftButton); break;
            case RightClick: clickLight(t.bar(), Qt::RightButton); break;
            }
        }
        QTEST(lightState(t), "after");
        QVERIFY(t.bar().isVisible());
    }

    void restoreWindowAndRealTimers()
    {
        TestApp t;
        t.start();
        RestoreWindow &restore = t.app().restoreWindow();
        clickLight(t.bar());
        QVERIFY(restore.isMinimized() && !restore.restoreTimer()->isActive());
        QCOMPARE(restore.windowTitle() + ": " + restore.showLabel()->text(), QString("Ulvo's Launch Bar: Show LaunchBar"));
        restore.setWindowState(Qt::WindowNoState);
        QTRY_VERIFY_WITH_TIMEOUT(!restore.isVisible(), 20000);
        QCOMPARE(t.bar().blinkTimer()->interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(lightState(t), QString("green, top, still, 0 blinks, no entry"), 20000);
    }
};

QTEST_MAIN(TestBar)
#include "test_bar.moc"
