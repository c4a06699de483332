// diverse::deltree: deletes matching entries of the current folder, folders
// with everything in them. Links are removed as links; failures to delete are
// ignored, only a folder that cannot be entered ends the run. Names match
// with their letter case: "VEXO_Games" is not "vexo_games".
#include "app/deltree.h"

#include "app/fatal.h"
#include "platform/platform.h"

namespace diverse {

void deltree(const char* spec) {
    for (const platform::dir_entry& e : platform::find_entries(".", spec, false, false)) {
        if (e.is_dir && e.name[0] != '.') {
            if (!platform::change_dir(e.name))
                fatal_error("diverse::deltree - couldn't change to lower level directory");
            deltree("*");
            platform::change_dir("..");
            platform::remove_dir(e.name);
        } else {
            platform::delete_file(e.name);
        }
    }
}

}  // namespace diverse
