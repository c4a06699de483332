// POSIX implementation of the operating-system layer.
#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>

namespace platform {

std::string current_dir() {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return std::string();
    return buffer;
}

bool change_dir(const std::string& path) { return chdir(path.c_str()) == 0; }
bool make_dir(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }
bool remove_dir(const std::string& path) { return rmdir(path.c_str()) == 0; }
bool delete_file(const std::string& path) { return unlink(path.c_str()) == 0; }

bool rename_entry(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool tree_removable(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if (access(path.c_str(), W_OK | X_OK) != 0) return false;
    DIR* dir = opendir(path.c_str());
    if (!dir) return false;
    bool removable = true;
    while (removable) {
        const struct dirent* e = readdir(dir);
        if (!e) break;
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        bool is_dir = e->d_type == DT_DIR;
        const std::string sub = path + "/" + name;
        if (e->d_type == DT_UNKNOWN) is_dir = lstat(sub.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        if (!is_dir) continue;
        removable = name[0] != '.' && tree_removable(sub);
    }
    closedir(dir);
    return removable;
}

static int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
    remove(path);
    return 0;
}

void remove_tree(const std::string& path) {
    // A file or a link needs no walk.
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return;
    nftw(path.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> folder_names(const std::string& path) {
    std::vector<std::string> names;
    // A link to a folder is no folder here: what it points to is never listed.
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return names;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return names;
    }
    while (const struct dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool is_directory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_real_directory(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool entry_exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
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
