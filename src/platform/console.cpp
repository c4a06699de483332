// mute_standard_output: dup of the console, /dev/null in its place.
#include "platform/console.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

FILE* mute_standard_output() {
    fflush(stdout);
    const int console = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (console < 0) return stdout;
    FILE* kept = fdopen(console, "w");
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (!kept || null < 0 || dup2(null, STDOUT_FILENO) < 0) {
        if (null >= 0) close(null);
        if (kept) fclose(kept);
        else close(console);
        return stdout;
    }
    close(null);
    return kept;
}

}  // namespace platform
