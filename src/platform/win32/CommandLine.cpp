#include "platform/win32/CommandLine.h"

namespace skylane::win32 {

std::wstring commandLineFor(const std::wstring &programPath)
{
    if (programPath.empty() || programPath.find_first_of(std::wstring(L"\"\0", 2)) != std::wstring::npos)
        return {};
    std::wstring line;
    line.reserve(programPath.size() + 8);
    line += L'"';
    line += programPath;
    const std::size_t lastOther = programPath.find_last_not_of(L'\\');
    const std::size_t trailing = lastOther == std::wstring::npos ? programPath.size()
                                                                : programPath.size() - lastOther - 1;
    line.append(trailing, L'\\');
    line += L'"';
    return line;
}

std::wstring commandLineFor(const std::wstring &programPath, const std::vector<std::wstring> &arguments)
{
    std::wstring line = commandLineFor(programPath);
    for (const std::wstring &argument : arguments) {
        if (line.empty() || argument.find(L'\0') != std::wstring::npos)
            return {};
        line += L' ';
        if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
            line += argument;
            continue;
        }
        line += L'"';
        std::size_t backslashes = 0;
        for (const wchar_t c : argument) {
            if (c == L'\\') {
                ++backslashes;
                continue;
            }
            // Backslashes are literal except before a quote.
            line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
            line += c;
            backslashes = 0;
        }
        line.append(2 * backslashes, L'\\'); // before the closing quote
        line += L'"';
    }
    return line;
}

} // namespace skylane::win32
