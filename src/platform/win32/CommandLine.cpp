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

} // namespace skylane::win32
