// fatal_error: prints "\nERROR: " and the message, asks for ENTER (only when a
// person is at the terminal) and ends the run with exit code 1.
#include "app/fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/page_worker.h"
#include "platform/platform.h"

static thread_local bool throws_here = false;

void fatal_error_throws_on_this_thread() { throws_here = true; }

void fatal_error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string message(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) vsnprintf(&message[0], message.size() + 1, format, again);
    va_end(again);

    if (throws_here) throw fatal_error_exception{message};
    // The pages of the game before are finished first; an error they ran
    // into happened before this one and is the one reported.
    std::string earlier;
    if (page_worker::stop_for_exit(earlier)) message = earlier;

    printf("\nERROR: ");
    fwrite(message.data(), 1, message.size(), stdout);
    printf("\n\nPress ENTER to exit.");
    fflush(stdout);
    if (platform::stdin_is_terminal()) getchar();
    exit(1);
}
