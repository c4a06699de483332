// warn(): prints a console warning and counts it by kind.
#include "app/warnings.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/console.h"

static std::atomic<long long> counts[WARNING_KINDS];

namespace {

FILE* console = nullptr;   // the console of a quiet run; null: stdout
std::mutex quiet_lock;     // guards the two below
std::string heading;
bool line_open = false;    // the quiet console's last message ended without a line end

void print_heading_locked() {
    if (heading.empty()) return;
    fputs(heading.c_str(), console);
    heading.clear();
}

}  // namespace

void make_console_quiet() { console = platform::mute_standard_output(); }

FILE* message_console() { return console ? console : stdout; }

void set_message_heading(const std::string& text) {
    if (!console) return;
    std::lock_guard<std::mutex> hold(quiet_lock);
    heading = text;
}

void print_message_heading() {
    if (!console) return;
    std::lock_guard<std::mutex> hold(quiet_lock);
    print_heading_locked();
}

void print_message(const char* text) {
    if (!console) {
        fputs(text, stdout);
        return;
    }
    std::lock_guard<std::mutex> hold(quiet_lock);
    print_heading_locked();
    fputs(text, console);
    fflush(console);
    if (*text) line_open = text[strlen(text) - 1] != '\n';
}

void warn(warning_kind kind, const char* format, ...) {
    counts[kind]++;
    va_list args;
    va_start(args, format);
    if (!console) {
        vprintf(format, args);
        va_end(args);
        return;
    }
    char text[1024];
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    print_message(text);
}

void end_messages() {
    if (!console) return;
    std::lock_guard<std::mutex> hold(quiet_lock);
    if (line_open) fputs("\n", console);
    fflush(console);
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
        "log_charset names no known code page",
        "another user's entry in the place of a page, not replaced",
        "a log file is no regular file",
    };
    return texts[kind];
}
