// diverse::deltree: deletes matching entries of a folder, folders with
// everything in them. Links are removed as links; failures to delete are
// ignored, only a folder that cannot be entered ends the run. Names match
// with their letter case: "VEXO_Games" is not "vexo_games". Every folder is
// entered by a handle opened without following a link, so a folder swapped
// for a link meanwhile is removed as the link it now is.
#include "app/deltree.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "app/fatal.h"
#include "platform/platform.h"

namespace diverse {

static void deltree(int folder, const char* spec, int depth) {
    for (const platform::dir_entry& e : platform::entries_at(folder)) {
        const std::string& name = e.name;
        if (!platform::wildcard_match(spec, name.c_str(), false)) continue;
        if (e.is_dir && name[0] != '.') {
            if (depth >= 64) continue;   // deeper than any page folder: left
            const int sub = platform::open_folder_at(folder, name);
            if (sub < 0 && (errno == ENOTDIR || errno == ELOOP)) {
                unlinkat(folder, name.c_str(), 0);   // no folder any more
                continue;
            }
            if (sub < 0 && errno == ENOENT) continue;   // renamed or removed meanwhile
            if (sub < 0) fatal_error("diverse::deltree - couldn't change to lower level directory");
            deltree(sub, "*", depth + 1);
            platform::close_handle(sub);
            unlinkat(folder, name.c_str(), AT_REMOVEDIR);
        } else if (!e.is_dir) {
            unlinkat(folder, name.c_str(), 0);
        }
    }
}

void deltree(int folder, const char* spec) { deltree(folder, spec, 0); }

}  // namespace diverse
