// old_page_folders: the page folders a run replaces, and what runs that were
// killed left behind. A run moves the folders it replaces aside when it
// publishes its pages and leaves them there: the next run deletes them, with
// the leftovers of killed runs, on the side while it writes its own pages
// (deleting thousands of pages costs about as much as writing them, and
// waiting for it would make every run a third longer). Deleting is mostly
// waiting for the disk, so several threads delete at once: on a journalling
// disk eight deletes at a time take a fifth of the time of one.
//
// Only VEXO's own names are ever deleted here (see is_own_name), and only
// entries of the run's own user: another user of a shared results folder
// may plant any name, and it stays. Everything is deleted through folder
// handles, never by a path that another process could swap for a link.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class old_page_folders {
public:
    old_page_folders() = default;
    ~old_page_folders();
    old_page_folders(const old_page_folders&) = delete;
    old_page_folders& operator=(const old_page_folders&) = delete;

    // The results folder, by its handle: moved entries stay in it.
    void set_folder(int results);
    // Renames the entry `name` of the results folder (a folder, a file or a
    // link) to a new ".vexo_old_" name, to be deleted by the next start()
    // (of this run, or of the next one). False when it cannot be renamed.
    bool move_aside(const std::string& name);
    // Starts deleting what was moved aside since the last start(); the first
    // call also deletes the leftovers of earlier runs, except `keep`.
    void start(const std::string& keep = "");
    // Waits until everything started is deleted. Memory that ran out on the
    // deleting thread ends the run here.
    void finish();
    // Waits until the delete under way, if any, has ended; on any thread (a
    // write that found the disk full tries again after it).
    void wait_for_space();

    // True for the names a run gives its folders: ".vexo_old_<n>_<n>",
    // ".vexo_new_<n>_<h>" (<h>: 16 lowercase hexadecimal digits) and, from
    // earlier versions, ".vexo_new_<n>"; each <n> one or more digits.
    static bool is_own_name(const std::string& name);
    static constexpr const char* OLD_PREFIX = ".vexo_old_";
    static constexpr const char* NEW_PREFIX = ".vexo_new_";

private:
    void remove_all(const std::vector<std::string>& names);
    int here = -1;
    std::vector<std::string> moved;   // names in the results folder, not yet handed to the thread
    bool leftovers_found = false;
    static constexpr int DELETERS = 8;
    std::thread thread;   // deletes with DELETERS - 1 helpers
    std::atomic<bool> out_of_memory{false};
    std::mutex lock;
    std::condition_variable ended;
    bool deleting = false;   // under `lock`
    int count = 0;
    int fatal_action_handle = -1;
};
