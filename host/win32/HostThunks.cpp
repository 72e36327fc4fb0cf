#include "host/win32/HostThunks.h"

#include <cstdio>

extern "C" {

// What the assembly records of the last call (offsets used below).
struct TCallRecord {
  std::uint32_t espBefore;  // 0
  std::uint32_t espAfter;   // 4
  std::uint16_t cwBefore;   // 8
  std::uint16_t swBefore;   // 10
  std::uint32_t mxBefore;   // 12
  std::uint16_t cwAfter;    // 16
  std::uint16_t swAfter;    // 18
  std::uint32_t mxAfter;    // 20
};
TCallRecord zxhLast;
std::uint32_t zxhHasSse;

TAddActionProc zxhAddActionTarget;
TSetVarProc zxhSetVarTarget;
TInterfaceAccessProc zxhInterfaceAccessTarget;

std::uint32_t zxhCall(const void* routine, const std::uint32_t* args, std::uint32_t count, std::uint32_t stdcall);
void zxhAddActionEntry();
void zxhSetVarEntry();
void zxhInterfaceAccessEntry();

}  // extern "C"

// zxhCall(routine, args, count, stdcall), cdecl. ESP is taken as it is after
// the three saved registers; a balanced call returns to exactly that value.
__asm__(
    "  .text\n"
    "  .globl _zxhCall\n"
    "  .def _zxhCall; .scl 2; .type 32; .endef\n"
    "_zxhCall:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl %esp, _zxhLast\n"
    "  fnstcw _zxhLast+8\n"
    "  fnstsw _zxhLast+10\n"
    "  cmpl $0, _zxhHasSse\n"
    "  je 1f\n"
    "  stmxcsr _zxhLast+12\n"
    "1:\n"
    "  movl 12(%ebp), %esi\n"       // args
    "  movl 16(%ebp), %edi\n"       // count
    "  cmpl $0, 20(%ebp)\n"
    "  jne 4f\n"
    // register convention: args[3..] pushed first to last, then the registers
    "  movl $3, %ecx\n"
    "2:\n"
    "  cmpl %edi, %ecx\n"
    "  jae 3f\n"
    "  pushl (%esi,%ecx,4)\n"
    "  incl %ecx\n"
    "  jmp 2b\n"
    "3:\n"
    "  movl (%esi), %eax\n"
    "  movl 4(%esi), %edx\n"
    "  movl 8(%esi), %ecx\n"
    "  jmp 6f\n"
    // stdcall: last argument pushed first
    "4:\n"
    "  movl %edi, %ecx\n"
    "5:\n"
    "  testl %ecx, %ecx\n"
    "  jz 6f\n"
    "  decl %ecx\n"
    "  pushl (%esi,%ecx,4)\n"
    "  jmp 5b\n"
    "6:\n"
    "  call *8(%ebp)\n"
    "  movl %esp, _zxhLast+4\n"
    "  fnstcw _zxhLast+16\n"
    "  fnstsw _zxhLast+18\n"
    "  cmpl $0, _zxhHasSse\n"
    "  je 7f\n"
    "  stmxcsr _zxhLast+20\n"
    "7:\n"
    "  leal -12(%ebp), %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n"
    // The entries below return the truth value in AL and set every other
    // bit of EAX, as a host's compiler may leave them: only AL counts.
    // AddActionProc: number, name, description in registers; kinds,
    // numberAgain, count on the stack (count nearest the return address).
    "  .globl _zxhAddActionEntry\n"
    "  .def _zxhAddActionEntry; .scl 2; .type 32; .endef\n"
    "_zxhAddActionEntry:\n"
    "  pushl 4(%esp)\n"             // count
    "  pushl 12(%esp)\n"            // numberAgain
    "  pushl 20(%esp)\n"            // kinds
    "  pushl %ecx\n"
    "  pushl %edx\n"
    "  pushl %eax\n"
    "  call *_zxhAddActionTarget\n"
    "  orl $0xFFFFFF00, %eax\n"
    "  addl $24, %esp\n"
    "  ret $12\n"
    "  .globl _zxhSetVarEntry\n"
    "  .def _zxhSetVarEntry; .scl 2; .type 32; .endef\n"
    "_zxhSetVarEntry:\n"
    "  pushl %edx\n"
    "  pushl %eax\n"
    "  call *_zxhSetVarTarget\n"
    "  orl $0xFFFFFF00, %eax\n"
    "  addl $8, %esp\n"
    "  ret\n"
    "  .globl _zxhInterfaceAccessEntry\n"
    "  .def _zxhInterfaceAccessEntry; .scl 2; .type 32; .endef\n"
    "_zxhInterfaceAccessEntry:\n"
    "  pushl %edx\n"
    "  pushl %eax\n"
    "  call *_zxhInterfaceAccessTarget\n"
    "  orl $0xFFFFFF00, %eax\n"
    "  addl $8, %esp\n"
    "  ret\n");

namespace {

TCallReport gReport;

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*lX", digits, static_cast<unsigned long>(value));
  return text;
}

// The x87 status word is compared whole: flags, condition codes and stack
// top all come back as the host left them.
constexpr std::uint16_t kStatusCompared = 0xFFFF;

}  // namespace

std::uint32_t CheckedCall(const char* name, TConvention convention, const void* routine,
                          const std::vector<std::uint32_t>& args) {
  static const bool sse = __builtin_cpu_supports("sse");
  zxhHasSse = sse;
  std::uint32_t words[16] = {};
  const std::size_t count = args.size() < 16 ? args.size() : 16;
  for (std::size_t i = 0; i < count; ++i) words[i] = args[i];
  const std::uint32_t result =
      zxhCall(routine, words, static_cast<std::uint32_t>(count), convention == TConvention::StdCall);
  const TCallRecord r = zxhLast;
  ++gReport.calls;
  if (r.espAfter != r.espBefore)
    gReport.faults.push_back(std::string(name) + ": ESP " + Hex(r.espBefore, 8) + " before, " + Hex(r.espAfter, 8) +
                             " after the call");
  if (r.cwAfter != r.cwBefore || (r.swAfter & kStatusCompared) != (r.swBefore & kStatusCompared) ||
      (sse && r.mxAfter != r.mxBefore))
    gReport.faults.push_back(std::string(name) + ": floating-point state changed: control " + Hex(r.cwBefore, 4) +
                             " -> " + Hex(r.cwAfter, 4) + ", status " + Hex(r.swBefore, 4) + " -> " +
                             Hex(r.swAfter, 4) + ", MXCSR " + Hex(r.mxBefore, 8) + " -> " + Hex(r.mxAfter, 8));
  return result;
}

const void* AddActionEntry() { return reinterpret_cast<const void*>(&zxhAddActionEntry); }
const void* SetVarEntry() { return reinterpret_cast<const void*>(&zxhSetVarEntry); }
const void* InterfaceAccessEntry() { return reinterpret_cast<const void*>(&zxhInterfaceAccessEntry); }

void SetHostRoutines(TAddActionProc add, TSetVarProc setVar) {
  zxhAddActionTarget = add;
  zxhSetVarTarget = setVar;
}

void SetHostInterfaceAccess(TInterfaceAccessProc access) { zxhInterfaceAccessTarget = access; }

const TCallReport& CallReport() { return gReport; }
void ClearCallReport() { gReport = TCallReport{}; }
