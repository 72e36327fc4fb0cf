// The plug-in's calls into host routines in the register convention
// (RegisterCall.h). The routine's own removal of its stack arguments is not
// trusted: ESP is put back from the frame afterwards.
//
// Each call is wrapped in a structured-exception frame: a registration record
// on the stack, linked into the thread's chain at FS:[0]. The DLL's C++
// exceptions are table-driven and never see structured exceptions, so
// without this frame an exception raised by the host inside its routine
// would run straight through the plug-in, past every destructor and the
// floating-point guard, back into the host.

#include "plugin/win32/RegisterCall.h"

#if defined(VKT_REGISTER_CONVENTION)

#include <windows.h>

#include <cstdio>

#include "runtime/Exception.h"

extern "C" {

EXCEPTION_DISPOSITION vktHostCallHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context, void* dispatcher);
[[noreturn]] void vktHostCallResume(void* frame, std::uint32_t code);

}  // extern "C"

// vktRegisterCall(routine, args, count, exceptionCode), cdecl.
//
// Frame: EBP, then EBX, ESI, EDI saved at -4..-12, then the registration
// record at -24: next record, handler, and this frame's EBP for the way back.
__asm__(
    "  .text\n"
    "  .globl _vktRegisterCall\n"
    "  .def _vktRegisterCall; .scl 2; .type 32; .endef\n"
    "_vktRegisterCall:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  pushl %ebp\n"                   // record: EBP of this frame
    "  pushl $_vktHostCallHandler\n"   // record: handler
    "  pushl %fs:0\n"                  // record: next
    "  movl %esp, %fs:0\n"
    "  movl 12(%ebp), %esi\n"          // args
    "  movl 16(%ebp), %edi\n"          // count
    "  movl $3, %ecx\n"                // stack arguments: args[3] first, the last one nearest the return address
    "1:\n"
    "  cmpl %edi, %ecx\n"
    "  jae 2f\n"
    "  pushl (%esi,%ecx,4)\n"
    "  incl %ecx\n"
    "  jmp 1b\n"
    "2:\n"
    "  movl (%esi), %eax\n"
    "  movl 4(%esi), %edx\n"
    "  movl 8(%esi), %ecx\n"
    "  call *8(%ebp)\n"
    "  movzbl %al, %eax\n"
    "vkt_register_call_leave:\n"
    "  movl -24(%ebp), %ecx\n"         // unlink the record
    "  movl %ecx, %fs:0\n"
    "  leal -12(%ebp), %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n"
    // vktHostCallResume(frame, code): back into vktRegisterCall's frame after
    // the routine's frames were unwound; never returns to its caller.
    "  .globl _vktHostCallResume\n"
    "  .def _vktHostCallResume; .scl 2; .type 32; .endef\n"
    "_vktHostCallResume:\n"
    "  movl 8(%esp), %eax\n"           // code
    "  movl 4(%esp), %esp\n"           // the registration record
    "  movl 8(%esp), %ebp\n"
    "  cld\n"
    "  fninit\n"                       // whatever the routine left on the x87 stack
    "  movl 20(%ebp), %ecx\n"          // exceptionCode
    "  movl %eax, (%ecx)\n"
    "  movl $0x100, %eax\n"            // kRegisterCallFailed
    "  jmp vkt_register_call_leave\n");

// Called by the system for every exception raised while a host routine runs
// (and again, flagged as unwinding, when an outer handler unwinds past us,
// which cannot happen for an exception we take). Every exception is taken:
// the frames between the raise and our record are unwound, so that the
// host's own clean-up handlers run, and the call ends with the code.
EXCEPTION_DISPOSITION vktHostCallHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  RtlUnwind(frame, nullptr, record, nullptr);
  vktHostCallResume(frame, record->ExceptionCode);
}

void ThrowHostException(std::uint32_t code) {
  char message[64];
  std::snprintf(message, sizeof message, "Host routine ended by exception %08lX.", static_cast<unsigned long>(code));
  throw Exception(message);
}

#endif
