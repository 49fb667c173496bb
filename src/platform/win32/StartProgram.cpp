#include "platform/win32/StartProgram.h"

#include "platform/win32/CommandLine.h"
#include "platform/win32/WidePath.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace skylane::win32 {

bool startMinimized(const std::string &programPath, const std::vector<std::string> &arguments)
{
    const auto path = widePath(programPath);
    if (!path)
        return false;
    std::vector<std::wstring> wideArguments;
    for (const std::string &argument : arguments) {
        const auto wide = widePath(argument);
        if (!wide)
            return false;
        wideArguments.push_back(*wide);
    }
    // The path is the application name, so CreateProcess never searches for
    // or splits it; the command line tells the program its own name and
    // then its arguments.
    std::wstring commandLine = commandLineFor(*path, wideArguments);
    if (commandLine.empty())
        return false;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace skylane::win32
