// fatal_error: the one way a run ends on an error ("\nERROR: " message,
// "\n\nPress ENTER to exit.", exit code 1).
#pragma once
#include <string>

[[noreturn]] void fatal_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// On the page thread a fatal error cannot end the run by itself: there
// fatal_error throws this, and the run's own thread ends the run with it.
struct fatal_error_exception {
    std::string message;
};
void fatal_error_throws_on_this_thread();
