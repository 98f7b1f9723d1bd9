// The 8-bit code page on Windows: the ANSI code page unless another is chosen.
#include <windows.h>

#include "platform/CodePage.h"

namespace qel {
namespace {

UINT current = CP_ACP;

}  // namespace

std::string WideToSystem(std::u16string_view text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(current, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(current, 0, wide, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string SystemToUtf8(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(current, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(current, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m > 0 ? m : 0), '\0');
    if (m > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), m, nullptr, nullptr);
    return out;
}

bool SelectCodePage(unsigned number) {
    CPINFO info;
    if (!GetCPInfo(number, &info) || info.MaxCharSize != 1) return false;
    current = number;
    return true;
}

char DecimalSeparator() {
    char text[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 0 && text[0]) return text[0];
    return '.';
}

}  // namespace qel
