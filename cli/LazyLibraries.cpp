// The first call of a lazily loaded library's function (LazyLibraries.h): open the library, find
// the function, fill its slot and go on into it with the caller's arguments untouched.

#if RIBBON_LAZY_LIBRARIES

#include "cli/LazyLibraries.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "base/Exceptions.h"

extern "C" {
extern void* ribbon_lazy_slots[];
void* ribbon_lazy_resolve(unsigned Index) __attribute__((visibility("hidden"), used));
}

// A library that cannot be loaded (a broken installation) raises the loader's message from the
// call that needed it, like any failed job: the caller's clean-up runs, no partial file stays.
void* ribbon_lazy_resolve(unsigned Index) {
    using namespace ribbon::cli::lazy;
    static std::mutex Lock;
    const std::lock_guard<std::mutex> hold(Lock);
    // Another thread may have bound the same function while this one waited.
    if (void* bound = __atomic_load_n(&ribbon_lazy_slots[Index], __ATOMIC_ACQUIRE)) return bound;
    const Symbol& symbol = Symbols[Index];
    const char* library = Libraries[symbol.Library];
    void*& handle = Handles[symbol.Library];
    if (!handle) handle = dlopen(library, RTLD_LAZY | RTLD_LOCAL);
    if (!handle) throw ribbon::Exception(std::string("cannot load a library: ") + dlerror());
    void* function = dlsym(handle, symbol.Name);
    if (!function)
        throw ribbon::Exception(std::string("cannot find ") + symbol.Name + " in " + library);
    __atomic_store_n(&ribbon_lazy_slots[Index], function, __ATOMIC_RELEASE);
    return function;
}

// Saves every register a call may pass arguments in (rax: the vector registers a variadic call
// uses), resolves the function numbered in r11, restores them and jumps into the function, whose
// return goes straight back to the caller. On entry the stack is 8 off a 16-byte boundary; the
// seven pushes and 128 bytes put it on one for the call. The frame is described (cfi) so that an
// exception from the resolver unwinds through it into the caller.
asm(R"(.pushsection .text
.globl ribbon_lazy_bind
.hidden ribbon_lazy_bind
.p2align 4
.type ribbon_lazy_bind, @function
ribbon_lazy_bind:
    .cfi_startproc
    pushq %rdi
    .cfi_adjust_cfa_offset 8
    pushq %rsi
    .cfi_adjust_cfa_offset 8
    pushq %rdx
    .cfi_adjust_cfa_offset 8
    pushq %rcx
    .cfi_adjust_cfa_offset 8
    pushq %r8
    .cfi_adjust_cfa_offset 8
    pushq %r9
    .cfi_adjust_cfa_offset 8
    pushq %rax
    .cfi_adjust_cfa_offset 8
    subq $128, %rsp
    .cfi_adjust_cfa_offset 128
    movdqu %xmm0, 0(%rsp)
    movdqu %xmm1, 16(%rsp)
    movdqu %xmm2, 32(%rsp)
    movdqu %xmm3, 48(%rsp)
    movdqu %xmm4, 64(%rsp)
    movdqu %xmm5, 80(%rsp)
    movdqu %xmm6, 96(%rsp)
    movdqu %xmm7, 112(%rsp)
    movl %r11d, %edi
    call ribbon_lazy_resolve
    movq %rax, %r11
    movdqu 0(%rsp), %xmm0
    movdqu 16(%rsp), %xmm1
    movdqu 32(%rsp), %xmm2
    movdqu 48(%rsp), %xmm3
    movdqu 64(%rsp), %xmm4
    movdqu 80(%rsp), %xmm5
    movdqu 96(%rsp), %xmm6
    movdqu 112(%rsp), %xmm7
    addq $128, %rsp
    .cfi_adjust_cfa_offset -128
    popq %rax
    .cfi_adjust_cfa_offset -8
    popq %r9
    .cfi_adjust_cfa_offset -8
    popq %r8
    .cfi_adjust_cfa_offset -8
    popq %rcx
    .cfi_adjust_cfa_offset -8
    popq %rdx
    .cfi_adjust_cfa_offset -8
    popq %rsi
    .cfi_adjust_cfa_offset -8
    popq %rdi
    .cfi_adjust_cfa_offset -8
    jmpq *%r11
    .cfi_endproc
.size ribbon_lazy_bind, .-ribbon_lazy_bind
.popsection
)");

#endif
