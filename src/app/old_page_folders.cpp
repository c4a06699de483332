// old_page_folders: moving replaced page folders aside and deleting them, with
// the leftovers of killed runs, on a thread of their own.
#include "app/old_page_folders.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

#include "app/fatal.h"
#include "app/outfile.h"
#include "platform/platform.h"

old_page_folders::~old_page_folders() {
    if (fatal_action_handle >= 0) remove_fatal_action(fatal_action_handle);
    if (thread.joinable()) thread.join();
    outfile::set_space_waiter(nullptr, nullptr);
}

void old_page_folders::set_folder(int results) {
    here = results;
    // A run that ends on an error does not wait for a delete under way (the
    // next run finishes it), but a deleting thread that is done is joined.
    if (fatal_action_handle < 0)
        fatal_action_handle = add_fatal_action([this](std::string&) {
            bool done;
            {
                std::lock_guard<std::mutex> guard(lock);
                done = !deleting;
            }
            if (done && thread.joinable()) thread.join();
        });
    outfile::set_space_waiter([](void* self) { static_cast<old_page_folders*>(self)->wait_for_space(); }, this);
}

static bool digits(const std::string& text, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; i++)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

static bool hex16(const std::string& text, size_t from) {
    if (text.size() != from + 16) return false;
    for (size_t i = from; i < text.size(); i++)
        if (!((text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f'))) return false;
    return true;
}

bool old_page_folders::is_own_name(const std::string& name) {
    const std::string old_prefix = OLD_PREFIX, new_prefix = NEW_PREFIX;
    const bool is_new = name.compare(0, new_prefix.size(), new_prefix) == 0;
    if (!is_new && name.compare(0, old_prefix.size(), old_prefix) != 0) return false;
    const size_t from = is_new ? new_prefix.size() : old_prefix.size();
    const size_t cut = name.find('_', from);
    if (cut == std::string::npos) return is_new && digits(name, from, name.size());
    if (!digits(name, from, cut)) return false;
    return is_new ? hex16(name, cut + 1) : digits(name, cut + 1, name.size());
}

bool old_page_folders::move_aside(const std::string& name) {
    const std::string process = std::to_string(static_cast<long>(getpid()));
    // A name taken (by a leftover, or planted by someone) is passed over.
    for (int tries = 0; tries < 1000; tries++) {
        const std::string aside = std::string(OLD_PREFIX) + process + "_" + std::to_string(++count);
        if (platform::rename_new_at(here, name, here, aside)) {
            moved.push_back(aside);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

void old_page_folders::start(const std::string& keep) {
    std::vector<std::string> names;
    names.swap(moved);
    if (!leftovers_found) {
        leftovers_found = true;
        for (const std::string& name : platform::names_at(here)) {
            if (name == keep || !is_own_name(name)) continue;
            if (!platform::own(platform::entry_at(here, name))) continue;   // another user's: stays
            bool listed = false;
            for (const std::string& n : names) listed = listed || n == name;
            if (!listed) names.push_back(name);
        }
    }
    if (names.empty()) return;
    finish();
    {
        std::lock_guard<std::mutex> guard(lock);
        deleting = true;
    }
    try {
        thread = std::thread([this, names] {
            platform::leave_termination_signals_to_main_thread();
            remove_all(names);
        });
    } catch (const std::system_error&) {
        remove_all(names);   // no thread to be had: delete them now
    }
}

void old_page_folders::remove_all(const std::vector<std::string>& names) {
    std::vector<int> folders;   // handles of the folders being emptied, by index in `names`
    try {
        // The entries of the folders, shared out among the deleters; then
        // the folders, empty by then. A folder is opened once, without
        // following a link, and emptied through that handle: a name swapped
        // meanwhile leads nowhere else.
        std::vector<std::pair<int, std::string>> entries;
        folders.assign(names.size(), -1);
        for (size_t k = 0; k < names.size(); k++) {
            const int fd = platform::open_folder_at(here, names[k]);
            if (fd < 0) continue;
            if (!platform::own(platform::entry_of(fd))) {   // swapped for another user's folder
                platform::close_handle(fd);
                continue;
            }
            folders[k] = fd;
            for (std::string& name : platform::names_at(fd)) entries.emplace_back(fd, std::move(name));
        }
        std::atomic<size_t> next{0};
        auto delete_entries = [&entries, &next] {
            for (size_t i; (i = next++) < entries.size();)
                platform::remove_tree_at(entries[i].first, entries[i].second);
        };
        auto deleter = [&delete_entries] {
            platform::leave_termination_signals_to_main_thread();
            delete_entries();
        };
        std::vector<std::thread> helpers;
        helpers.reserve(DELETERS);
        try {
            for (int t = 1; t < DELETERS && static_cast<size_t>(t) < entries.size(); t++)
                helpers.emplace_back(deleter);
        } catch (...) {
            // fewer helpers, or none
        }
        delete_entries();
        for (std::thread& h : helpers) h.join();
        for (size_t k = 0; k < names.size(); k++) {
            const platform::entry_info e = platform::entry_at(here, names[k]);
            if (folders[k] >= 0) {
                // Still the folder emptied (not one put in its place meanwhile).
                const platform::entry_info f = platform::entry_of(folders[k]);
                if (e.is_dir && e.device == f.device && e.inode == f.inode)
                    unlinkat(here, names[k].c_str(), AT_REMOVEDIR);
            } else if (platform::own(e) && !e.is_dir) {
                unlinkat(here, names[k].c_str(), 0);   // a file or a link: removed as such
            }
        }
    } catch (const std::bad_alloc&) {
        out_of_memory = true;   // the rest is left to the next run
    }
    for (int fd : folders) platform::close_handle(fd);
    std::lock_guard<std::mutex> guard(lock);
    deleting = false;
    ended.notify_all();
}

void old_page_folders::wait_for_space() {
    std::unique_lock<std::mutex> guard(lock);
    ended.wait(guard, [this] { return !deleting; });
}

void old_page_folders::finish() {
    if (thread.joinable()) thread.join();
    if (out_of_memory) fatal_error("Out of memory");
}
