#include "readers/TextForms.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
    // 15 significant digits: d.dddddddddddddde±X
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string s(buf, written.ptr);
    bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    size_t e = s.find('e');
    int exponent = std::atoi(s.c_str() + e + 1);
    std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        // Scientific: 9E-5, 1.5E-6, 1E15.
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += digits.substr(1);
        }
        out += 'E';
        if (exponent < 0) out += '-';
        out += std::to_string(std::abs(exponent));
        return out;
    }
    if (exponent < 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    size_t integral = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integral) {
        out += digits;
        out.append(integral - digits.size(), '0');
    } else {
        out += digits.substr(0, integral);
        out += decimalSeparator;
        out += digits.substr(integral);
    }
    return out;
}

std::string RealText(double value) { return RealText(value, DecimalSeparator()); }

int64_t RoundTiesEven(double value) { return static_cast<int64_t>(std::nearbyint(value)); }

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
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < n) {
        unsigned c = byte(i++);
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
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
        out += static_cast<char16_t>(((w << 6) | (byte(i++) & 0x3F)) & 0xFFFF);
    }
    return out;
}

std::string Utf8ToWide(std::string_view text) { return WideToSystem(Utf8ToWide16(text)); }

}  // namespace qel
