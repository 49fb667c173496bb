// Builds the row of a category of 100 real programs again and again, with
// desktop entries naming half of them, and reports the median time of a
// build after the first and how much the process grew over 10,000 builds.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_buildbar [builds]

#include "SkyLaneApp.h"
#include "bar/BarWindow.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategoryStore.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/TextFile.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxProgramIcons.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

using namespace skylane;

namespace {

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

long heapKiB()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks / 1024);
}

// The first 100 programs of /usr/bin (regular executable files, links
// followed), in name order.
QList<QByteArray> realPrograms()
{
    QList<QByteArray> programs;
    const QFileInfoList entries =
        QDir(QStringLiteral("/usr/bin")).entryInfoList(QDir::Files | QDir::Executable, QDir::Name);
    for (const QFileInfo &info : entries) {
        if (programs.size() == 100)
            break;
        if (info.isFile())
            programs << QFile::encodeName(info.filePath());
    }
    return programs;
}

// A desktop entry for every other program, with icons the installed theme
// has, so that both ways to an icon (desktop entry, file type) are taken.
const char *const kEntryIcons[] = {"utilities-terminal", "accessories-text-editor", "system-run",
                                   "web-browser", "applications-games", "audio-x-generic"};

void writeDesktopEntries(const QString &folder, const QList<QByteArray> &programs)
{
    QDir().mkpath(folder);
    for (qsizetype i = 0; i < programs.size(); i += 2) {
        QFile file(folder + QStringLiteral("/bench-%1.desktop").arg(i));
        if (!file.open(QIODevice::WriteOnly))
            continue;
        file.write("[Desktop Entry]\nType=Application\nName=Bench " + QByteArray::number(i) + "\nExec="
                   + programs.at(i) + " %U\nIcon=" + kEntryIcons[(i / 2) % std::size(kEntryIcons)] + "\n");
    }
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int builds = argc > 1 ? std::max(2, atoi(argv[1])) : 10000;

    QTemporaryDir appFolder;
    QTemporaryDir dataHome;
    const QList<QByteArray> programs = realPrograms();
    writeDesktopEntries(dataHome.path() + QStringLiteral("/applications"), programs);
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    // The offscreen platform names no icon theme; take the installed one as
    // a desktop session would.
    QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
    adoptInstalledIconTheme();

    QDir(appFolder.path()).mkpath(QStringLiteral("config"));
    if (!textfile::writeLines(QFile::encodeName(appFolder.path()) + "/config/Inet.cfg", programs)) {
        QTextStream(stderr) << "cannot write the category file in " << appFolder.path() << '\n';
        return 1;
    }
    QFile::copy(QStringLiteral(SKYLANE_SOURCE_DIR "/resources/config/1.2.jpg"),
                appFolder.path() + QStringLiteral("/config/1.2.jpg"));

    auto platform = createNativePlatform();
    ProgramIcons &icons = *platform->icons;
    const AppPaths paths(QFile::encodeName(appFolder.path()));
    BarModel model;
    BarWindow bar(model, *platform->colors, *platform->dialogs);
    ConfigWriter writer;
    ButtonRow row(bar, model, paths, icons);
    CategoryStore store(model, paths, writer);

    QElapsedTimer timer;
    timer.start();
    store.load();
    const double firstMs = timer.nsecsElapsed() / 1e6;
    QApplication::processEvents();

    int withEntryIcon = 0;
    int withThemeIcon = 0;
    for (ProgramButton *button : row.buttons()) {
        const QString name = button->icon().name();
        withThemeIcon += !name.isEmpty();
        withEntryIcon += std::any_of(std::begin(kEntryIcons), std::end(kEntryIcons),
                                     [&name](const char *icon) { return name == QLatin1String(icon); });
    }

    QList<double> times;
    times.reserve(builds);
    long rssAfterWarmUp = 0;
    long heapAfterWarmUp = 0;
    constexpr int kWarmUp = 100;
    for (int i = 0; i < builds; ++i) {
        timer.restart();
        store.load();
        times << timer.nsecsElapsed() / 1e6;
        // Each build answers an event; let the loop run between them.
        QApplication::processEvents();
        if (i + 1 == kWarmUp) {
            rssAfterWarmUp = residentKiB();
            heapAfterWarmUp = heapKiB();
        }
    }
    const long rssEnd = residentKiB();
    const long heapEnd = heapKiB();

    QTextStream out(stdout);
    out << "programs in the row:        " << model.count() << " (" << withThemeIcon
        << " with a theme icon, " << withEntryIcon << " with an icon named by a desktop entry)\n";
    out << "first build:                " << QString::number(firstMs, 'f', 2) << " ms\n";
    out << "median build after first:   " << QString::number(median(times), 'f', 3) << " ms over "
        << builds << " builds\n";
    out << "slowest build after first:  " << QString::number(*std::max_element(times.begin(), times.end()), 'f', 2)
        << " ms\n";
    out << "RSS growth after warm-up:   " << (rssEnd - rssAfterWarmUp) << " KiB (" << rssAfterWarmUp << " -> "
        << rssEnd << " KiB, builds " << kWarmUp << " to " << builds << ")\n";
    out << "heap in use growth:         " << (heapEnd - heapAfterWarmUp) << " KiB\n";
    out << "widgets left in the bar:    " << bar.findChildren<ProgramButton *>().size() << " buttons\n";
    return 0;
}
