// page_staging: the folder in which a run writes its whole page set (game
// pages and lists, player pages, games.htm, the ranking pages, chat.htm,
// vexodata.txt, a copied vexo.css) before any of it is published. Every page
// is a new file there. Once everything is written and closed, publish()
// renames the new page folders and files over the old ones; a fatal error
// before that removes the folder, and the published pages stay as they were.
//
// The results folder may be shared with other users who may write into it.
// So the run holds the results folder and the staging folder by handles and
// makes, renames and deletes everything relative to them, never by a path
// that another process could swap for a link; the staging folder has a name
// nobody can predict and is open to the run's user alone until publish().
//
// Permissions: every page and page folder gets the permission bits of the
// entry it replaces (a regular file or a real folder of that name), a new one
// those of the results folder (files without the execute bits), and the
// results folder's group where the run may set it: the staging folder takes
// that group with the set-group-ID bit, so that everything made in it has it.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

class old_page_folders;

class page_staging {
public:
    page_staging() = default;
    ~page_staging();   // removes pages that were not published
    page_staging(const page_staging&) = delete;
    page_staging& operator=(const page_staging&) = delete;

    // Creates the folder ".vexo_new_<process id>_<16 hexadecimal digits>" in
    // the results folder (its handle) and makes it the working folder. False
    // when it cannot be created.
    bool open(int results);
    void enter() const;   // makes it the working folder again, by its handle
    const std::string& folder_name() const { return name; }
    // Makes the page folder `folder` (vexo_games, vexo_players) in it, once;
    // on any thread. False when it cannot be made.
    bool make_folder(const char* folder);
    // A further page folder that publish() replaces like vexo_games (the
    // web pages' vexo_web). Called before any page is written.
    void replace_folder(const char* page_folder) { page_folders.push_back(page_folder); }

    // Publishes the staged pages in the results folder, with the signals
    // that end a process held back until the last rename. The page folders
    // they replace are moved aside into `old` (for the next run to delete),
    // or, when a recursive delete cannot remove them whole, emptied in place
    // by diverse::deltree and filled with the new pages. Another user's entry
    // in the place of a page that the run may neither replace nor move aside
    // keeps its place, and a warning says so.
    void publish(old_page_folders& old);

    // Creates (or, with `append`, opens to add to) the output file `path`:
    // a page name, or "<page folder>/<page name>". Relative to the staging
    // folder while one is open, else to the working folder. A file handle,
    // or -1 with errno set.
    static int create_file(const char* path, bool append);

private:
    struct page_dir {
        std::string name;
        int staged = -1;     // the folder being written
        int replaced = -1;   // the published folder of that name, -1: none
    };
    bool folder(const std::string& name, page_dir& found);
    int create(const char* path, bool append);
    uint32_t file_mode(int replaced, const char* file) const;
    void move_into(int from, const char* page_folder);
    void discard();

    int results = -1;
    int handle = -1;
    std::string name;               // of the staging folder, in the results folder
    platform::entry_info identity;  // of the staging folder
    uint32_t results_mode = 0;
    std::mutex lock;                // guards `folders`
    std::vector<page_dir> folders;
    std::vector<std::string> page_folders{"vexo_games", "vexo_players"};   // replaced at publish
    int fatal_action_handle = -1;
    static std::atomic<page_staging*> active;
};
