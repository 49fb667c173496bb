#include "platform/win32/StartProgram.h"

#include "platform/win32/CommandLine.h"
#include "platform/win32/WidePath.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <userenv.h>

namespace skylane::win32 {

namespace {

// The user's environment as the system builds it for a new process: the
// environment the bar was started with, brought up to date with the user's
// and the machine's variables as they stand now (a PATH changed by an
// installation since the bar started, say). Null when it cannot be built;
// the program then inherits the bar's. Freed with DestroyEnvironmentBlock.
void *userEnvironment()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE, &token))
        return nullptr;
    void *environment = nullptr;
    if (!CreateEnvironmentBlock(&environment, token, TRUE))
        environment = nullptr;
    CloseHandle(token);
    return environment;
}

} // namespace

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
    // No handle of the bar is inherited.
    void *environment = userEnvironment();
    const BOOL started = CreateProcessW(path->c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                        environment ? CREATE_UNICODE_ENVIRONMENT : 0, environment, nullptr,
                                        &startup, &process);
    if (environment)
        DestroyEnvironmentBlock(environment);
    if (!started)
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace skylane::win32
