#include "bar/BarWindow.h"
#include "shutdown/Shutdown.h"
#include "support/TestApp.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace skylane;
using namespace skylane::test;

namespace {
void press(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2)); }

// What the user does: one of the five choices (in the dialog's order), a
// push button, Enter, or a second request for the dialog.
enum Step { NormalShutdown, Reboot, LogOff, ForcedShutdown, Quit, PressOk, PressCancel, PressEnter, AskAgain };
static_assert(Quit == int(Shutdown::Choice::Quit));
} // namespace

Q_DECLARE_METATYPE(Step)

// Each test starts with the program running and the exit dialog open.
class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_t = std::make_unique<TestApp>();
        m_t->start();
        m_t->app().showExitDialog();
        m_ended.clear();
        dialog().setEndProgram([this] {
            m_ended = QString("ended with bar %1, dialog %2")
                          .arg(m_t->bar().isVisible() ? "open" : "closed", dialog().isVisible() ? "open" : "closed");
        });
    }
    void cleanup() { m_t.reset(); }

    void okAndEnter_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("outcome");
        // The dialog waits for the session to end; the bar stays.
        QTest::newRow("Reboot") << QList<Step>{Reboot, PressOk} << "dialog open, bar open, requests reboot, running";
        QTest::newRow("Log Off") << QList<Step>{LogOff, PressOk} << "dialog open, bar open, requests logoff, running";
        QTest::newRow("Forced Shutdown: a forced log-off")
            << QList<Step>{ForcedShutdown, PressOk} << "dialog open, bar open, requests forced-logoff, running";
        QTest::newRow("Enter right after opening")
            << QList<Step>{PressEnter} << "dialog open, bar open, requests shutdown, running";
        QTest::newRow("a second request keeps the choice")
            << QList<Step>{ForcedShutdown, AskAgain, PressOk} << "dialog open, bar open, requests forced-logoff, running";
        QTest::newRow("Quit closes the bar, then ends")
            << QList<Step>{Quit, PressOk} << "dialog closed, bar closed, requests none, ended with bar closed, dialog closed";
        QTest::newRow("Cancel") << QList<Step>{Quit, PressCancel} << "dialog closed, bar open, requests none, running";
        QTest::newRow("opened again: back at the first option")
            << QList<Step>{ForcedShutdown, PressCancel, AskAgain, PressEnter}
            << "dialog open, bar open, requests shutdown, running";
    }
    void okAndEnter()
    {
        QFETCH(QList<Step>, steps);
        for (const Step step : steps) {
            switch (step) {
            case PressOk: press(dialog().okButton()); break;
            case PressCancel: press(dialog().cancelButton()); break;
            case AskAgain: m_t->app().showExitDialog(); break;
            case PressEnter: QTest::keyClick(dialog().focusWidget(), Qt::Key_Return); break;
            default: press(dialog().choiceButton(Shutdown::Choice(step))); break;
            }
        }
        QTEST(outcome(), "outcome");
    }

    void textsComeFromTheCatalogue()
    {
        const MarkingTranslator marking;
        const Shutdown fresh(*m_t->fakes.session, nullptr);
        QStringList texts{fresh.windowTitle()};
        for (const QAbstractButton *button : fresh.findChildren<QAbstractButton *>())
            texts << button->text();
        QCOMPARE(texts, QStringList({"Shutdown", "Normal Shutdown", "Reboot", "Log Off", "Forced Shutdown",
                                     "Quit Sky Lane (buttons bar)", "Ok", "Cancel"})
                            .replaceInStrings(QRegularExpression("^"), "skylane::Shutdown|"));
    }

private:
    Shutdown &dialog() { return *m_t->app().exitDialog(); }
    QString outcome()
    {
        static const char *const names[] = {"shutdown", "reboot", "logoff", "forced-logoff"};
        QStringList requests;
        for (SessionRequest request : std::as_const(m_t->fakes.session->requests))
            requests << names[static_cast<int>(request)];
        return QString("dialog %1, bar %2, requests %3, %4")
            .arg(dialog().isVisible() ? "open" : "closed", m_t->bar().isVisible() ? "open" : "closed",
                 requests.isEmpty() ? "none" : requests.join(' '), m_ended.isEmpty() ? "running" : m_ended);
    }

    std::unique_ptr<TestApp> m_t;
    QString m_ended;
};

QTEST_MAIN(TestShutdown)
#include "test_shutdown.moc"
