// POSIX implementation of the operating-system layer.
#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

namespace platform {

std::string current_dir() {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return std::string();
    return buffer;
}

bool change_dir(const std::string& path) { return chdir(path.c_str()) == 0; }
bool make_dir(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }
bool remove_dir(const std::string& path) { return rmdir(path.c_str()) == 0; }

static entry_info info_of(const struct stat& st) {
    entry_info e;
    e.exists = true;
    e.is_dir = S_ISDIR(st.st_mode);
    e.is_file = S_ISREG(st.st_mode);
    e.mode = static_cast<uint32_t>(st.st_mode & 07777);
    e.uid = static_cast<uint32_t>(st.st_uid);
    e.gid = static_cast<uint32_t>(st.st_gid);
    e.device = static_cast<uint64_t>(st.st_dev);
    e.inode = static_cast<uint64_t>(st.st_ino);
    return e;
}

entry_info entry_at(int folder, const std::string& name) {
    struct stat st;
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return entry_info();
    return info_of(st);
}

entry_info entry_of(int handle) {
    struct stat st;
    if (fstat(handle, &st) != 0) return entry_info();
    return info_of(st);
}

bool own(const entry_info& e) { return e.exists && e.uid == static_cast<uint32_t>(geteuid()); }

int open_folder_at(int folder, const std::string& name) {
    return openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

void close_handle(int handle) {
    if (handle >= 0) close(handle);
}

// Calls `each` with every entry of the folder ("." and ".." left out).
template <typename F>
static void list_at(int folder, F each) {
    // A handle of its own: the listing must not move the offset of `folder`.
    const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return;
    }
    while (const struct dirent* e = readdir(dir))
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) each(*e);
    closedir(dir);
}

std::vector<std::string> names_at(int folder) {
    std::vector<std::string> names;
    list_at(folder, [&names](const struct dirent& e) { names.push_back(e.d_name); });
    return names;
}

