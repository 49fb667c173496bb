// Started by the launcher under test: writes how it was asked to show its
// window and how many arguments it got to the file SKYLANE_PROBE_OUT names.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const char *out = std::getenv("SKYLANE_PROBE_OUT");
    FILE *file = out ? std::fopen(out, "w") : nullptr;
    if (!file)
        return 1;
    std::fprintf(file, "show %d, argc %d", show, argc);
    return std::fclose(file) == 0 ? 0 : 1;
}
