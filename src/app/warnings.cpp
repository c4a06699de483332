// warn(): prints a console warning and counts it by kind.
#include "app/warnings.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

static std::atomic<long long> counts[WARNING_KINDS];

void warn(warning_kind kind, const char* format, ...) {
    counts[kind]++;
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
}

long long warning_count(warning_kind kind) { return counts[kind].load(); }

const char* warning_description(warning_kind kind) {
    static const char* const texts[WARNING_KINDS] = {
        "games per file below 1 refused",
        "no log file matches a specification",
        "no game listed from a log file",
        "client number of an item line beyond the table",
        "a log specification names a folder",
        "game dropped: more than 511 clients",
    };
    return texts[kind];
}
