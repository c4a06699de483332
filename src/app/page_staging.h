// page_staging: the folder in which a run writes its whole page set (game
// pages and lists, player pages, games.htm, the ranking pages, chat.htm,
// vexodata.txt, a copied vexo.css) before any of it is published. Every page
// is a new file there. Once everything is written and closed, publish()
// renames the new page folders and files over the old ones; a fatal error
// before that removes the folder, and the published pages stay as they were.
#pragma once
#include <string>
#include <vector>

class old_page_folders;

class page_staging {
public:
    page_staging() = default;
    ~page_staging();   // removes pages that were not published
    page_staging(const page_staging&) = delete;
    page_staging& operator=(const page_staging&) = delete;

    // Creates the folder ".vexo_new_<process id>" in the results folder
    // `results` (absolute). False when it cannot be created.
    bool open(const std::string& results, old_page_folders& old);
    const std::string& path() const { return folder; }   // absolute
    const std::string& folder_name() const { return name; }
    // A further page folder that publish() replaces like vexo_games (the
    // web pages' vexo_web).
    void replace_folder(const char* page_folder) { page_folders.push_back(page_folder); }

    // Publishes the staged pages in the results folder. The page folders they
    // replace are moved aside into `old` (for the next run to delete), or,
    // when a recursive delete cannot remove them whole, emptied in place by
    // diverse::deltree and filled with the new pages.
    void publish(old_page_folders& old);

private:
    void discard();
    std::string results;
    std::string name;     // of the folder, in the results folder
    std::string folder;   // absolute path
    int fatal_action_handle = -1;
    std::vector<std::string> page_folders{"vexo_games", "vexo_players"};
};
