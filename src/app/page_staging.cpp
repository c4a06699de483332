// page_staging: writing a run's pages aside and publishing them by renames.
#include "app/page_staging.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/deltree.h"
#include "app/fatal.h"
#include "app/old_page_folders.h"
#include "app/warnings.h"

std::atomic<page_staging*> page_staging::active{nullptr};

page_staging::~page_staging() { discard(); }

bool page_staging::open(int results_folder) {
    results = results_folder;
    const platform::entry_info here = platform::entry_of(results);
    // Others may create entries in a shared results folder, but the run's
    // pages and page folders are not theirs to change.
    results_mode = here.mode & ~static_cast<uint32_t>(S_IWOTH);
    platform::creation_mask();   // read now, before other threads write
    const std::string prefix =
        std::string(old_page_folders::NEW_PREFIX) + std::to_string(static_cast<long>(getpid())) + "_";
    for (int tries = 0; tries < 16 && handle < 0; tries++) {
        const std::string candidate = prefix + platform::random_hex16();
        if (mkdirat(results, candidate.c_str(), 0700) != 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        // Opened by its name once, then only by the handle: it must be the
        // folder just made, the run's own and closed to everyone else.
        const int fd = platform::open_folder_at(results, candidate);
        const platform::entry_info e = platform::entry_of(fd);
        if (fd < 0 || !e.is_dir || !platform::own(e) || (e.mode & 077) != 0) {
            platform::close_handle(fd);
            continue;
        }
        handle = fd;
        name = candidate;
        identity = e;
    }
    if (handle < 0) return false;
    // Made in a folder with the set-group-ID bit, it has its group already.
    if (identity.gid != here.gid && fchown(handle, static_cast<uid_t>(-1), here.gid) == 0)
        fchmod(handle, 02700);
    fatal_action_handle = add_fatal_action([this](std::string&) { discard(); });
    active = this;
    enter();
    return true;
}

void page_staging::enter() const {
    if (handle >= 0 && fchdir(handle) != 0) fatal_error("Couldn't enter results folder %s", name.c_str());
}

void page_staging::discard() {
    if (fatal_action_handle >= 0) remove_fatal_action(fatal_action_handle);
    fatal_action_handle = -1;
    active = nullptr;
    for (page_dir& d : folders) {
        platform::close_handle(d.staged);
        platform::close_handle(d.replaced);
    }
    folders.clear();
    if (handle < 0) return;
    for (const std::string& entry : platform::names_at(handle)) platform::remove_tree_at(handle, entry);
    // Removed by its name only while that is still the folder emptied.
    const platform::entry_info e = platform::entry_at(results, name);
    if (e.is_dir && e.device == identity.device && e.inode == identity.inode)
        unlinkat(results, name.c_str(), AT_REMOVEDIR);
    platform::close_handle(handle);
    handle = -1;
}

bool page_staging::folder(const std::string& folder_name, page_dir& found) {
    std::lock_guard<std::mutex> guard(lock);
    for (const page_dir& d : folders)
        if (d.name == folder_name) {
            found = d;
            return true;
        }
    page_dir d;
    d.name = folder_name;
    if (mkdirat(handle, folder_name.c_str(), 0700) != 0 && errno != EEXIST) return false;
    d.staged = platform::open_folder_at(handle, folder_name);
    if (d.staged < 0) return false;
    d.replaced = platform::open_folder_at(results, folder_name);
    folders.push_back(d);
    found = d;
    return true;
}

bool page_staging::make_folder(const char* folder_name) {
    page_dir d;
    return folder(folder_name, d);
}

uint32_t page_staging::file_mode(int replaced, const char* file) const {
    if (replaced >= 0) {
        const platform::entry_info e = platform::entry_at(replaced, file);
        if (e.is_file && platform::own(e)) return e.mode & 0777;
    }
    return results_mode & 0666;
}

int page_staging::create_file(const char* path, bool append) {
    if (page_staging* staging = active.load()) return staging->create(path, append);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_EXCL);
    int fd = ::open(path, flags, 0666);
    if (fd < 0 && !append && errno == EEXIST && unlink(path) == 0) fd = ::open(path, flags, 0666);
    return fd;
}

