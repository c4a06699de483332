// outfile: the thin wrapper through which every output file is written.
// Files are raw bytes; a failed open, write or close ends the run.
#pragma once
#include <cstdio>
#include <memory>
#include <string>

class outfile {
public:
    outfile();
    virtual ~outfile();
    outfile(const outfile&) = delete;
    outfile& operator=(const outfile&) = delete;

    void open(const char* name);        // "wb"; "Couldn't open %s" on failure
    void open_append(const char* name); // "ab"; "Couldn't open %s" on failure
    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void write(const char* text, size_t length);
    void puts(const char* text);
    void close();                        // "Couldn't write %s" when data was lost
    bool is_open() const { return stream != nullptr; }
    const std::string& name() const { return file_name; }

private:
    void flush_buffer();
    [[noreturn]] void write_failed();
    FILE* stream;
    std::string file_name;
    // Pages are written in many small pieces: they are gathered here and
    // handed to the stream in large blocks.
    std::unique_ptr<char[]> buffer;
    size_t used = 0;
};