std::vector<dir_entry> entries_at(int folder) {
    std::vector<dir_entry> entries;
    list_at(folder, [&entries, folder](const struct dirent& e) {
        bool is_dir = e.d_type == DT_DIR;
        struct stat st;
        if (e.d_type == DT_UNKNOWN)
            is_dir = fstatat(folder, e.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({e.d_name, is_dir});
    });
    return entries;
}

bool rename_new_at(int from_dir, const std::string& from, int to_dir, const std::string& to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (renameat2(from_dir, from.c_str(), to_dir, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;   // else a file system without it
#endif
    struct stat st;
    if (fstatat(to_dir, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return renameat(from_dir, from.c_str(), to_dir, to.c_str()) == 0;
}

bool rename_at(int from_dir, const std::string& from, int to_dir, const std::string& to) {
    return renameat(from_dir, from.c_str(), to_dir, to.c_str()) == 0;
}

// Deeper folders than this are never made by VEXO; what lies deeper is left.
static constexpr int DEEPEST = 64;

static void remove_tree_at(int folder, const char* name, int depth) {
    // A file or a link needs one call.
    if (unlinkat(folder, name, 0) == 0 || errno == ENOENT) return;
    if (depth >= DEEPEST) return;
    const int sub = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub < 0) return;
    for (const std::string& entry : names_at(sub)) remove_tree_at(sub, entry.c_str(), depth + 1);
    close(sub);
    unlinkat(folder, name, AT_REMOVEDIR);
}

void remove_tree_at(int folder, const std::string& name) { remove_tree_at(folder, name.c_str(), 0); }

static bool tree_removable_at(int folder, const char* name, int depth) {
    struct stat st;
    if (depth >= DEEPEST || fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (faccessat(folder, name, W_OK | X_OK, 0) != 0) return false;
    const int sub = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub < 0) return false;
    bool removable = true;
    for (const dir_entry& entry : entries_at(sub)) {
        if (!entry.is_dir) continue;
        removable = entry.name[0] != '.' && tree_removable_at(sub, entry.name.c_str(), depth + 1);
        if (!removable) break;
    }
    close(sub);
    return removable;
}

bool tree_removable_at(int folder, const std::string& name) { return tree_removable_at(folder, name.c_str(), 0); }

uint32_t creation_mask() {
    static const uint32_t mask = [] {
        const mode_t m = umask(0);
        umask(m);
        return static_cast<uint32_t>(m);
    }();
    return mask;
}

std::string random_hex16() {
    unsigned char bytes[8] = {0};
    bool got = false;
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        got = read(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
        close(fd);
    }
    if (!got) {
        // No random device: the clock and a counter, mixed.
        static std::atomic<uint64_t> counter{0};
        uint64_t x = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()) ^
                     (static_cast<uint64_t>(getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdull;
        x ^= x >> 33;
        memcpy(bytes, &x, sizeof bytes);
    }
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes) {
        text += hex[b >> 4];
        text += hex[b & 15];
    }
    return text;
}

static void termination_signals(sigset_t& set) {
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM,
                  SIGPROF, SIGTSTP})
        sigaddset(&set, s);
}

static_assert(sizeof(sigset_t) <= 256, "the saved signal mask fits");

termination_signals_held::termination_signals_held() {
    sigset_t set, before;
    termination_signals(set);
    pthread_sigmask(SIG_BLOCK, &set, &before);
    memcpy(saved, &before, sizeof before);
}

termination_signals_held::~termination_signals_held() {
    sigset_t before;
    memcpy(&before, saved, sizeof before);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

void leave_termination_signals_to_main_thread() {
    sigset_t set;
    termination_signals(set);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool is_directory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

static char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool wildcard_match(const char* pattern, const char* name, bool ignore_case) {
    const char* star = nullptr;   // last '*' seen in the pattern
    const char* resume = nullptr; // where the name resumes after that '*'
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' ||
                   (*pattern && (ignore_case ? fold(*pattern) == fold(*name) : *pattern == *name))) {
            pattern++;
            name++;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') pattern++;
    return *pattern == 0;
}

std::vector<dir_entry> find_entries(const std::string& folder, const std::string& pattern,
                                    bool follow_links, bool ignore_case) {
    std::vector<dir_entry> result;
    std::string base = folder.empty() ? "." : folder;
    DIR* dir = opendir(base.c_str());
    if (!dir) return result;
    while (struct dirent* d = readdir(dir)) {
        std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        if (!wildcard_match(pattern.c_str(), name.c_str(), ignore_case)) continue;
        std::string path = base + "/" + name;
        struct stat st;
        int rc = follow_links ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
        result.push_back({name, rc == 0 && S_ISDIR(st.st_mode)});
    }
    closedir(dir);
    std::sort(result.begin(), result.end(),
              [](const dir_entry& a, const dir_entry& b) { return a.name < b.name; });
    return result;
}

bool file_identity(const std::string& path, uint64_t& device, uint64_t& inode) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    device = static_cast<uint64_t>(st.st_dev);
    inode = static_cast<uint64_t>(st.st_ino);
    return true;
}

void open_in_viewer(const std::string& folder, const std::string& file) {
#ifdef __APPLE__
    const char* viewer = "open";
#else
    const char* viewer = "xdg-open";
#endif
    fflush(stdout);
    pid_t pid = fork();
    if (pid < 0) return;
    if (pid == 0) {
        // The viewer's own chatter stays out of the run's console transcript.
        int null_fd = open("/dev/null", O_WRONLY);
        if (null_fd >= 0) {
            dup2(null_fd, 1);
            dup2(null_fd, 2);
        }
        if (chdir(folder.c_str()) != 0) _exit(127);
        execlp(viewer, viewer, file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

int lock_folder(const std::string& path, const std::function<void()>& on_wait, int wait_seconds) {
    // O_CLOEXEC: a viewer started after the run must not hold the lock. A
    // results folder given as a link to a folder is that folder.
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        on_wait();
        // Tried again every 50 ms: a blocking flock cannot be given a time limit.
        const int64_t deadline = clock_ms() + static_cast<int64_t>(wait_seconds) * 1000;
        while (flock(fd, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
            const int64_t left = deadline - clock_ms();
            if (left <= 0) {
                close(fd);
                return LOCK_FOLDER_BUSY;
            }
            usleep(static_cast<useconds_t>(std::min<int64_t>(left, 50) * 1000));
        }
        // The run before created the folder and removed it again when it
        // ended on an error: the caller makes it anew.
        struct stat st;
        if (fstat(fd, &st) == 0 && st.st_nlink == 0) {
            close(fd);
            return LOCK_FOLDER_GONE;
        }
    }
    // A file system without locks: the run goes on unlocked.
    if (fchdir(fd) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void unlock_folder(int handle) {
    if (handle >= 0) close(handle);
}

void ignore_file_size_signal() { signal(SIGXFSZ, SIG_IGN); }

int64_t clock_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string local_timestamp() {
    static const char* const days[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %d\n", days[t.tm_wday % 7],
             months[t.tm_mon % 12], t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
    return buffer;
}

bool stdin_is_terminal() { return isatty(0) == 1; }

void flush_console() {
    static const bool terminal = isatty(1) == 1;
    if (terminal) fflush(stdout);
}

}  // namespace platform
