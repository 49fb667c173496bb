// The native parts of the Windows backend on a real Win32 API (wine).
// Ending the session goes through recorders only: nothing here may call
// ExitWindowsEx.
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/SmallIcon.h"
#include "platform/win32/StartProgram.h"
#include "platform/win32/WidePath.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace skylane;
using namespace skylane::win32;

namespace {

int failures = 0;

void check(bool ok, const std::string &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    failures += ok ? 0 : 1;
}

std::string calls;
bool recordPrivilege()
{
    calls += "privilege ";
    return false; // a log-off goes ahead without it
}
bool recordExit(unsigned int flags)
{
    calls += "exit " + std::to_string(flags);
    return true;
}

std::string narrow(const std::wstring &wide)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string waitForProbe(const char *file)
{
    for (int i = 0; i < 600; ++i) { // up to a minute
        std::stringstream text;
        text << std::ifstream(file).rdbuf();
        if (text.str().find("argc") != std::string::npos)
            return text.str();
        Sleep(100);
    }
    return "nothing";
}

} // namespace

int main(int argc, char **argv)
{
    const SessionRequest requests[] = {SessionRequest::Shutdown, SessionRequest::Reboot, SessionRequest::LogOff,
                                       SessionRequest::ForcedLogOff};
    const char *expected[] = {"privilege exit 1", "privilege exit 2", "privilege exit 0", "privilege exit 4"};
    for (int i = 0; i < 4; ++i) {
        calls.clear();
        const bool ended = endSession(requests[i], {recordPrivilege, recordExit});
        check(ended && calls == expected[i], "request " + std::to_string(i) + " makes '" + calls + "'");
    }

    std::string bytes = "C:\\";
    for (int c = 0x20; c < 0x100; ++c)
        bytes += c == '\\' || c == '/' ? '_' : char(c);
    const auto wide = widePath(bytes);
    check(wide && narrow(*wide) == bytes, "every ANSI byte comes back from UTF-16 as it was");
    check(!widePath(std::string("C:\\a\0b", 6)), "a NUL is no path");

    bool found = false;
    HICON icon = smallIcon("C:\\windows\\system32\\notepad.exe", found);
    check(found && icon, "a system program has a small icon");
    if (icon)
        DestroyIcon(icon);
    for (const char *path : {"C:\\windows\\no such program.exe", "C:\\windows"}) {
        found = true;
        check(!smallIcon(path, found) && !found, std::string("no icon and not found: ") + path);
    }

    const std::wstring folder = programFolder();
    check(GetFileAttributesW((folder + L"\\native_test.exe").c_str()) != INVALID_FILE_ATTRIBUTES,
          "the program's folder holds the program");

    const char *probeOut = std::getenv("SKYLANE_PROBE_OUT");
    if (argc == 2 && probeOut) {
        check(startMinimized(argv[1]), "the probe starts");
        const std::string probe = waitForProbe(probeOut);
        check(probe == "show 2, argc 1", "minimized, no arguments: the probe tells " + probe);
    } else {
        check(false, "the probe's path and output file are given");
    }
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
