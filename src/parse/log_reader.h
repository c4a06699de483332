// log_reader: reads a log file in large blocks and hands out lines the way
// fgets with a 2047-byte count would: at most 2046 characters per piece, the
// line feed kept; a longer line arrives as several pieces. Reads no more
// than a given number of bytes: a log still being written ends where it
// ended when the run opened it.
#pragma once
#include <cstdio>
#include <memory>

constexpr int LOG_LINE_MAX = 2048;

class log_reader {
public:
    // `limit`: the bytes to read at most; below 0, up to the end of the file.
    explicit log_reader(FILE* stream, long long limit = -1);
    virtual ~log_reader();

    // Copies the next piece into `line` (LOG_LINE_MAX bytes) and terminates it.
    // Returns false when nothing could be read (end of file or error).
    bool read_line(char* line);
    bool eof() const { return at_eof; }
    bool error() const { return read_error; }
    long long position() const { return consumed; }

private:
    bool fill();
    FILE* stream;
    std::unique_ptr<char[]> buffer;
    size_t begin = 0, end = 0;
    long long consumed = 0;
    long long left;   // bytes still to be read from the stream; below 0 no limit
    bool at_eof = false;
    bool read_error = false;
};
