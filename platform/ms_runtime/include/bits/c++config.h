// Adjusts libstdc++'s configuration to the Microsoft-ABI build, which has no
// libstdc++ library to link.
#include_next <bits/c++config.h>

// Its common instantiations (std::string among them) are declared extern
// templates, compiled once into its library: turned off, each DLL compiles
// what it instantiates.
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0

// Its thread support would look for the POSIX threads library through weak
// references, which COFF does not express as ELF does. Without them it takes
// threads as present: reference counts are updated atomically, and no pthread
// function is referenced unless called.
#define _GLIBCXX_GTHREAD_USE_WEAK 0

// Its configuration for MinGW asks for MinGW's own printf and strtod, which
// live in MinGW's libraries; the Universal CRT's conform to C99 themselves.
#undef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 0
