// warn(): prints a console warning and counts it by kind.
#include "app/warnings.h"

#include <atomic>
#include <cstdarg>
#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/console.h"

static std::atomic<long long> counts[WARNING_KINDS];

namespace {

FILE* console = nullptr;   // null: stdout
std::mutex heading_lock;
std::string heading;
bool line_open = false;   // the last warning on the quiet console ended without a line end

}  // namespace

void make_console_quiet() { console = platform::mute_standard_output(); }

FILE* message_console() { return console ? console : stdout; }

void set_message_heading(const std::string& text) {
    std::lock_guard<std::mutex> hold(heading_lock);
    heading = console ? text : std::string();
}

void print_message_heading() {
    std::lock_guard<std::mutex> hold(heading_lock);
    if (heading.empty()) return;
    fputs(heading.c_str(), message_console());
    heading.clear();
}

void warn(warning_kind kind, const char* format, ...) {
    counts[kind]++;
    print_message_heading();
    va_list args;
    va_start(args, format);
    if (!console) {
        vprintf(format, args);
        va_end(args);
        return;
    }
    char text[1024];
    const int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fputs(text, console);
    fflush(console);
    if (n > 0) line_open = text[std::min<size_t>(static_cast<size_t>(n), sizeof text - 1) - 1] != '\n';
}

void end_messages() {
    if (!console) return;
    if (line_open) fputs("\n", console);
    fflush(console);
}

long long warning_count(warning_kind kind) { return counts[kind].load(); }

const char* warning_description(warning_kind kind) {
    static const char* const texts[WARNING_KINDS] = {
        "games per file below 1 refused",
        "no log file matches a specification",
        "no game listed from a log file",
        "weapon id beyond the table, reset to 0",
        "client number of an item line beyond the table",
        "a log specification names a folder",
        "game dropped: more than 511 clients",
        "a log file is no regular file",
    };
    return texts[kind];
}
