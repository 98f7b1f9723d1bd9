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

std::u16string SystemToWide(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(current, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string wide(static_cast<size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0)
        MultiByteToWideChar(current, 0, text.data(), static_cast<int>(text.size()),
                            reinterpret_cast<wchar_t*>(wide.data()), n);
    return wide;
}

std::string SystemToUtf8(std::string_view text) {
    if (text.empty()) return {};
    const std::u16string wide = SystemToWide(text);
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    int m = WideCharToMultiByte(CP_UTF8, 0, units, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m > 0 ? m : 0), '\0');
    if (m > 0) WideCharToMultiByte(CP_UTF8, 0, units, length, out.data(), m, nullptr, nullptr);
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
