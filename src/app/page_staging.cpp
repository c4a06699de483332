// page_staging: writing a run's pages aside and publishing them by renames.
#include "app/page_staging.h"

#include <unistd.h>

#include <vector>

#include "app/deltree.h"
#include "app/fatal.h"
#include "app/old_page_folders.h"
#include "platform/platform.h"

page_staging::~page_staging() { discard(); }

bool page_staging::open(const std::string& results_folder, old_page_folders& old) {
    results = results_folder;
    name = std::string(old_page_folders::NEW_PREFIX) + std::to_string(static_cast<long>(getpid()));
    // Left behind by a killed run of the same process id.
    if (platform::entry_exists(results + "/" + name)) old.move_aside(name);
    if (!platform::make_dir(results + "/" + name)) return false;
    folder = results + "/" + name;
    fatal_action_handle = add_fatal_action([this](std::string&) { discard(); });
    return true;
}

void page_staging::discard() {
    if (fatal_action_handle >= 0) remove_fatal_action(fatal_action_handle);
    fatal_action_handle = -1;
    if (!folder.empty()) platform::remove_tree(folder);
    folder.clear();
}

// Moves the entries of the staged folder `from` into the folder `to`, one by
// one; a page that cannot take its place ends the run.
static void move_into(const std::string& from, const std::string& to) {
    for (const platform::dir_entry& e : platform::find_entries(from, "*", false))
        if (!platform::rename_entry(from + "/" + e.name, to + "/" + e.name))
            fatal_error("Couldn't open %s", e.name.c_str());
    platform::remove_dir(from);
}

void page_staging::publish(old_page_folders& old) {
    const std::vector<platform::dir_entry> staged = platform::find_entries(folder, "*", false);
    // A folder where a page must go ends the run before anything is replaced.
    for (const platform::dir_entry& e : staged)
        if (!e.is_dir && platform::is_real_directory(results + "/" + e.name))
            fatal_error("Couldn't open %s", e.name.c_str());

    const std::string here = platform::current_dir();
    platform::change_dir(results);
    for (const std::string& entry : page_folders) {
        const char* page_folder = entry.c_str();
        const std::string published = results + "/" + page_folder;
        if (platform::entry_exists(published)) {
            const bool folder_entry = platform::is_real_directory(published);
            if (folder_entry && !platform::tree_removable(published)) diverse::deltree(page_folder);
            else if (!old.move_aside(page_folder)) diverse::deltree(page_folder);
        }
        const std::string fresh = folder + "/" + page_folder;
        if (!platform::is_real_directory(fresh)) continue;
        if (platform::is_real_directory(published)) move_into(fresh, published);   // what was left of the old one
        else if (!platform::rename_entry(fresh, published)) fatal_error("Couldn't open %s", page_folder);
    }
    for (const platform::dir_entry& e : staged)
        if (!e.is_dir && !platform::rename_entry(folder + "/" + e.name, results + "/" + e.name))
            fatal_error("Couldn't open %s", e.name.c_str());
    platform::remove_dir(folder);
    folder.clear();
    discard();
    platform::change_dir(here);
}
