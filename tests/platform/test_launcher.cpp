#include "platform/linux/DetachedProcess.h"
#include "platform/linux/LinuxProgramLauncher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace skylane;

// The launcher starts recording scripts: each writes what it was started
// with to a record file, so the test sees the process from the inside.
class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsThePathItselfWithoutArguments_data();
    void startsThePathItselfWithoutArguments();
    void whatCannotStartIsIgnored_data();
    void whatCannotStartIsIgnored();

private:
    // Writes an executable recording script at `relativePath` (raw bytes)
    // under the temporary folder; returns its full path as bytes.
    QByteArray writeRecorder(const QByteArray &relativePath);
    QByteArrayList waitForRecord();

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_root;
    QByteArray m_record;
    QString m_previousCurrent;
};

void TestLauncher::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_root = QFile::encodeName(m_dir->path());
    m_record = m_root + "/record";
    // A shell given the path would create its canaries here.
    m_previousCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestLauncher::cleanup()
{
    QDir::setCurrent(m_previousCurrent);
    // QDir cannot name files whose names are not in the locale's encoding.
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), QStringLiteral("--"), m_dir->path()});
    m_dir.reset();
}

QByteArray TestLauncher::writeRecorder(const QByteArray &relativePath)
{
    // "sh -" ends the shell's options, so a script name with a leading dash
    // is still read as the script.
    const QByteArray script = "#!/bin/sh -\n"
                              "in=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2)\n"
                              "if [ -e /proc/$$/fd/50 ]; then fd50=open; else fd50=closed; fi\n"
                              "ppid=$(sed -n 's/^PPid:[[:space:]]*//p' /proc/$$/status)\n"
                              "sid=$(sed -n 's/^NSsid:[[:space:]]*//p' /proc/$$/status)\n"
                              "{ printf '%s\\n' \"$#\" \"$$\" \"$in\" \"$out\" \"$err\" \"$fd50\" \"$ppid\" \"$sid\"\n"
                              "  printf '%s' \"$0\"; } > '" + m_record + ".tmp'\n"
                              "mv '" + m_record + ".tmp' '" + m_record + "'\n";
    const QByteArray path = m_root + '/' + relativePath;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    if (fd < 0)
        return {};
    const bool written = ::write(fd, script.constData(), size_t(script.size())) == script.size();
    ::close(fd);
    return written ? path : QByteArray();
}

QByteArrayList TestLauncher::waitForRecord()
{
    QFile record(QFile::decodeName(m_record));
    if (!QTest::qWaitFor([&] { return record.exists(); }, 20000))
        return {};
    if (!record.open(QIODevice::ReadOnly))
        return {};
    return record.readAll().split('\n');
}

// Record lines: argc, pid, stdin, stdout, stderr, fd 50, parent, session, $0.
enum RecordLine { Argc, Pid, Stdin, Stdout, Stderr, Fd50, Parent, Session, Argv0, RecordLines };

void TestLauncher::startsThePathItselfWithoutArguments_data()
{
    // `direct`: spawnDetached itself, which names the program's process.
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("relative");
    QTest::addColumn<bool>("direct");
    QTest::newRow("plain, direct") << QByteArray() << QByteArray("detached") << false << true;
    QTest::newRow("spaces in folder and name") << QByteArray("my programs") << QByteArray("record args") << false
                                               << false;
    QTest::newRow("quotes") << QByteArray("it's") << QByteArray("say \"hi\" 'there'") << false << false;
    QTest::newRow("command substitution") << QByteArray("$(touch canary)") << QByteArray("`touch canary`") << false
                                          << false;
    QTest::newRow("separators") << QByteArray("a;touch canary") << QByteArray("b && touch canary | x") << false
                                << true;
    QTest::newRow("leading dash, relative") << QByteArray() << QByteArray("-n --help") << true << false;
    QTest::newRow("not UTF-8") << QByteArray("Programme \xe9t\xe9") << QByteArray("\xff\xfe prog") << false << false;
}

void TestLauncher::startsThePathItselfWithoutArguments()
{
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, name);
    QFETCH(bool, relative);
    QFETCH(bool, direct);
    const QByteArray relativePath = folder.isEmpty() ? name : folder + '/' + name;
    if (!folder.isEmpty())
        QVERIFY(::mkdir((m_root + '/' + folder).constData(), 0755) == 0);
    const QByteArray fullPath = writeRecorder(relativePath);
    QVERIFY(!fullPath.isEmpty());
    const QByteArray launched = relative ? relativePath : fullPath;

    // A descriptor the bar holds without close-on-exec must not leak.
    const int leaky = ::open("/dev/zero", O_RDONLY);
    QVERIFY(leaky >= 0 && ::dup2(leaky, 50) == 50);
    ::close(leaky);
    pid_t pid = 0;
    if (direct)
        pid = spawnDetached(launched);
    else
        LinuxProgramLauncher().startMinimized(launched);
    ::close(50);
    // The intermediate process is already reaped, the program is not ours.
    errno = 0;
    QCOMPARE(::waitpid(-1, nullptr, WNOHANG), -1);
    QCOMPARE(errno, ECHILD);

    const QByteArrayList record = waitForRecord();
    QCOMPARE(record.size(), int(RecordLines));
    QCOMPARE(record.at(Argc), QByteArray("0"));
    QCOMPARE(record.at(Argv0), launched);
    if (direct)
        QCOMPARE(record.at(Pid).toLongLong(), qint64(pid));
    QCOMPARE(record.mid(Stdin, 4), (QByteArrayList{"/dev/null", "/dev/null", "/dev/null", "closed"}));
    QVERIFY(record.at(Parent).toLongLong() != qint64(::getpid()));
    QVERIFY(record.at(Session).toLongLong() != qint64(::getsid(0)));
    QVERIFY(!QFile::exists(QStringLiteral("canary")));
    QVERIFY(!QFile::exists(QFile::decodeName(m_root + '/' + folder + "/canary")));
}

void TestLauncher::whatCannotStartIsIgnored_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("mode"); // -1: nothing there, else a file with this mode
    QTest::newRow("blank") << QByteArray() << -1;
    QTest::newRow("missing") << QByteArray("gone") << -1;
    QTest::newRow("not executable") << QByteArray("plain.txt") << 0644;
    QTest::newRow("folder") << QByteArray(".") << -1;
    QTest::newRow("embedded NUL") << QByteArray("a\0b", 3) << -1;
}

void TestLauncher::whatCannotStartIsIgnored()
{
    QFETCH(QByteArray, path);
    QFETCH(int, mode);
    QByteArray full = path.isEmpty() ? QByteArray() : m_root + '/' + path;
    if (mode >= 0) {
        full = writeRecorder(path);
        QVERIFY(::chmod(full.constData(), mode_t(mode)) == 0);
    }
    QCOMPARE(spawnDetached(full), pid_t(-1));
    LinuxProgramLauncher().startMinimized(full);
    errno = 0;
    QCOMPARE(::waitpid(-1, nullptr, WNOHANG), -1);
    QCOMPARE(errno, ECHILD);
    QVERIFY(!QFile::exists(QFile::decodeName(m_record)));
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "test_launcher.moc"
