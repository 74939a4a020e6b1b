#include "abi_probe.h"

// abi_probe_call(function, self, words, count, out): pushes the words from the
// last to the first, puts self into ECX and a marker into EAX, calls, and
// stores EAX and how far ESP moved. ESP is put back from EDI (preserved by any
// conforming callee) whatever the callee did to it.
extern "C" void abi_probe_call(const void* function, void* self, const uint32_t* words, int count,
                               ProbeResult* out);

asm(R"(
    .text
    .globl _abi_probe_call
_abi_probe_call:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  16(%ebp), %esi
    movl  20(%ebp), %ecx
    movl  %esp, %edi
1:  testl %ecx, %ecx
    jz    2f
    decl  %ecx
    pushl (%esi,%ecx,4)
    jmp   1b
2:  movl  12(%ebp), %ecx
    movl  8(%ebp), %edx
    movl  $0xA5A5A5A5, %eax
    call  *%edx
    movl  24(%ebp), %edx
    movl  %eax, (%edx)
    movl  %esp, %eax
    subl  %edi, %eax
    movl  %eax, 4(%edx)
    movl  %edi, %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");

ProbeResult probe_call(const void* function, void* self, const uint32_t* words, int count)
{
    ProbeResult result{};
    abi_probe_call(function, self, words, count, &result);
    return result;
}