int page_staging::create(const char* path, bool append) {
    int dir = handle, replaced = results;
    const char* file = path;
    if (const char* slash = strchr(path, '/')) {
        file = slash + 1;
        page_dir d;
        if (strchr(file, '/') || !folder(std::string(path, static_cast<size_t>(slash - path)), d)) {
            if (strchr(file, '/')) errno = EINVAL;
            return -1;
        }
        dir = d.staged;
        replaced = d.replaced;
    }
    if (append) {
        const int fd = openat(dir, file, O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT) return fd;
    }
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (append ? O_APPEND : O_EXCL);
    const uint32_t mode = file_mode(replaced, file);
    int fd = openat(dir, file, flags, static_cast<mode_t>(mode));
    // A new file in the place of an old one. (Pages are written where no
    // file is in their way.)
    if (fd < 0 && !append && errno == EEXIST && unlinkat(dir, file, 0) == 0)
        fd = openat(dir, file, flags, static_cast<mode_t>(mode));
    if (fd >= 0 && (mode & platform::creation_mask()) != 0) fchmod(fd, static_cast<mode_t>(mode));
    return fd;
}

// Moves the entries of the staged folder `from` into the published folder of
// that name, one by one; a page that cannot take its place ends the run.
void page_staging::move_into(int from, const char* page_folder) {
    const int to = platform::open_folder_at(results, page_folder);
    if (to < 0) fatal_error("Couldn't open %s", page_folder);
    for (const std::string& entry : platform::names_at(from))
        if (!platform::rename_at(from, entry, to, entry)) fatal_error("Couldn't open %s", entry.c_str());
    platform::close_handle(to);
}

static void not_replaced(const std::string& entry) {
    warn(WARN_NOT_REPLACED, "\nWARNING: %s belongs to another user: not replaced", entry.c_str());
}

void page_staging::publish(old_page_folders& old) {
    std::vector<std::string> files;
    for (const platform::dir_entry& e : platform::entries_at(handle))
        if (!e.is_dir) files.push_back(e.name);
    std::sort(files.begin(), files.end());
    // A folder of the run's user where a page must go ends the run before
    // anything is replaced; another user's is moved aside.
    for (const std::string& f : files) {
        const platform::entry_info e = platform::entry_at(results, f);
        if (!e.is_dir) continue;
        if (platform::own(e)) fatal_error("Couldn't open %s", f.c_str());
        old.move_aside(f);   // when it cannot be moved, that page is not published
    }
    // The page folders' own modes, now that the set-group-ID bit of the
    // staging folder has given their pages the group.
    for (const page_dir& d : folders) {
        const platform::entry_info replaced = platform::entry_of(d.replaced);
        const bool keep = replaced.is_dir && platform::own(replaced);
        fchmod(d.staged, static_cast<mode_t>((keep ? replaced.mode : results_mode) & 03777));
    }
    {
        // A signal that ends the run would leave the site without a folder.
        platform::termination_signals_held held;
        for (const std::string& entry : page_folders) {
            const char* page_folder = entry.c_str();
            const platform::entry_info e = platform::entry_at(results, page_folder);
            bool kept = false;   // another user's entry that stays
            if (!e.exists) {
            } else if (!e.is_dir) {
                // A file or a link in its place is removed as such.
                kept = unlinkat(results, page_folder, 0) != 0 && !platform::own(e);
            } else if (platform::own(e) && !platform::tree_removable_at(results, page_folder)) {
                diverse::deltree(results, page_folder);
            } else if (!old.move_aside(page_folder)) {
                if (platform::own(e)) diverse::deltree(results, page_folder);
                else kept = true;
            }
            const page_dir* fresh = nullptr;
            for (const page_dir& d : folders)
                if (d.name == page_folder) fresh = &d;
            if (!fresh) continue;
            if (kept) {
                not_replaced(page_folder);
                continue;
            }
            if (platform::entry_at(results, page_folder).is_dir)
                move_into(fresh->staged, page_folder);   // what was left of the old one
            else if (!platform::rename_at(handle, page_folder, results, page_folder))
                fatal_error("Couldn't open %s", page_folder);
        }
        for (const std::string& f : files) {
            if (platform::rename_at(handle, f, results, f)) continue;
            const platform::entry_info e = platform::entry_at(results, f);
            if (!e.exists || platform::own(e)) fatal_error("Couldn't open %s", f.c_str());
            not_replaced(f);   // say, in a folder with the sticky bit
        }
    }
    discard();
}
