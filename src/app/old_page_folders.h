// old_page_folders: the page folders a run replaces, and what runs that were
// killed left behind. A run moves the folders it replaces aside when it
// publishes its pages and leaves them there: the next run deletes them, with
// the leftovers of killed runs, on the side while it writes its own pages
// (deleting thousands of pages costs about as much as writing them, and
// waiting for it would make every run a third longer). Deleting is mostly
// waiting for the disk, so several threads delete at once: on a journalling
// disk eight deletes at a time take a fifth of the time of one.
//
// Only VEXO's own names are ever deleted here: ".vexo_old_<n>_<n>" (a folder
// moved aside) and ".vexo_new_<n>" (the folder a run writes its pages into),
// byte for byte.
#pragma once
#include <atomic>
#include <string>
#include <thread>
#include <vector>

class old_page_folders {
public:
    old_page_folders() = default;
    ~old_page_folders();
    old_page_folders(const old_page_folders&) = delete;
    old_page_folders& operator=(const old_page_folders&) = delete;

    // `here` is the results folder, absolute: moved entries stay in it.
    void set_folder(const std::string& here);
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

    // True for the names a run gives its folders: ".vexo_old_<n>_<n>" and
    // ".vexo_new_<n>", each <n> one or more digits.
    static bool is_own_name(const std::string& name);
    static constexpr const char* OLD_PREFIX = ".vexo_old_";
    static constexpr const char* NEW_PREFIX = ".vexo_new_";

private:
    std::string here;
    std::vector<std::string> moved;   // absolute paths, not yet handed to the thread
    bool leftovers_found = false;
    static constexpr int DELETERS = 8;
    std::thread thread;   // deletes with DELETERS - 1 helpers
    std::atomic<bool> out_of_memory{false};
    int count = 0;
};
