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
bool is_directory(const std::string& path); // follows links
bool file_exists(const std::string& path);      // follows links

// Folders held by handles (file descriptors). Every call below works relative
// to a folder handle and never follows a symbolic link in the name it is
// given, so another process that swaps a name for a link cannot lead it out
// of that folder. Names are bare names (no '/').
struct entry_info {
    bool exists = false;
    bool is_dir = false;      // a real folder, not a link to one
    bool is_file = false;     // a regular file
    uint32_t mode = 0;        // permission bits (07777)
    uint32_t uid = 0, gid = 0;
    uint64_t device = 0, inode = 0;
};
entry_info entry_at(int folder, const std::string& name);
entry_info entry_of(int handle);                 // of an open handle
bool own(const entry_info& e);                   // belongs to the process's user
// Opens the folder `name` of `folder` for reading: -1 when it is missing, a
// link or no folder.
int open_folder_at(int folder, const std::string& name);
void close_handle(int handle);
// The names in a folder ("." and ".." left out), unsorted; entries_at tells
// the real folders among them too.
std::vector<std::string> names_at(int folder);
std::vector<dir_entry> entries_at(int folder);
// Renames `from` of folder `from_dir` to `to` of `to_dir` without replacing
// an entry of that name (false, errno EEXIST, when there is one).
bool rename_new_at(int from_dir, const std::string& from, int to_dir, const std::string& to);
bool rename_at(int from_dir, const std::string& from, int to_dir, const std::string& to);
// Removes the entry `name` of `folder` with everything in it, links as
// links; each folder in it is opened by its handle before its entries are
// removed. Failures are ignored. Safe on several threads at once.
void remove_tree_at(int folder, const std::string& name);
// True when the real folder `name` of `folder` can be emptied and removed by
// a recursive delete: every folder in it can be entered and written, and
// none of them has a name beginning with ".".
bool tree_removable_at(int folder, const std::string& name);
// The process's file-mode creation mask, read once.
uint32_t creation_mask();
// Sixteen lowercase hexadecimal digits that nobody can predict.
std::string random_hex16();

// Blocks the signals that end a process (SIGTERM, SIGINT, SIGHUP, SIGQUIT,
// ...) on the calling thread while the object lives; a signal that comes
// meanwhile acts once it is gone.
class termination_signals_held {
public:
    termination_signals_held();
    ~termination_signals_held();
    termination_signals_held(const termination_signals_held&) = delete;
    termination_signals_held& operator=(const termination_signals_held&) = delete;
private:
    unsigned char saved[256];   // the thread's signal mask before
};
// Blocks them on the calling thread for good: helper threads call it, so that
// such a signal always reaches the run's own thread.
void leave_termination_signals_to_main_thread();

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
