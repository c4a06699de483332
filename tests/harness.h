// The process harness of every test that runs the built program (VEXO_BINARY):
//   scratch_dir dir;                  a fresh empty folder, removed with the object;
//                                     dir.path, and dir / "a.log" for a path in it
//   run_result r = run_vexo(dir.path, {"/l", "a.log"});
//                                     runs the program in that folder, standard input
//                                     from /dev/null; r.code is the exit code (-1 when it
//                                     was killed or hung for 60 s), r.out its standard
//                                     output (the console transcript), r.err its errors
//   run_vexo(dir.path, args, options) with run_options: stdin_fd (another standard input),
//                                     file_size_limit (bytes), path_prefix (put first in
//                                     PATH), on_output (called with the pid and the output
//                                     so far whenever output arrives), user (the name of
//                                     the user the run runs as: the test runs as root)
//   read_file(path), write_file(path, bytes)   raw bytes, NUL bytes included
//   list_files(root)                  sorted relative paths of the regular files below root
//   mask_elapsed(transcript)          "\n0.04 seconds elapsed" -> "\nX seconds elapsed"
//   mask_stamps(page)                 every page time stamp -> "<date>"
//   fatal_child()                     first in a death test's child that ends in fatal_error:
//                                     its console text goes to standard error, where the
//                                     death test reads it, and nobody waits for ENTER
//   broken_links(root)                "page -> target" for each local link of a page below
//                                     root (.htm, .html) that names no file, or no element
//                                     of the id after its "#"
#pragma once
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace harness {

namespace fs = std::filesystem;

struct scratch_dir {
    std::string path;
    scratch_dir() {
        std::string pattern = fs::temp_directory_path().string() + "/vexo_test_XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path = pattern;
    }
    ~scratch_dir() {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;
    std::string operator/(const std::string& relative) const { return path + "/" + relative; }
};

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void write_file(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::vector<std::string> list_files(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

struct run_result {
    int code = -1;
    std::string out, err;
};

struct run_options {
    int stdin_fd = -1;
    rlim_t file_size_limit = 0;
    std::string path_prefix;
    std::function<void(pid_t, const std::string&)> on_output;
    std::string user;
};

inline run_result run_vexo(const std::string& dir, const std::vector<std::string>& args,
                           const run_options& o = {}) {
    run_result r;
    int out_pipe[2], err_pipe[2];
    if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return r;
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = o.stdin_fd >= 0 ? o.stdin_fd : open("/dev/null", O_RDONLY);
        if (chdir(dir.c_str()) != 0 || in < 0) _exit(127);
        dup2(in, 0);
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        for (int fd : {out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) close(fd);
        if (o.file_size_limit) {
            signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {o.file_size_limit, o.file_size_limit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        // Opened while still root: the build folder may lie where the other
        // user cannot reach it (a clone in a private temporary folder).
        const int program = open(VEXO_BINARY, O_RDONLY | O_CLOEXEC);
        if (!o.user.empty()) {
            const struct passwd* u = getpwnam(o.user.c_str());
            if (!u || setgroups(0, nullptr) != 0 || setresgid(u->pw_gid, u->pw_gid, u->pw_gid) != 0 ||
                setresuid(u->pw_uid, u->pw_uid, u->pw_uid) != 0)
                _exit(126);
        }
        if (!o.path_prefix.empty()) {
            const char* path = std::getenv("PATH");
            setenv("PATH", (o.path_prefix + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>("vexo")};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (program >= 0) fexecve(program, argv.data(), environ);
        execv(VEXO_BINARY, argv.data());
        _exit(127);
    }
    close(out_pipe[1]);
    close(err_pipe[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    struct pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    std::string* texts[2] = {&r.out, &r.err};
    bool hung = false;
    for (int open_pipes = 2; open_pipes > 0;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            hung = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, static_cast<int>(left)) <= 0) continue;
        for (int k = 0; k < 2; k++) {
            if (fds[k].fd < 0 || fds[k].revents == 0) continue;
            char buffer[65536];
            const ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(fds[k].fd);
                fds[k].fd = -1;
                open_pipes--;
                continue;
            }
            texts[k]->append(buffer, static_cast<size_t>(n));
            if (k == 0 && o.on_output) o.on_output(pid, r.out);
        }
    }
    for (const struct pollfd& f : fds)
        if (f.fd >= 0) close(f.fd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!hung && WIFEXITED(status)) r.code = WEXITSTATUS(status);
    return r;
}

inline std::string mask_elapsed(std::string transcript) {
    const size_t end = transcript.rfind(" seconds elapsed");
    const size_t start = end == std::string::npos ? end : transcript.rfind('\n', end);
    if (start != std::string::npos) transcript.replace(start + 1, end - start - 1, "X");
    return transcript;
}

// A stamp reads "<p class=text>[Sun Dec 06 20:00:24 2026\n]": only that form is masked.
inline std::string mask_stamps(std::string page) {
    const std::string open = "<p class=text>[", shape = "Aaa Aaa 00 00:00:00 0000\n]";
    auto fits = [&page, &shape](size_t start) {
        if (page.size() < start + shape.size()) return false;
        for (size_t i = 0; i < shape.size(); i++) {
            const unsigned char c = page[start + i], s = shape[i];
            if (!(s == '0' ? isdigit(c) : s == 'A' ? isupper(c) : s == 'a' ? islower(c) : c == s)) return false;
        }
        return true;
    };
    for (size_t at = page.find(open); at != std::string::npos; at = page.find(open, at + 1))
        if (fits(at + open.size())) page.replace(at + open.size(), 24, "<date>");
    return page;
}

inline void fatal_child() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!std::freopen("/dev/null", "r", stdin)) _exit(3);
}

inline std::vector<std::string> broken_links(const std::string& root) {
    std::vector<std::string> broken;
    for (const std::string& page : list_files(root)) {
        const fs::path extension = fs::path(page).extension();
        if (extension != ".htm" && extension != ".html") continue;
        const std::string text = read_file(root + "/" + page);
        std::string lower = text;
        for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        const fs::path folder = fs::path(root + "/" + page).parent_path();
        for (size_t at = 0; (at = lower.find("href=\"", at)) != std::string::npos; at++) {
            const size_t end = text.find('"', at + 6);
            std::string target = text.substr(at + 6, end == std::string::npos ? end : end - at - 6);
            if (target.find(':') != std::string::npos) continue;   // web and mail addresses
            // "page#id": the page must hold an element of that id.
            const size_t anchor = target.find('#');
            if (anchor != std::string::npos) {
                const std::string id = "id=\"" + target.substr(anchor + 1) + "\"";
                target.resize(anchor);
                const fs::path linked = target.empty() ? fs::path(root + "/" + page) : folder / target;
                if (fs::is_regular_file(linked) && read_file(linked.string()).find(id) == std::string::npos)
                    broken.push_back(page + " -> " + target + "#" + id);
                if (target.empty()) continue;
            }
            if (!fs::is_regular_file(folder / target)) broken.push_back(page + " -> " + target);
        }
    }
    return broken;
}

}  // namespace harness
