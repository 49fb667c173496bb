#include "platform/Platform.h"

#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <thread>

#include <malloc.h>

namespace skylane {

namespace {
std::thread &warmUpThread()
{
    static std::thread thread;
    return thread;
}
} // namespace

// Fontconfig parses its configuration and maps its font caches on first
// use, the largest single step of a start; Qt's first measured text would
// wait for it. On a thread of its own it overlaps Qt's connection to the
// display and the loading of its platform plugin. FcInit() is safe to call
// from any thread, and a later call returns at once.
void beginLibraryWarmUp()
{
    // The application object sets the locale from the environment; set
    // here first, its setting then changes nothing while fontconfig, which
    // reads numbers through the locale, is at work.
    std::setlocale(LC_ALL, "");
#ifdef __GLIBC__
    // The program's few threads share the one heap: a heap of its own per
    // thread would keep its free pages for the life of the program.
    mallopt(M_ARENA_MAX, 1);
#endif
    warmUpThread() = std::thread([] { FcInit(); });
}

// Qt fills its font database from fontconfig's list of every installed
// font the first time text is measured. Its functions may be called from
// any thread, so this is done on the warm-up thread too, while the program
// does work that needs no fonts.
void continueLibraryWarmUp()
{
    finishLibraryWarmUp();
    warmUpThread() = std::thread([] { QFontDatabase::families(); });
}

void finishLibraryWarmUp()
{
    if (warmUpThread().joinable())
        warmUpThread().join();
}

} // namespace skylane
