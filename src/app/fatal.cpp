// fatal_error: prints "\nERROR: " and the message, asks for ENTER (only when a
// person is at the terminal) and ends the run with exit code 1.
#include "app/fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

void fatal_error(const char* format, ...) {
    printf("\nERROR: ");
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    printf("\n\nPress ENTER to exit.");
    fflush(stdout);
    if (platform::stdin_is_terminal()) getchar();
    exit(1);
}
