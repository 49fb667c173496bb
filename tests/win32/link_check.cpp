// Links every function of the Windows backend into one program, so a
// missing definition or system library shows at build time. It is never
// run: nothing here may end a session.

#include "platform/win32/CommandLine.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/SmallIcon.h"
#include "platform/win32/StartProgram.h"
#include "platform/win32/SystemColors.h"
#include "platform/win32/WidePath.h"

int main(int argc, char **argv)
{
    using namespace skylane::win32;
    if (argc != 42) // never true when run by hand
        return 0;
    bool found = false;
    const std::string path = argv[1];
    int used = static_cast<int>(commandLineFor(L"C:\\x.exe").size()) + static_cast<int>(systemColor(15))
               + (hasSystemColor(1) ? 1 : 0) + (widePath(path) ? 1 : 0) + (smallIcon(path, found) ? 1 : 0)
               + (startMinimized(path) ? 1 : 0) + (enableShutdownPrivilege() ? 1 : 0);
    if (argc == 43)
        used += endSession(0) ? 1 : 0;
    return used;
}
