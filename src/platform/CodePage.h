#pragma once
// The system's 8-bit code page and the user's decimal separator.
#include <string>
#include <string_view>

namespace qel {

// 16-bit text to the 8-bit code page. Characters the code page cannot hold
// become '?' (one per 16-bit unit); on Windows the system's conversion may
// put a near match instead (best fit, for example U+2000 as a space).
std::string WideToSystem(std::u16string_view text);

// 8-bit text of the code page to 16-bit text (for modules that take wide
// names); a byte the code page leaves undefined becomes what the system makes of it.
std::u16string SystemToWide(std::string_view text);

// 8-bit text of the code page to UTF-8 (for tools that print).
std::string SystemToUtf8(std::string_view text);

// Picks the code page used from now on; false when it is not supported.
// The default is the system's (Windows: the ANSI code page; elsewhere 1252).
bool SelectCodePage(unsigned number);

// The decimal separator of the user's locale ('.' outside Windows).
char DecimalSeparator();

}  // namespace qel
