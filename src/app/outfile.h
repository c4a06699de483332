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

    // open makes a new file ("wbx"), in place of one of that name (a link
    // there is removed, never written through); open_append ("ab") adds to a
    // file. "Couldn't open %s" on failure; `shown` (default: the path) names
    // the file in the messages.
    void open(const char* path, const char* shown = nullptr);
    void open_append(const char* path, const char* shown = nullptr);
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
    bool is_open() const { return stream != nullptr; }
    const std::string& name() const { return file_name; }

    static constexpr size_t BUFFER_SIZE = 1 << 16;

private:
    void open_mode(const char* path, const char* shown, const char* mode);
    void write_long(const char* text, size_t length);
    void flush_buffer();
    [[noreturn]] void write_failed();
    FILE* stream;
    std::string file_name;
    // Pages are written in many small pieces: they are gathered here and
    // handed to the stream in large blocks.
    std::unique_ptr<char[]> buffer;
    size_t used = 0;
};
