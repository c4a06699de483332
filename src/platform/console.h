// The console of a quiet run: standard output goes nowhere, and the
// console it had is kept for the messages that must still be seen. Called
// once, on the run's own thread, before anything is printed.
#pragma once
#include <cstdio>

namespace platform {

// Points standard output at /dev/null and returns a stream on the console
// it had, or stdout itself when that cannot be done.
FILE* mute_standard_output();

}  // namespace platform
