// outfile: raw-byte output files. Opening, writing and closing are checked: a
// file that cannot be opened or written ends the run, so a full disk never
// ends in a run that reports success.
#include "app/outfile.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "app/fatal.h"
#include "app/page_staging.h"

namespace {
std::atomic<outfile::space_waiter> waiter{nullptr};
std::atomic<void*> waiter_context{nullptr};

bool disk_full(int error) { return error == ENOSPC || error == EDQUOT; }

// Waits for room, when something may make room: true when the call is worth
// trying again.
bool wait_for_space() {
    const outfile::space_waiter w = waiter.load();
    if (!w) return false;
    w(waiter_context.load());
    return true;
}
}  // namespace

void outfile::set_space_waiter(space_waiter w, void* context) {
    waiter_context = context;
    waiter = w;
}

outfile::outfile() {}

// Every file is closed by close(), which reports a lost write. A file still
// open here is left behind by an error on the page thread, while the run is
// ending: its bytes are written as far as they go, and nothing is reported.
outfile::~outfile() {
    if (fd < 0) return;
    if (used > 0) write_all(buffer.get(), used);
    ::close(fd);
}

void outfile::open(const char* path, const char* shown) {
    if (!open_mode(path, shown, false)) fatal_error("Couldn't open %s", shown ? shown : path);
}

void outfile::open_append(const char* path, const char* shown) {
    if (!open_mode(path, shown, true)) fatal_error("Couldn't open %s", shown ? shown : path);
}

bool outfile::try_open(const char* path, const char* shown) { return open_mode(path, shown, false); }

bool outfile::open_mode(const char* path, const char* shown, bool append) {
    fd = page_staging::create_file(path, append);
    if (fd < 0 && disk_full(errno) && wait_for_space()) fd = page_staging::create_file(path, append);
    if (fd < 0) return false;
    file_name = shown ? shown : path;
    if (!buffer) buffer.reset(new char[BUFFER_SIZE]);
    used = 0;
    written = 0;
    return true;
}

// Writes everything; a disk found full is waited for once.
bool outfile::write_all(const char* text, size_t length) {
    bool waited = false;
    while (length > 0) {
        const ssize_t n = ::write(fd, text, length);
        if (n > 0) {
            text += n;
            length -= static_cast<size_t>(n);
            written += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && disk_full(errno) && !waited && wait_for_space()) {
            waited = true;
        } else {
            return false;
        }
    }
    return true;
}

void outfile::write_failed() {
    const int f = fd;
    fd = -1;
    used = 0;
    ::close(f);
    fatal_error("Couldn't write %s", file_name.c_str());
}

void outfile::flush_buffer() {
    if (used == 0) return;
    if (!write_all(buffer.get(), used)) write_failed();
    used = 0;
}

void outfile::print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    size_t room = BUFFER_SIZE - used;
    int n = vsnprintf(buffer.get() + used, room, format, args);
    va_end(args);
    if (n < 0) return;
    if (static_cast<size_t>(n) < room) {
        used += static_cast<size_t>(n);
        return;
    }
    // Did not fit: format again into a block of its own.
    std::vector<char> big(static_cast<size_t>(n) + 1);
    va_start(args, format);
    vsnprintf(big.data(), big.size(), format, args);
    va_end(args);
    write(big.data(), static_cast<size_t>(n));
}

void outfile::write_long(const char* text, size_t length) {
    flush_buffer();
    if (length >= BUFFER_SIZE) {
        if (!write_all(text, length)) write_failed();
        return;
    }
    memcpy(buffer.get(), text, length);
    used = length;
}

void outfile::put_uint(unsigned long long value) {
    char digits[24];
    char* p = digits + sizeof digits;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    write(p, static_cast<size_t>(digits + sizeof digits - p));
}

void outfile::put_int(long long value) {
    if (value < 0) {
        lit("-");
        put_uint(0ull - static_cast<unsigned long long>(value));
    } else {
        put_uint(static_cast<unsigned long long>(value));
    }
}

void outfile::close() {
    if (fd < 0) return;
    flush_buffer();
    const int f = fd;
    fd = -1;
    if (::close(f) != 0 && errno != EINTR) fatal_error("Couldn't write %s", file_name.c_str());
}
