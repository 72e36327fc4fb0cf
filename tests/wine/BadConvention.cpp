// A plug-in that breaks the calling convention on purpose, for the self-test
// of zxhost's thunks: zxRegisterPlugIn leaves its stack argument behind and
// zxExecAction returns with the x87 control word changed. The thunks must
// report both calls and the host must live on.

__asm__(
    "  .text\n"
    "  .globl _zxRegisterPlugIn, _zxInitPlugIn, _zxRegisterScriptProcessor, _zxRegisterInterfaceAccess\n"
    "  .globl _zxMessage, _zxExecAction, _zxEditAction, _zxAbout\n"
    "_zxRegisterPlugIn:\n"
    "  ret\n"  // should be ret $4
    "_zxInitPlugIn:\n"
    "  ret $4\n"
    "_zxRegisterScriptProcessor:\n"
    "_zxRegisterInterfaceAccess:\n"
    "_zxMessage:\n"
    "_zxAbout:\n"
    "  ret\n"
    "_zxExecAction:\n"
    "  subl $4, %esp\n"
    "  movw $0x037F, (%esp)\n"
    "  fldcw (%esp)\n"
    "  addl $4, %esp\n"
    "  movb $1, %al\n"
    "  ret\n"
    "_zxEditAction:\n"
    "  xorl %eax, %eax\n"
    "  ret\n");
