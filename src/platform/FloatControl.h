#pragma once
// The floating-point control settings of the calling thread (x87 control
// word and SSE control/status register), to keep them across code that may
// change them.
#include <cstdint>

namespace qel {

struct FloatControl {
    uint16_t x87 = 0;
    uint32_t sse = 0;
    bool operator==(const FloatControl&) const = default;
};

inline FloatControl SaveFloatControl() {
    FloatControl c;
#if defined(__i386__) || defined(__x86_64__)
    __asm__ __volatile__("fnstcw %0" : "=m"(c.x87));
    __asm__ __volatile__("stmxcsr %0" : "=m"(c.sse));
#endif
    return c;
}

inline void RestoreFloatControl(const FloatControl& c) {
#if defined(__i386__) || defined(__x86_64__)
    __asm__ __volatile__("fclex\n\tfldcw %0" : : "m"(c.x87));
    __asm__ __volatile__("ldmxcsr %0" : : "m"(c.sse));
#else
    (void)c;
#endif
}

}  // namespace qel
