#include "readers/TagText.h"

namespace qel {

std::string TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsTagBlank(text[end - 1])) --end;
    return std::string(text.substr(0, end));
}

std::string_view TrimmedView(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsTagBlank(text[begin])) ++begin;
    size_t end = text.size();
    while (end > begin && IsTagBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string TrimBoth(std::string_view text) { return std::string(TrimmedView(text)); }

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace qel
