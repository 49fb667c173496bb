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
} // namespace

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
        QTest::addColumn<QString>("keys"); // options pressed, "again" a second request, then what ends it
        QTest::addColumn<QString>("outcome");
        // The dialog waits for the session to end; the bar stays.
        QTest::newRow("Reboot") << "1 ok" << "dialog open, bar open, requests reboot, running";
        QTest::newRow("Log Off") << "2 ok" << "dialog open, bar open, requests logoff, running";
        QTest::newRow("Forced Shutdown: a forced log-off") << "3 ok" << "dialog open, bar open, requests forced-logoff, running";
        QTest::newRow("Enter right after opening") << "enter" << "dialog open, bar open, requests shutdown, running";
        QTest::newRow("a second request keeps the choice") << "3 again ok"
                                                           << "dialog open, bar open, requests forced-logoff, running";
        QTest::newRow("Quit closes the bar, then ends")
            << "4 ok" << "dialog closed, bar closed, requests none, ended with bar closed, dialog closed";
        QTest::newRow("Cancel") << "4 cancel" << "dialog closed, bar open, requests none, running";
        QTest::newRow("opened again: back at the first option")
            << "3 cancel again enter" << "dialog open, bar open, requests shutdown, running";
    }
    void okAndEnter()
    {
        QFETCH(QString, keys);
        for (const QString &key : keys.split(' ')) {
            if (key == "ok")
                press(dialog().cmdOk());
            else if (key == "cancel")
                press(dialog().cmdCancel());
            else if (key == "again")
                m_t->app().showExitDialog();
            else if (key == "enter")
                QTest::keyClick(dialog().focusWidget(), Qt::Key_Return);
            else
                press(dialog().optExitOption(key.toInt()));
        }
        QTEST(outcome(), "outcome");
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
