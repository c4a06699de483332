// web_site: the web page set of a run (/w): index.html in the results folder
// and everything else in vexo_web/. It shares the game records, the totals
// and the staging folder with the classic pages, and none of their markup.
//
// Threads: the run's thread calls open(), note_game(), the chat operations
// and finish(); the page thread calls write_game_page() for a game noted
// before, while the run reads on. The page thread touches only the game's
// record and its web_game (and the files of that game page); finish() is
// called once every game page is written.
//
// What is kept while the logs are read is small and per game or per player:
// a line of each game for the lists, the last games of each player, and
// per map its games and the frags of each player there.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "html/web/charset.h"
#include "html/web/web_chat.h"
#include "html/web/web_page.h"

class settings_t;
class resultdata;
class resultdata_total;
class player_total_t;

// What the lists keep of a listed game, and what its page needs besides
// the game record.
struct web_game {
    int number = 0;
    std::string map;            // UTF-8, not escaped
    std::string map_page;       // "m/<name>.html"
    std::string type;           // the game type's name
    std::string date;           // "YYYY-MM-DD HH:MM", or empty
    int32_t duration = 0;       // seconds
    int players = 0;
    bool team_game = false;
    int red = 0, blue = 0;      // team scores of a team game
    std::string leader_html;    // the player with the most frags
    int leader_frags = 0;
    // Per slot of the record, for the page only (emptied once it is written):
    // the name as HTML, and the player's page ("" when the player has none).
    std::vector<std::pair<std::string, std::string>> slots;
};

class web_site {
public:
    web_site(const settings_t& settings, const web_links& links);
    virtual ~web_site();
    web_site(const web_site&) = delete;
    web_site& operator=(const web_site&) = delete;

    // Makes vexo_web/ and its folders in the current folder (the staging
    // folder) and opens the chat page when there is one.
    void open();
    // A game listed as `number` and merged into `totals`: its line of the
    // lists, its players' history. The result stays valid for the run.
    web_game* note_game(const resultdata& game, int number, resultdata_total& totals);
    // vexo_web/g/<number>.html.
    void write_game_page(const resultdata& game, web_game& summary) const;

    void chat_line(const char* speaker, const char* text, bool spectator);
    void chat_game_listed(int number);

    // Every other page: rankings, players, game lists, maps, the data for
    // the search and for machines, the style sheet and script, index.html.
    void finish(resultdata_total& totals);

    // The page of a player of the totals, "" when the player has none.
    std::string page_of(const player_total_t& player) const;
    // The player's name as the pages show it (colours unless /f).
    std::string name_html(const char* raw) const;

    struct history_entry {
        int32_t game, kills, deaths, frags;
    };
    struct map_player {
        int32_t frags = 0, kills = 0, deaths = 0, games = 0;
    };
    struct map_record {
        std::string page;
        std::vector<int32_t> games;
        std::unordered_map<int32_t, map_player> players;   // by player id
    };
    static constexpr size_t HISTORY_KEPT = 50;   // last games of a player kept

private:
    // Writes the ranking pages; returns the players with pages in the order
    // of the main ranking (sort_order).
    std::vector<player_total_t*> write_rankings(const resultdata_total& totals);
    void write_search_data(const std::vector<player_total_t*>& ranked) const;
    void write_json(const std::vector<player_total_t*>& ranked, resultdata_total& totals) const;
    // `place`: 1-based, in the main ranking of `ranked` players.
    void write_player_page(player_total_t& player, resultdata_total& totals, size_t place, size_t ranked) const;
    void write_game_lists() const;
    void write_maps(const std::vector<const player_total_t*>& by_id) const;
    void write_landing(resultdata_total& totals, const std::vector<player_total_t*>& ranked);
    void write_assets() const;
    const std::vector<history_entry>* history_of(const player_total_t& player) const;

    const settings_t& settings;
    web_links links;
    log_charset charset;
    int32_t first_id;                      // player ids of this run are above it
    std::deque<web_game> games;            // in the order listed
    std::vector<std::vector<history_entry>> history;   // by player id - first_id - 1
    std::map<std::string, map_record> maps;             // by map name
    std::unique_ptr<web_chat> chat;
    // The first players of each ranking, for the landing page.
    struct leader_row {
        int order;          // the sort key
        std::string key;    // "ratio", ...
        std::string page;   // the ranking's first page, in vexo_web/
        std::vector<player_total_t*> players;
    };
    std::vector<leader_row> leaders;
};
