// old_page_folders: moving replaced page folders aside and deleting them, with
// the leftovers of killed runs, on a thread of their own.
#include "app/old_page_folders.h"

#include <unistd.h>

#include <new>
#include <system_error>
#include <vector>

#include "app/fatal.h"
#include "platform/platform.h"

old_page_folders::~old_page_folders() {
    if (thread.joinable()) thread.join();
}

void old_page_folders::set_folder(const std::string& folder) { here = folder; }

static bool digits(const std::string& text, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; i++)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

bool old_page_folders::is_own_name(const std::string& name) {
    const std::string old_prefix = OLD_PREFIX, new_prefix = NEW_PREFIX;
    if (name.compare(0, new_prefix.size(), new_prefix) == 0)
        return digits(name, new_prefix.size(), name.size());
    if (name.compare(0, old_prefix.size(), old_prefix) != 0) return false;
    const size_t cut = name.find('_', old_prefix.size());
    return cut != std::string::npos && digits(name, old_prefix.size(), cut) &&
           digits(name, cut + 1, name.size());
}

bool old_page_folders::move_aside(const std::string& name) {
    const std::string aside =
        std::string(OLD_PREFIX) + std::to_string(static_cast<long>(getpid())) + "_" + std::to_string(++count);
    const std::string from = here + "/" + name, to = here + "/" + aside;
    if (platform::entry_exists(to) || !platform::rename_entry(from, to)) return false;
    moved.push_back(to);
    return true;
}

void old_page_folders::start(const std::string& keep) {
    std::vector<std::string> paths;
    paths.swap(moved);
    if (!leftovers_found) {
        leftovers_found = true;
        for (const platform::dir_entry& e : platform::find_entries(here, ".vexo_*", false, false)) {
            const std::string path = here + "/" + e.name;
            if (e.name == keep || !is_own_name(e.name)) continue;
            bool listed = false;
            for (const std::string& p : paths) listed = listed || p == path;
            if (!listed) paths.push_back(path);
        }
    }
    if (paths.empty()) return;
    finish();
    auto remove_all = [this, paths] {
        try {
            // The entries of the folders, shared out among the deleters; then
            // the folders, empty by then.
            std::vector<std::string> entries;
            for (const std::string& p : paths)
                for (const std::string& name : platform::folder_names(p)) entries.push_back(p + "/" + name);
            std::atomic<size_t> next{0};
            auto deleter = [&entries, &next] {
                for (size_t i; (i = next++) < entries.size();) platform::remove_tree(entries[i]);
            };
            std::vector<std::thread> helpers;
            helpers.reserve(DELETERS);
            try {
                for (int t = 1; t < DELETERS && static_cast<size_t>(t) < entries.size(); t++)
                    helpers.emplace_back(deleter);
            } catch (...) {
                // fewer helpers, or none
            }
            deleter();
            for (std::thread& h : helpers) h.join();
            for (const std::string& p : paths) platform::remove_tree(p);
        } catch (const std::bad_alloc&) {
            out_of_memory = true;   // the rest is left to the next run
        }
    };
    try {
        thread = std::thread(remove_all);
    } catch (const std::system_error&) {
        remove_all();   // no thread to be had: delete them now
    }
}

void old_page_folders::finish() {
    if (thread.joinable()) thread.join();
    if (out_of_memory) fatal_error("Out of memory");
}
