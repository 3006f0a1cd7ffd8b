/* The start-up of a console program of the Microsoft-ABI build (the C test
   host). Microsoft's start-up code is not available from Debian; the Universal
   CRT exports what it does: the C runtime's argument vector, and exit, which
   runs the atexit functions and flushes the streams. */
#include <process.h>
#include <stdlib.h>

int main(int argc, char** argv);

/* Declared by the UCRT's own headers, which mingw-w64 does not install. */
enum { unexpandedArguments = 1 }; /* _crt_argv_unexpanded_arguments */
int __cdecl _configure_narrow_argv(int mode);
int* __cdecl __p___argc(void);
char*** __cdecl __p___argv(void);

int mainCRTStartup(void) {
    if (_configure_narrow_argv(unexpandedArguments) != 0) {
        exit(255);
    }
    exit(main(*__p___argc(), *__p___argv()));
}
