// outfile: raw-byte output files. Opening, writing and closing are checked: a
// file that cannot be opened or written ends the run, so a full disk never
// ends in a run that reports success.
#include "app/outfile.h"

#include <cstdarg>
#include <cstring>

#include "app/fatal.h"

outfile::outfile() : stream(nullptr) {}

outfile::~outfile() {
    if (stream) close();
}

void outfile::open(const char* name) {
    stream = fopen(name, "wb");
    if (!stream) fatal_error("Couldn't open %s", name);
    file_name = name;
}

void outfile::open_append(const char* name) {
    stream = fopen(name, "ab");
    if (!stream) fatal_error("Couldn't open %s", name);
    file_name = name;
}

void outfile::check_write() {
    if (ferror(stream)) {
        std::string name = file_name;
        FILE* s = stream;
        stream = nullptr;
        fclose(s);
        fatal_error("Couldn't write %s", name.c_str());
    }
}

void outfile::print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int result = vfprintf(stream, format, args);
    va_end(args);
    if (result < 0) check_write();
}

void outfile::write(const char* text, size_t length) {
    if (fwrite(text, 1, length, stream) != length) check_write();
}

void outfile::puts(const char* text) {
    write(text, strlen(text));
}

void outfile::close() {
    if (!stream) return;
    FILE* s = stream;
    bool failed = fflush(s) != 0 || ferror(s);
    stream = nullptr;
    if (fclose(s) != 0) failed = true;
    if (failed) fatal_error("Couldn't write %s", file_name.c_str());
}
