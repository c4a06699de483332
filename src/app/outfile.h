// outfile: the thin wrapper through which every output file is written.
// Files are raw bytes; a failed open, write or close ends the run.
#pragma once
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

class outfile {
public:
    outfile();
    virtual ~outfile();
    outfile(const outfile&) = delete;
    outfile& operator=(const outfile&) = delete;

    // open makes a new file, in place of one of that name (a link there is
    // removed, never written through); open_append adds to a file. The path
    // is relative to the staging folder while a run writes its pages (see
    // page_staging::create_file). "Couldn't open %s" on failure; `shown`
    // (default: the path) names the file in the messages. try_open is open
    // that returns false instead.
    void open(const char* path, const char* shown = nullptr);
    void open_append(const char* path, const char* shown = nullptr);
    bool try_open(const char* path, const char* shown = nullptr);
    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void write(const char* text, size_t length) {
        if (length <= BUFFER_SIZE - used) {
            memcpy(buffer.get() + used, text, length);
            used += length;
        } else {
            write_long(text, length);
        }
    }
    void puts(const char* text) { write(text, strlen(text)); }
    void puts(const std::string& text) { write(text.data(), text.size()); }
    // A string literal, its length known at compile time.
    template <size_t N>
    void lit(const char (&text)[N]) { write(text, N - 1); }
    // Decimal numbers, the same bytes as printf's "%u" / "%i" ("%llu", "%lld").
    void put_uint(unsigned long long value);
    void put_int(long long value);
    void close();                        // "Couldn't write %s" when data was lost
    bool is_open() const { return fd >= 0; }
    const std::string& name() const { return file_name; }
    long long size() const { return written + static_cast<long long>(used); }   // bytes given since open

    static constexpr size_t BUFFER_SIZE = 1 << 16;

    // A disk (or quota) found full while a file is created or written: the
    // waiter is called (it waits for the delete under way) and the call is
    // tried once more. Set once, before files are written on other threads.
    using space_waiter = void (*)(void* context);
    static void set_space_waiter(space_waiter waiter, void* context);

private:
    bool open_mode(const char* path, const char* shown, bool append);
    void write_long(const char* text, size_t length);
    void flush_buffer();
    bool write_all(const char* text, size_t length);
    [[noreturn]] void write_failed();
    int fd = -1;
    std::string file_name;
    // Pages are written in many small pieces: they are gathered here and
    // handed to the system in large blocks.
    std::unique_ptr<char[]> buffer;
    size_t used = 0;
    long long written = 0;
};
