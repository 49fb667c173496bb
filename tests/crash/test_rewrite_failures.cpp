#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "buttons/CategoryFile.h"
#include "platform/TextFile.h"
#include "support/TestApp.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

using namespace skylane;
using namespace skylane::test;

namespace {

// A small tmpfs mounted over a folder for the life of the object; it is
// always unmounted again, whatever the test does in between.
class TmpfsMount {
public:
    explicit TmpfsMount(const QString &folder)
        : m_folder(QFile::encodeName(folder)), m_mounted(mountWith(0)),
          m_error(m_mounted ? QString() : QString::fromLocal8Bit(std::strerror(errno)))
    {
    }
    ~TmpfsMount()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    const QString &error() const { return m_error; }
    bool setReadOnly(bool readOnly) const { return mountWith(MS_REMOUNT | (readOnly ? MS_RDONLY : 0)); }

private:
    bool mountWith(unsigned long flags) const
    {
        return ::mount("tmpfs", m_folder.constData(), "tmpfs", flags | MS_NOSUID | MS_NODEV, "size=64k,mode=0755") == 0;
    }

    QByteArray m_folder;
    bool m_mounted;
    QString m_error;
};

// Fills the file system of `path` until a write fails for want of space.
bool fillUp(const QString &path)
{
    QFile filler(path);
    const QByteArray chunk(1024 * 1024, 'x'); // more than the file system holds
    return filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && filler.write(chunk) != chunk.size();
}

const QList<QByteArray> kOldPaths{"/usr/bin/xterm", "", "/opt/Old Tool/run"};

} // namespace

// A rewrite that cannot land (no space left, a folder that refuses writes)
// leaves the old files whole and the bar running; once the folder takes
// writes again, the next save goes through.
class TestRewriteFailures : public QObject {
    Q_OBJECT
private slots:
    void oldFilesStayWhole_data();
    void oldFilesStayWhole();
};

void TestRewriteFailures::oldFilesStayWhole_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("full file system") << true;
    QTest::newRow("read-only folder") << false;
}

void TestRewriteFailures::oldFilesStayWhole()
{
    QFETCH(bool, fullDisk);
    if (geteuid() != 0)
        QSKIP("needs root to mount a small tmpfs over the config folder");
    TestApp t;
    const TmpfsMount mount(t.path("config"));
    if (!mount.mounted())
        QSKIP(qPrintable("cannot mount a tmpfs here: " + mount.error()));

    const AppPaths &paths = t.app().paths();
    QVERIFY(textfile::writeLines(paths.settingsFile(), formatSettings({750, 300, 255, 0xFFFFFF, "MS Serif"})));
    QVERIFY(textfile::writeLines(paths.categoryFile("Inet"), kOldPaths));
    const QByteArray oldSettings = t.readFile("config/prg.cfg");
    const QByteArray oldCategory = t.readFile("config/Inet.cfg");

    t.start();
    BarWindow &bar = t.bar();
    QCOMPARE(bar.leftTwips(), 750.0);
    bar.Label1()->setText("Inet");
    setButtonCount(bar, 2);
    bar.loadCommand2(2);
    bar.Command2(1)->setProgramPath("/usr/bin/new-one");
    bar.Command2(2)->setProgramPath("/usr/bin/new-two");
    bar.moveTwips(1500, 1500);

    if (fullDisk)
        QVERIFY(fillUp(t.path("config/filler")));
    else
        QVERIFY(mount.setReadOnly(true));

    QVERIFY(!SaveSettings(bar, paths));
    QVERIFY(!rewriteCategoryFile(bar, paths));
    QCOMPARE(t.readFile("config/prg.cfg"), oldSettings);
    QCOMPARE(t.readFile("config/Inet.cfg"), oldCategory);
    // No temporary copies left; the marker comes from the start.
    const QStringList files = QDir(t.path("config")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QCOMPARE(files, fullDisk ? QStringList({"Inet.cfg", "filler", "prg.cfg", "runs.cfg"})
                             : QStringList({"Inet.cfg", "prg.cfg", "runs.cfg"}));

    // The bar goes on as before and reads its old settings unharmed.
    QVERIFY(bar.isVisible());
    QCOMPARE(bar.leftTwips(), 1500.0);
    LoadSettings(bar, paths);
    QCOMPARE(bar.leftTwips(), 750.0);
    QCOMPARE(readCategoryFile(bar, paths).value(), kOldPaths);

    // Room again: the next rewrite lands.
    if (fullDisk)
        QVERIFY(QFile::remove(t.path("config/filler")));
    else
        QVERIFY(mount.setReadOnly(false));
    bar.moveTwips(1500, 1500);
    QVERIFY(SaveSettings(bar, paths));
    QVERIFY(rewriteCategoryFile(bar, paths));
    QCOMPARE(parseSettings(textfile::readLines(paths.settingsFile()).value()).left, 1500.0f);
    QCOMPARE(readCategoryFile(bar, paths).value(), (QList<QByteArray>{"/usr/bin/new-one", "/usr/bin/new-two"}));
}

QTEST_MAIN(TestRewriteFailures)
#include "test_rewrite_failures.moc"
