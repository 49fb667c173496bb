#include "platform/Platform.h"

#include <fontconfig/fontconfig.h>

#include <thread>

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
    warmUpThread() = std::thread([] { FcInit(); });
}

void finishLibraryWarmUp()
{
    if (warmUpThread().joinable())
        warmUpThread().join();
}

} // namespace skylane
