#include "readers/TextForms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

#include "platform/CodePage.h"

namespace qel {

std::string IntText(int64_t value) { return std::to_string(value); }

std::string RealText(double value, char decimalSeparator) {
    if (value == 0 || !std::isfinite(value)) {
        if (std::isnan(value)) return "NAN";
        if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
        return "0";
    }
    // 15 significant digits: [-]d.dddddddddddddde±X
    char scientific[40];
    const char* const last = std::to_chars(scientific, scientific + sizeof scientific, value,
                                           std::chars_format::scientific, 14).ptr;
    const bool negative = scientific[0] == '-';
    const char* mantissa = scientific + (negative ? 1 : 0);
    const char* e = std::find(mantissa, last, 'e');
    int exponent = 0;
    for (const char* q = e + 2; q < last; ++q) exponent = exponent * 10 + (*q - '0');
    if (e[1] == '-') exponent = -exponent;
    char digits[16];
    size_t count = 0;
    digits[count++] = mantissa[0];
    for (const char* q = mantissa + 2; q < e; ++q) digits[count++] = *q;
    while (count > 1 && digits[count - 1] == '0') --count;

    char out[48];
    size_t n = 0;
    auto put = [&](char c) { out[n++] = c; };
    auto putDigits = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) put(digits[i]);
    };
    if (negative) put('-');
    if (exponent < -4 || exponent >= 15) {
        // Scientific: 9E-5, 1.5E-6, 1E15.
        put(digits[0]);
        if (count > 1) {
            put(decimalSeparator);
            putDigits(1, count);
        }
        put('E');
        if (exponent < 0) put('-');
        n = static_cast<size_t>(std::to_chars(out + n, out + sizeof out, std::abs(exponent)).ptr - out);
    } else if (exponent < 0) {
        put('0');
        put(decimalSeparator);
        for (int i = -1; i > exponent; --i) put('0');
        putDigits(0, count);
    } else {
        const auto integral = static_cast<size_t>(exponent) + 1;
        putDigits(0, std::min(count, integral));
        for (size_t i = count; i < integral; ++i) put('0');
        if (count > integral) {
            put(decimalSeparator);
            putDigits(integral, count);
        }
    }
    return std::string(out, n);
}

std::string RealText(double value) { return RealText(value, DecimalSeparator()); }

int64_t RoundTiesEven(double value) { return static_cast<int64_t>(std::nearbyint(value)); }

const char* ChannelCountText(unsigned channels) {
    static const char* const kTexts[] = {"Unknown", "Mono", "Stereo"};
    return channels < std::size(kTexts) ? kTexts[channels] : "Multi Channel";
}

double Divide(double numerator, double denominator) {
    if (denominator == 0) throw std::domain_error("floating-point division by zero");
    return numerator / denominator;
}

int32_t TrackFromText(std::string_view text) {
    size_t slash = text.find('/');
    if (slash != std::string_view::npos) text = text.substr(0, slash);
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return 0;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return 0;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return 0;
    return static_cast<int32_t>(value);
}

std::u16string Utf8ToWide16(std::string_view text) {
    std::u16string out(text.size(), u'\0');  // never more units than bytes
    size_t count = 0;
    size_t i = 0;
    const size_t n = text.size();
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < n) {
        unsigned c = byte(i++);
        if (c < 0x80) {
            out[count++] = static_cast<char16_t>(c);
            continue;
        }
        if (i >= n) break;
        unsigned w = c & 0x3F;
        if (c & 0x20) {
            w = c & 0x1F;
            if ((byte(i) & 0xC0) != 0x80) break;
            w = (w << 6) | (byte(i++) & 0x3F);
            if (i >= n) break;
        }
        if ((byte(i) & 0xC0) != 0x80) break;
        out[count++] = static_cast<char16_t>(((w << 6) | (byte(i++) & 0x3F)) & 0xFFFF);
    }
    out.resize(count);
    return out;
}

std::string Utf8ToWide(std::string_view text) { return WideToSystem(Utf8ToWide16(text)); }

std::u16string Utf8ToUtf16(std::string_view text) {
    // Per lead byte: how many continuation bytes follow and the range the
    // first of them must lie in (which rules out overlong forms, surrogates
    // and values past U+10FFFF).
    struct Lead {
        unsigned char first, last;  // lead bytes this row covers
        unsigned length;            // continuation bytes
        unsigned char low, high;    // range of the first continuation byte
    };
    static constexpr Lead kLeads[] = {
        {0xC2, 0xDF, 1, 0x80, 0xBF}, {0xE0, 0xE0, 2, 0xA0, 0xBF}, {0xE1, 0xEC, 2, 0x80, 0xBF},
        {0xED, 0xED, 2, 0x80, 0x9F}, {0xEE, 0xEF, 2, 0x80, 0xBF}, {0xF0, 0xF0, 3, 0x90, 0xBF},
        {0xF1, 0xF3, 3, 0x80, 0xBF}, {0xF4, 0xF4, 3, 0x80, 0x8F},
    };
    std::u16string out;
    out.reserve(text.size());
    const size_t n = text.size();
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    for (size_t i = 0; i < n;) {
        const unsigned char c = byte(i);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        const Lead* lead = nullptr;
        for (const Lead& row : kLeads)
            if (c >= row.first && c <= row.last) lead = &row;
        if (!lead) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        size_t good = 0;  // continuation bytes that fit
        char32_t value = c & (0x3F >> lead->length);
        while (good < lead->length && i + 1 + good < n) {
            const unsigned char next = byte(i + 1 + good);
            const bool fits = good == 0 ? next >= lead->low && next <= lead->high : (next & 0xC0) == 0x80;
            if (!fits) break;
            value = (value << 6) | (next & 0x3F);
            ++good;
        }
        if (good < lead->length && i + 1 + good == n) break;  // cut by the end of the text
        i += 1 + good;
        if (good < lead->length) {
            out.push_back(u'\uFFFD');
        } else if (value >= 0x10000) {
            value -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(value));
        }
    }
    return out;
}

}  // namespace qel
