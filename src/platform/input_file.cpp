// Opening a log file without blocking: O_NONBLOCK for the open itself, then
// the type of what was opened, then blocking reads again.
#include "platform/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool is_regular_file(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

input_file open_input(const std::string& path) {
    input_file in;
    // Only a name that is a regular file is opened at all: opening a device
    // may act on it. The type is checked again on what was opened, since
    // the name may have been swapped in between.
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        in.regular = true;   // nothing there: it cannot be opened
        return in;
    }
    in.regular = S_ISREG(st.st_mode);
    if (!in.regular) return in;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return in;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        in.regular = false;
        close(fd);
        return in;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    in.stream = fdopen(fd, "rb");
    if (!in.stream) {
        close(fd);
        return in;
    }
    in.size = st.st_size;
    return in;
}

long long current_size(FILE* stream) {
    struct stat st;
    if (!stream || fstat(fileno(stream), &st) != 0) return -1;
    return st.st_size;
}

}  // namespace platform
