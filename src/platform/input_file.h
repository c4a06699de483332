// Opening a log file: only a regular file (or a link to one) is read, and
// opening never blocks, whatever the name stands for (a FIFO without a
// writer, a device). Any thread.
#pragma once
#include <cstdio>
#include <string>

namespace platform {

// True when `path` is a regular file, links followed; nothing is opened.
bool is_regular_file(const std::string& path);

struct input_file {
    FILE* stream = nullptr;   // open for reading as raw bytes; the caller closes it
    bool regular = false;     // false: no regular file, and no stream
    long long size = 0;       // when it was opened
};
// Opens `path` for reading. No stream when it cannot be opened (a name
// that is missing counts as a regular file that cannot be opened) or when
// it is something else (`regular` false).
input_file open_input(const std::string& path);

// The size of the open file now, or -1.
long long current_size(FILE* stream);

}  // namespace platform
