// What the compiler's code expects from Microsoft's static C runtime, which is
// not available from Debian.

// Marks a binary that uses floating point; Microsoft's runtime defines it, and
// the compiler refers to it from every object that does.
extern "C" {
extern int _fltused;
int _fltused = 0;
}

// Stack probes. A function whose frame exceeds a page (4 KiB) calls __chkstk
// with the frame size in RAX before it lowers RSP: Windows grows a thread's
// stack through one guard page at a time, so the pages must be touched in
// order. This touches each page from the caller's RSP down to RSP - RAX and
// changes no register but the flags.
asm(R"(
    .text
    .globl __chkstk
    .def __chkstk
    .scl 2
    .type 32
    .endef
__chkstk:
    pushq %rcx
    pushq %rax
    leaq 24(%rsp), %rcx
1:
    cmpq $0x1000, %rax
    jb 2f
    subq $0x1000, %rcx
    testq %rcx, (%rcx)
    subq $0x1000, %rax
    jmp 1b
2:
    subq %rax, %rcx
    testq %rcx, (%rcx)
    popq %rax
    popq %rcx
    retq
)");
