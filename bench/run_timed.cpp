// run_timed: runs one vexo command in the current folder and reports how long
// it took, how fast it read its log, how many games it read, how long the
// end-of-run pages (rankings and per-player pages) took, the child's CPU time
// and its peak memory (getrusage).
//
//   run_timed LOG_BYTES VEXO [ARGS...]
//
// vexo's console output is read through a pipe; the number of games is the
// number of per-game progress fields, and the ranking phase starts when the
// first "Writing player stats to" line shows.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

long long count(const std::string& text, const std::string& what) {
    long long n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: run_timed LOG_BYTES VEXO [ARGS...]\n");
        return 2;
    }
    double log_mb = atof(argv[1]) / 1048576.0;
    int fds[2];
    if (pipe(fds) != 0) {
        perror("pipe");
        return 1;
    }
    double start = now();
    pid_t child = fork();
    if (child < 0) {
        perror("fork");
        return 1;
    }
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        int null_in = open("/dev/null", O_RDONLY);
        if (null_in >= 0) dup2(null_in, STDIN_FILENO);
        execv(argv[2], argv + 2);
        perror(argv[2]);
        _exit(127);
    }
    close(fds[1]);

    // The whole console output is kept (a few hundred kilobytes, or about
    // 14 bytes per player and ranking page with many players: the sorts'
    // progress fields); the time at which the ranking phase begins is noted
    // as soon as it shows.
    const std::string ranking = "Writing player stats to";
    std::string output;
    double ranking_start = -1;
    char buffer[65536];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0) {
        size_t from = output.size() > ranking.size() ? output.size() - ranking.size() : 0;
        output.append(buffer, static_cast<size_t>(got));
        if (ranking_start < 0 && output.find(ranking, from) != std::string::npos)
            ranking_start = now();
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    double end = now();
    rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);

    // Games read: progress fields of the parsing phase, less the closing
    // "(100 %)" of each log file.
    std::string parsing_part = output.substr(0, output.find(ranking));
    long long games = count(parsing_part, "\b\b\b\b\b\b\b(") - count(parsing_part, "\nParsing ");
    double seconds = end - start;
    double parse_seconds = (ranking_start > 0 ? ranking_start : end) - start;
    printf("  log: %.1f MB, games read: %lld, exit code: %d\n", log_mb, games,
           WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    printf("  total: %.2f s, %.1f MB/s of log, %.0f games/s\n", seconds, log_mb / seconds,
           static_cast<double>(games) / seconds);
    printf("  reading and game pages: %.2f s; rankings and player pages: %.2f s\n",
           parse_seconds, ranking_start > 0 ? end - ranking_start : 0.0);
    // CPU time of the child: a figure that other load on the machine does
    // not stretch as much as the wall-clock time.
    double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    printf("  cpu (user + sys): %.2f s, %.1f MB/s of log\n", cpu, log_mb / cpu);
    printf("  peak RSS: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
