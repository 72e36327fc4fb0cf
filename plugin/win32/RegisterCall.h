#pragma once
// The register convention of the Zorvex host on 32-bit Windows, for both
// directions: the host calling the plug-in's zx exports, and the plug-in
// calling the routines the host hands over.
//
//   - the first three 32-bit arguments travel in EAX, EDX and ECX;
//   - further arguments are pushed in left-to-right order, so the last one
//     lies nearest the return address, and the callee removes them;
//   - a truth value comes back in AL;
//   - EBX, ESI, EDI and EBP are preserved, as in every Windows convention.
//
// GCC's regparm(3) pushes stack arguments right to left and leaves them to
// the caller, so it does not fit wherever stack arguments exist; the two
// adapters below are written out in assembly instead. plugin/HostCall.h
// chooses between them and a direct call.

#include <cstdint>
#include <type_traits>

#if defined(_WIN32) && defined(__i386__)

#define VKT_REGISTER_CONVENTION 1

// Calls routine in the register convention with count 32-bit arguments
// (args holds at least three words) and returns AL, zero-extended. The call
// runs inside a structured-exception frame of its own: an exception raised
// in the routine (the host's errors travel as such) unwinds the routine's
// frames and ends the call, which then returns kRegisterCallFailed with the
// exception's code in *exceptionCode, the x87 unit reset and the direction
// flag cleared.
extern "C" std::uint32_t vktRegisterCall(const void* routine, const std::uint32_t* args, std::uint32_t count,
                                         std::uint32_t* exceptionCode);
inline constexpr std::uint32_t kRegisterCallFailed = 0x100;

// Throws the Exception that reports a host routine ended by exception code.
[[noreturn]] void ThrowHostException(std::uint32_t code);

template <typename T>
std::uint32_t RegisterWord(T value) {
  if constexpr (std::is_pointer_v<T>)
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
  else
    return static_cast<std::uint32_t>(value);
}

template <typename R, typename... P, typename... A>
bool RegisterCallBool(R (*routine)(P...), A... args) {
  static_assert(sizeof...(P) == sizeof...(A));
  const std::uint32_t words[sizeof...(A) < 3 ? 3 : sizeof...(A)] = {RegisterWord(args)...};
  std::uint32_t code = 0;
  const std::uint32_t result = vktRegisterCall(reinterpret_cast<const void*>(routine), words, sizeof...(A), &code);
  if (result & kRegisterCallFailed) ThrowHostException(code);
  return (result & 0xFF) != 0;
}

// An assembler macro that defines the exported routine `name` in the
// register convention as a stub forwarding to the C function `target` of
// `count` 32-bit arguments: the stack arguments are pushed again in C order
// (last first), then ECX, EDX, EAX; after the call the stub drops the copies
// and removes the caller's stack arguments with `ret n`. AL passes through.
// Stack offsets: on entry the last argument is at 4(%esp); every push moves
// the next one 4 further away and it lies 4 deeper, hence steps of 8.
#define VKT_REGISTER_ENTRY_MACRO                                   \
  ".macro VKT_REGISTER_ENTRY name, target, count\n"                \
  "  .text\n"                                                      \
  "  .globl _\\name\n"                                             \
  "  .def _\\name; .scl 2; .type 32; .endef\n"                     \
  "_\\name:\n"                                                     \
  "  .if \\count > 3\n"                                            \
  "    .set vkt_offset, 4\n"                                       \
  "    .rept \\count - 3\n"                                        \
  "      pushl vkt_offset(%esp)\n"                                 \
  "      .set vkt_offset, vkt_offset + 8\n"                        \
  "    .endr\n"                                                    \
  "  .endif\n"                                                     \
  "  .if \\count >= 3\n"                                           \
  "    pushl %ecx\n"                                               \
  "  .endif\n"                                                     \
  "  .if \\count >= 2\n"                                           \
  "    pushl %edx\n"                                               \
  "  .endif\n"                                                     \
  "  .if \\count >= 1\n"                                           \
  "    pushl %eax\n"                                               \
  "  .endif\n"                                                     \
  "  call _\\target\n"                                             \
  "  .if \\count > 0\n"                                            \
  "    addl $(4 * \\count), %esp\n"                                \
  "  .endif\n"                                                     \
  "  .if \\count > 3\n"                                            \
  "    ret $(4 * (\\count - 3))\n"                                 \
  "  .else\n"                                                      \
  "    ret\n"                                                      \
  "  .endif\n"                                                     \
  ".endm\n"

#endif
