// old_page_folders: clears the page folders of the run before (vexo_games,
// vexo_players) at the start of a run. A folder that a recursive delete can
// remove whole is renamed out of the way at once and deleted on a thread of
// its own while the run writes the new pages: deleting thousands of pages and
// creating as many new ones right after is the slowest part of a run on some
// file systems. Anything else (a file, a link, a folder with parts that could
// not be deleted) is deleted at once with diverse::deltree, as before.
#pragma once
#include <string>
#include <thread>
#include <vector>

class old_page_folders {
public:
    old_page_folders() = default;
    ~old_page_folders();
    old_page_folders(const old_page_folders&) = delete;
    old_page_folders& operator=(const old_page_folders&) = delete;

    // In the results folder (the current folder): clears every entry that
    // matches `spec`, as diverse::deltree does.
    void clear(const char* spec);
    // Starts deleting the folders moved aside, with any left behind by a
    // run that ended early.
    void start();
    // Waits until they are deleted.
    void finish();

    // Folders moved aside start with this; left behind by a run that ended
    // early, they are deleted by the next run.
    static constexpr const char* PREFIX = ".vexo_old_";

private:
    void move_aside(const std::string& here, const char* spec);
    std::vector<std::string> moved;   // absolute paths of the folders moved aside
    std::thread thread;
    int count = 0;
};
