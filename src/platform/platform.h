// The thin layer over the operating system: folders, wildcard search of one
// folder, file identity, opening a page with the system's viewer, clocks.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct dir_entry {
    std::string name;   // bare name
    bool is_dir;        // a real folder (symbolic links are never folders here)
};

std::string current_dir();                 // "" when it cannot be read
bool change_dir(const std::string& path);
bool make_dir(const std::string& path);
bool remove_dir(const std::string& path);
bool delete_file(const std::string& path);
bool is_directory(const std::string& path); // follows links
bool is_real_directory(const std::string& path); // a folder, not a link to one
bool file_exists(const std::string& path);      // follows links
bool entry_exists(const std::string& path);     // anything by that name, a dangling link too
bool rename_entry(const std::string& from, const std::string& to);

// True when `path` is a real folder (not a link) that a recursive delete can
// empty and remove: every folder in it can be entered and written, and none
// of them has a name beginning with ".".
bool tree_removable(const std::string& path);
// Deletes `path` with everything in it, links as links, by path alone (the
// working folder is not changed, so it can run on a thread of its own).
// Failures are ignored.
void remove_tree(const std::string& path);
// The names in the folder `path` ("." and ".." left out), unsorted; none
// when `path` is a link.
std::vector<std::string> folder_names(const std::string& path);

// '*' and '?' wildcards, letters compared without regard to case (ASCII)
// unless `ignore_case` is false.
bool wildcard_match(const char* pattern, const char* name, bool ignore_case = true);

// Entries of `folder` whose names match `pattern`, in byte order of their
// names; "." and ".." are never returned. `follow_links` decides whether a
// link to a folder counts as a folder.
std::vector<dir_entry> find_entries(const std::string& folder, const std::string& pattern,
                                    bool follow_links, bool ignore_case = true);

// Opens the folder `path`, makes it the working folder and locks it against
// every other process that locks it so, until unlock_folder or the end of the
// process. When another process holds the lock, `on_wait` is called once and
// the call waits for it, at most `wait_seconds`. Returns the lock's handle,
// -1 when the folder cannot be opened or entered, LOCK_FOLDER_GONE when the
// folder was removed while the call waited, or LOCK_FOLDER_BUSY when the
// other process held it all that time.
constexpr int LOCK_FOLDER_GONE = -2;
constexpr int LOCK_FOLDER_BUSY = -3;
int lock_folder(const std::string& path, const std::function<void()>& on_wait, int wait_seconds);
void unlock_folder(int handle);

// A file that grows beyond the process's size limit fails its write instead
// of ending the process by a signal.
void ignore_file_size_signal();

// Identity of a file (device and inode), to analyse a file named twice once.
bool file_identity(const std::string& path, uint64_t& device, uint64_t& inode);

// Opens `file` (in `folder`) with the system's viewer and waits for it.
void open_in_viewer(const std::string& folder, const std::string& file);

int64_t clock_ms();                 // monotonic milliseconds
std::string local_timestamp();      // "Sun Dec 06 20:00:24 2026\n"
bool stdin_is_terminal();
// Flushes the console when it is a terminal, so progress fields show at once.
void flush_console();

}  // namespace platform
