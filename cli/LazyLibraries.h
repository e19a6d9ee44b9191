#pragma once
// Libraries that only some commands use (cairo for SVG, PDF and printing, SQLite for labels,
// fontconfig and FreeType for text, libjpeg, stb_image) are not loaded at start-up but on the
// first call into them: loading them (and the X11 libraries cairo needs) took more than half the
// start-up of a command that uses none of them. Every function of theirs that the tool calls is
// a stub (RIBBON_LAZY_STUB) that jumps through its slot; the slot is filled on the first call,
// from the library opened then. The build writes the stubs (LazyStubs.cmake) from the functions
// the tool's code calls, so a new call needs nothing here.

namespace ribbon::cli::lazy {

struct Symbol {
    unsigned char Library;  // index into Libraries
    const char* Name;
};

// Written by the build: the libraries by their shared object names, and the stubbed functions,
// the stub of Symbols[i] jumping through ribbon_lazy_slots[i].
extern const char* const Libraries[];
extern void* Handles[];
extern const Symbol Symbols[];

}  // namespace ribbon::cli::lazy

#if defined(__CET__)
#define RIBBON_LAZY_ENDBR "endbr64\n"
#else
#define RIBBON_LAZY_ENDBR ""
#endif

// The stub of function Name, number Index (x86-64). While its slot is empty it hands its number
// to ribbon_lazy_bind in r11, a register no call passes arguments in. Hidden, so that a library
// loaded later never binds its own calls to the stub.
// clang-format off
#define RIBBON_LAZY_STUB(Index, Name)                               \
    asm(".pushsection .text\n"                                      \
        ".globl " #Name "\n"                                        \
        ".hidden " #Name "\n"                                       \
        ".type " #Name ", @function\n"                              \
        ".p2align 4\n"                                              \
        #Name ":\n"                                                 \
        RIBBON_LAZY_ENDBR                                           \
        "movq ribbon_lazy_slots+8*" #Index "(%rip), %r11\n"         \
        "testq %r11, %r11\n"                                        \
        "jz 1f\n"                                                   \
        "jmpq *%r11\n"                                              \
        "1: movl $" #Index ", %r11d\n"                              \
        "jmp ribbon_lazy_bind\n"                                    \
        ".size " #Name ", .-" #Name "\n"                            \
        ".popsection\n");
// clang-format on
