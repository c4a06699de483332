// fatal_error: runs the fatal actions, prints "\nERROR: " and the message,
// asks for ENTER (only when a person is at the terminal) and ends the run
// with exit code 1. Also the handler for memory running out.
#include "app/fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/warnings.h"
#include "platform/platform.h"

static thread_local bool throws_here = false;

void fatal_error_throws_on_this_thread() { throws_here = true; }

namespace {

std::vector<std::pair<int, fatal_action>>& actions() {
    static std::vector<std::pair<int, fatal_action>> list;
    return list;
}
int last_handle = 0;
bool ending = false;

}  // namespace

int add_fatal_action(fatal_action action) {
    actions().emplace_back(++last_handle, std::move(action));
    return last_handle;
}

void remove_fatal_action(int handle) {
    auto& list = actions();
    for (size_t i = 0; i < list.size(); i++)
        if (list[i].first == handle) {
            list.erase(list.begin() + static_cast<long>(i));
            return;
        }
}

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
    // An action that ends in a fatal error of its own does not start the
    // actions again.
    if (!ending) {
        ending = true;
        auto& list = actions();
        for (size_t i = list.size(); i-- > 0;) {
            if (i >= list.size()) continue;   // an action removed others
            fatal_action action = list[i].second;
            action(message);
        }
    }

    FILE* console = message_console();
    print_message_heading();
    fprintf(console, "\nERROR: ");
    fwrite(message.data(), 1, message.size(), console);
    fprintf(console, "\n\nPress ENTER to exit.");
    fflush(stdout);
    fflush(console);
    if (platform::stdin_is_terminal()) getchar();
    exit(1);
}

namespace {

// Given back when memory runs out, so that the way out has some to use.
char* reserve = nullptr;
std::thread::id run_thread;

void out_of_memory() {
    delete[] reserve;
    reserve = nullptr;
    if (throws_here || std::this_thread::get_id() != run_thread || ending) throw std::bad_alloc();
    fatal_error("Out of memory");
}

}  // namespace

void end_run_when_out_of_memory() {
    run_thread = std::this_thread::get_id();
    if (!reserve) reserve = new char[256 * 1024];
    std::set_new_handler(out_of_memory);
}
