#include <windows.h>

#include "platform/win32/Win32Error.h"

namespace qel {

std::string LastErrorText() {
    DWORD code = GetLastError();
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                             0, text, sizeof text, nullptr);
    std::string result(text, n);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    if (result.empty()) result.assign("error ").append(std::to_string(code));
    return result;
}

}  // namespace qel
