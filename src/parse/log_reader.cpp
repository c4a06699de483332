// log_reader: block reads, pieces of at most 2046 characters per line.
#include "parse/log_reader.h"

#include <cstring>

static constexpr size_t BLOCK = 1 << 16;

log_reader::log_reader(FILE* stream, long long limit) : stream(stream), buffer(new char[BLOCK]), left(limit) {}

log_reader::~log_reader() {}

bool log_reader::fill() {
    begin = 0;
    size_t want = BLOCK;
    if (left >= 0 && static_cast<unsigned long long>(left) < want) want = static_cast<size_t>(left);
    end = want > 0 ? fread(buffer.get(), 1, want, stream) : 0;
    if (left >= 0) left -= static_cast<long long>(end);
    if (want == 0) {
        at_eof = true;
        return false;
    }
    if (end == 0) {
        if (feof(stream)) at_eof = true;
        if (ferror(stream)) read_error = true;
        return false;
    }
    return true;
}

bool log_reader::read_line(char* line) {
    const size_t limit = LOG_LINE_MAX - 2;   // 2046 characters per piece
    size_t length = 0;
    while (length < limit) {
        if (begin == end && !fill()) break;
        size_t want = limit - length;
        size_t avail = end - begin;
        if (avail > want) avail = want;
        const char* start = buffer.get() + begin;
        const char* nl = static_cast<const char*>(memchr(start, '\n', avail));
        size_t take = nl ? static_cast<size_t>(nl - start) + 1 : avail;
        memcpy(line + length, start, take);
        length += take;
        begin += take;
        consumed += static_cast<long long>(take);
        if (nl) break;
    }
    line[length] = 0;
    return length > 0;
}
