// old_page_folders: moving the old page folders aside and deleting them on
// the side.
#include "app/old_page_folders.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "app/deltree.h"
#include "platform/platform.h"

old_page_folders::~old_page_folders() { finish(); }

void old_page_folders::clear(const char* spec) {
    // Moved folders are deleted by absolute path, from another thread.
    const std::string here = platform::current_dir();
    if (!here.empty()) move_aside(here, spec);
    // What is left (files, links, folders with parts that cannot be deleted)
    // goes now, as it always did.
    diverse::deltree(spec);
}

void old_page_folders::move_aside(const std::string& here, const char* spec) {
    for (const platform::dir_entry& e : platform::find_entries(".", spec, false)) {
        if (!e.is_dir || !platform::tree_removable(e.name)) continue;
        const std::string aside =
            std::string(PREFIX) + std::to_string(static_cast<long>(getpid())) + "_" + std::to_string(++count);
        if (platform::file_exists(aside) || !platform::rename_entry(e.name, aside)) continue;
        moved.push_back(here + "/" + aside);
    }
}

void old_page_folders::start() {
    finish();
    const std::string here = platform::current_dir();
    std::vector<std::string> folders;
    folders.swap(moved);
    // With those left behind by a run that ended early.
    if (!here.empty()) {
        for (const platform::dir_entry& e : platform::find_entries(".", std::string(PREFIX) + "*", false)) {
            const std::string path = here + "/" + e.name;
            if (e.is_dir && std::find(folders.begin(), folders.end(), path) == folders.end())
                folders.push_back(path);
        }
    }
    if (folders.empty()) return;
    auto remove_all = [folders] {
        for (const std::string& f : folders) platform::remove_tree(f);
    };
    try {
        thread = std::thread(remove_all);
    } catch (const std::system_error&) {
        remove_all();   // no thread to be had: delete them now
    }
}

void old_page_folders::finish() {
    if (thread.joinable()) thread.join();
}
