// outfile: raw-byte output files. Opening, writing and closing are checked: a
// file that cannot be opened or written ends the run, so a full disk never
// ends in a run that reports success.
#include "app/outfile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "app/fatal.h"

outfile::outfile() : stream(nullptr) {}

// Every file is closed by close(), which reports a lost write. A file still
// open here is left behind by an error on the page thread, while the run is
// ending: its bytes are written as far as they go, and nothing is reported.
outfile::~outfile() {
    if (!stream) return;
    if (used > 0) fwrite(buffer.get(), 1, used, stream);
    fclose(stream);
}

void outfile::open(const char* path, const char* shown) { open_mode(path, shown, "wbx"); }

void outfile::open_append(const char* path, const char* shown) { open_mode(path, shown, "ab"); }

void outfile::open_mode(const char* path, const char* shown, const char* mode) {
    const char* name = shown ? shown : path;
    stream = fopen(path, mode);
    // A new file in the place of an old one: a link there is removed, never
    // written through. (Pages are written where no file is in their way.)
    if (!stream && errno == EEXIST && unlink(path) == 0) stream = fopen(path, mode);
    if (!stream) fatal_error("Couldn't open %s", name);
    // Blocks come from our own buffer: the stream's would only copy them.
    setvbuf(stream, nullptr, _IONBF, 0);
    file_name = name;
    if (!buffer) buffer.reset(new char[BUFFER_SIZE]);
    used = 0;
}

void outfile::write_failed() {
    FILE* s = stream;
    stream = nullptr;
    used = 0;
    fclose(s);
    fatal_error("Couldn't write %s", file_name.c_str());
}

void outfile::flush_buffer() {
    if (used == 0) return;
    if (fwrite(buffer.get(), 1, used, stream) != used) write_failed();
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
        if (fwrite(text, 1, length, stream) != length) write_failed();
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
    if (!stream) return;
    flush_buffer();
    FILE* s = stream;
    bool failed = fflush(s) != 0 || ferror(s);
    stream = nullptr;
    if (fclose(s) != 0) failed = true;
    if (failed) fatal_error("Couldn't write %s", file_name.c_str());
}
