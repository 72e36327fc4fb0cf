#pragma once
// The x87 and SSE state as a test host sees it before and after a call.

#include <cstdint>

struct TFloatState {
  std::uint16_t control, status;
  std::uint32_t mxcsr;
};

inline TFloatState ReadFloat() {
  TFloatState s{};
  __asm__ volatile("fnstcw %0" : "=m"(s.control));
  __asm__ volatile("fnstsw %0" : "=am"(s.status));
  __asm__ volatile("stmxcsr %0" : "=m"(s.mxcsr));
  return s;
}

// Sets a host's control words, with its flags cleared.
inline void WriteFloat(std::uint16_t control, std::uint32_t mxcsr) {
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(control));
  __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
}
