// The plug-in's calls into host routines in the register convention
// (RegisterCall.h). The routine's own removal of its stack arguments is not
// trusted: ESP is put back from the frame afterwards.

#include "plugin/win32/RegisterCall.h"

#if defined(VKT_REGISTER_CONVENTION)

// vktRegisterCall(routine, args, count), cdecl.
__asm__(
    "  .text\n"
    "  .globl _vktRegisterCall\n"
    "  .def _vktRegisterCall; .scl 2; .type 32; .endef\n"
    "_vktRegisterCall:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 12(%ebp), %esi\n"      // args
    "  movl 16(%ebp), %edi\n"      // count
    "  movl $3, %ecx\n"            // stack arguments: args[3] first, the last one nearest the return address
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
    "  leal -8(%ebp), %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebp\n"
    "  ret\n");

#endif
