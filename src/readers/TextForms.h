#pragma once
// The text forms of numbers and the shared text helpers of the readers.
#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// Whole numbers: decimal, "-" when negative.
std::string IntText(int64_t value);

// Real numbers in general format: up to 15 significant digits, no trailing
// zeros, exponent form below 0.0001 or from 1E15 on, the locale's separator.
std::string RealText(double value, char decimalSeparator);
std::string RealText(double value);  // with the platform's separator

// Rounds to the nearest integer, ties to even.
int64_t RoundTiesEven(double value);

// The channel text of a channel count: "Unknown" for 0, "Mono", "Stereo",
// and "Multi Channel" above two.
const char* ChannelCountText(unsigned channels);

// A division of reals whose divisor is zero is an error that leaves the analyser.
double Divide(double numerator, double denominator);

// The text before the first "/" as a signed decimal integer with leading
// blanks allowed; 0 when empty or not a number.
int32_t TrackFromText(std::string_view text);

// UTF-8 to 16-bit units with the readers' tolerant rule: decoding stops at
// the first malformed or cut sequence and keeps what came before.
std::u16string Utf8ToWide16(std::string_view text);

// Utf8ToWide16, then converted to the system's 8-bit code page.
std::string Utf8ToWide(std::string_view text);

// UTF-8 to UTF-16 by the standard's rules, for texts that newer tag formats
// declare as UTF-8: characters beyond 16 bits become surrogate pairs, a
// malformed sequence becomes U+FFFD and decoding goes on; a sequence cut by
// the end of the text (a field kept only in part) is dropped.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace qel
