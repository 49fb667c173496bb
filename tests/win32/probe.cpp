// Started by the launcher under test: writes how it was asked to show its
// window and how many arguments it got to the file SKYLANE_PROBE_OUT names.
// Given a program file, it writes there what Windows finds in it instead.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// How many icons, the sizes of IDI_ICON1, how many pixels of the large icon
// drawn on white are pure yellow, the version strings.
static void reportProgramFile(FILE *file, const wchar_t *path)
{
    std::fprintf(file, "icons %u, sizes", ExtractIconExW(path, -1, nullptr, nullptr, 0));
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (HRSRC group = FindResourceW(module, L"IDI_ICON1", MAKEINTRESOURCEW(14))) { // RT_GROUP_ICON
        // Three words, then 14 bytes for each size, the first its width (0 for 256).
        const auto *dir = static_cast<const BYTE *>(LockResource(LoadResource(module, group)));
        for (int i = 0; i < dir[4]; ++i)
            std::fprintf(file, " %d", dir[6 + 14 * i] ? dir[6 + 14 * i] : 256);
    }
    HICON large = nullptr;
    int yellow = 0;
    if (ExtractIconExW(path, 0, &large, nullptr, 1) == 1) {
        BITMAPINFO info{{sizeof info.bmiHeader, 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void *bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        PatBlt(dc, 0, 0, 32, 32, WHITENESS);
        DrawIconEx(dc, 0, 0, large, 32, 32, 0, nullptr, DI_NORMAL);
        GdiFlush();
        for (int i = 0; i < 32 * 32; ++i)
            yellow += (static_cast<const DWORD *>(bits)[i] & 0xffffff) == 0xffff00;
    }
    std::fprintf(file, ", yellow %d\n", yellow);
    std::vector<char> version(GetFileVersionInfoSizeW(path, nullptr));
    if (version.empty() || !GetFileVersionInfoW(path, 0, DWORD(version.size()), version.data()))
        return;
    for (const wchar_t *name : {L"CompanyName", L"FileDescription", L"FileVersion", L"LegalCopyright",
                                L"ProductName", L"ProductVersion"}) {
        wchar_t *value = nullptr;
        UINT length = 0;
        if (VerQueryValueW(version.data(), (L"\\StringFileInfo\\040904B0\\" + std::wstring(name)).c_str(),
                           reinterpret_cast<void **>(&value), &length))
            std::fprintf(file, "%ls=%ls\n", name, value);
    }
}

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
    int count = 0;
    wchar_t **args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count == 2)
        reportProgramFile(file, args[1]);
    else
        std::fprintf(file, "show %d, argc %d", show, argc);
    return std::fclose(file) == 0 ? 0 : 1;
}
