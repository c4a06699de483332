// fatal_error: the one way a run ends on an error ("\nERROR: " message,
// "\n\nPress ENTER to exit.", exit code 1).
#pragma once

[[noreturn]] void fatal_error(const char* format, ...) __attribute__((format(printf, 1, 2)));
