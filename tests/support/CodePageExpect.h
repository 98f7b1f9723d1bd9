#pragma once
// What converting Ω (U+03A9), a character code page 1252 lacks, gives on each
// build: Windows' own conversion picks its best fit "O", the Linux build's
// tables put '?'.
namespace qel::test {

#ifdef _WIN32
inline constexpr char kOmegaIn1252[] = "O";
#else
inline constexpr char kOmegaIn1252[] = "?";
#endif

}  // namespace qel::test
