// fatal_error: the one way a run ends on an error ("\nERROR: " message,
// "\n\nPress ENTER to exit.", exit code 1), and the actions it takes first.
#pragma once
#include <functional>
#include <string>

[[noreturn]] void fatal_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// On the page thread a fatal error cannot end the run by itself: there
// fatal_error throws this, and the run's own thread ends the run with it.
struct fatal_error_exception {
    std::string message;
};
void fatal_error_throws_on_this_thread();

// What fatal_error does before the message is printed, the action added last
// first: stopping the page thread, removing pages not yet published. An
// action may replace the message (with an error that came before it).
// Actions are added, removed and run on the run's own thread.
using fatal_action = std::function<void(std::string& message)>;
int add_fatal_action(fatal_action action);   // a handle for remove_fatal_action
void remove_fatal_action(int handle);

// From here on, running out of memory ends the run with "Out of memory":
// at once on the run's own thread; other threads get std::bad_alloc, which
// they hand to the run's thread.
void end_run_when_out_of_memory();
