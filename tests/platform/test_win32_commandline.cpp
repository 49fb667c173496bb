#include "platform/win32/CommandLine.h"

#include <QTest>

using namespace skylane::win32;

// The quoting of the Windows backend's command line, which is plain C++ and
// so runs here too.
class TestWin32CommandLine : public QObject {
    Q_OBJECT
private slots:
    void quotesThePathAlone_data();
    void quotesThePathAlone();
};

void TestWin32CommandLine::quotesThePathAlone_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("plain") << R"(C:\Windows\notepad.exe)" << R"("C:\Windows\notepad.exe")";
    QTest::newRow("spaces stay inside") << R"(C:\Program Files\My App\run.exe)"
                                        << R"("C:\Program Files\My App\run.exe")";
    QTest::newRow("shell characters are plain text") << R"(C:\a&b|c^d%PATH%;$(x).exe)"
                                                     << R"("C:\a&b|c^d%PATH%;$(x).exe")";
    QTest::newRow("leading dash") << R"(-rf.exe)" << R"("-rf.exe")";
    QTest::newRow("trailing backslash doubled") << R"(C:\dir\)" << R"("C:\dir\\")";
    QTest::newRow("two trailing backslashes") << R"(C:\dir\\)" << R"("C:\dir\\\\")";
    QTest::newRow("inner backslashes kept") << R"(\\server\share\x.exe)" << R"("\\server\share\x.exe")";
    QTest::newRow("quote cannot be passed") << R"(C:\a"b.exe)" << QString();
    QTest::newRow("NUL cannot be passed") << QString::fromUtf16(u"C:\\a\0b.exe", 10) << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestWin32CommandLine::quotesThePathAlone()
{
    QFETCH(QString, path);
    QFETCH(QString, commandLine);
    QCOMPARE(QString::fromStdWString(commandLineFor(path.toStdWString())), commandLine);
}

QTEST_APPLESS_MAIN(TestWin32CommandLine)
#include "test_win32_commandline.moc"
