// web_site: the web page set of a run (/w): index.html in the results folder
// and everything else in vexo_web/. It shares the game records, the totals
// and the staging folder with the classic pages, and none of their markup.
//
// Threads: the run's thread calls open(), note_game(), the chat operations
// and finish(); the page thread calls write_game_page() for a game noted
// before, while the run reads on. The page thread touches only the game's
// record, its web_game_task, the web_game, web_map and type name that task
// points to (whose fields it reads stay as they are) and the file of that
// game page; finish() is called once every game page is written.
//
// What is kept while the logs are read is small and per game or per player:
// a line of each game for the lists, the last games of each player, and
// per map its games and the frags of each player there.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
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

// A map of the run: its games and the frags of each player there.
struct web_map {
    struct player {
        int32_t frags = 0, kills = 0, deaths = 0, games = 0;
    };
    std::string name;           // UTF-8, not escaped
    std::string page;           // "map_<name>.html", in vexo_web/
    std::vector<int32_t> games;
    std::unordered_map<int32_t, player> players;   // by player id
};

// What the lists keep of a listed game: a few numbers (the run keeps one of
// these for every game).
struct web_game {
    int32_t number = 0;
    int32_t duration = 0;       // seconds
    int32_t leader = 0;         // id of the player with the most frags
    int32_t leader_frags = 0;
    int32_t red = 0, blue = 0;  // team scores of a team game
    int32_t players = 0;
    bool team_game = false;
    char date[17] = {};         // "YYYY-MM-DD HH:MM", or empty
    const web_map* map = nullptr;
    const std::string* type = nullptr;   // the game type's name
};

// What the page of a game needs besides its record, for the page thread:
// per slot of the record the name as HTML, and the player's page ("" when
// the player has none).
struct web_game_task {
    const web_game* game;
    bool chat;   // the game has a section on the chat page
    std::vector<std::pair<std::string, std::string>> slots;
};

class web_site {
public:
    web_site(const settings_t& settings, const web_links& links);
    virtual ~web_site();
    web_site(const web_site&) = delete;
    web_site& operator=(const web_site&) = delete;

    // Opens the chat page when there is one. Every file is opened as
    // "vexo_web/<name>" (or "index.html") in the staging folder.
    void open();
    // A game listed as `number` and merged into `totals`: its line of the
    // lists, its players' history, and what its page needs.
    std::shared_ptr<web_game_task> note_game(const resultdata& game, int number, resultdata_total& totals);
    // vexo_web/game_<number>.html.
    void write_game_page(const resultdata& game, const web_game_task& task) const;

    void chat_line(const char* speaker, const char* text, bool spectator);
    void chat_game_listed(int number);

    // Every other page: rankings, players, game lists, maps, the data for
    // the search and for machines, the style sheet and script, index.html.
    void finish(resultdata_total& totals);

    // The page of a player of the totals, "" when the player has none.
    std::string page_of(const player_total_t& player) const;
    // The name of a player by id (the leader of a game) at the end of the
    // run, linked to the player's page when there is one; `site` leads from
    // the page into vexo_web/.
    std::string shown_by_id(int32_t id, const char* site) const;
    // The player's name as the pages show it (colours unless /f).
    std::string name_html(const char* raw) const;

    // A player's texts as the end-of-run pages show them, made once.
    struct player_text {
        std::string html;    // name_html()
        std::string plain;   // plain, UTF-8, not escaped
        std::string key;     // plain, lower-cased: what the script matches
        std::string page;    // page_of()
    };
    const player_text& text_of(const player_total_t& player) const;

    struct history_entry {
        int32_t game, kills, deaths, frags;
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
    void write_maps() const;
    void write_landing(resultdata_total& totals, const std::vector<player_total_t*>& ranked);
    void write_assets() const;
    const std::vector<history_entry>* history_of(const player_total_t& player) const;

    const settings_t& settings;
    web_links links;
    log_charset charset;
    int32_t first_id;                      // player ids of this run are above it
    std::deque<web_game> games;            // in the order listed
    std::vector<std::vector<history_entry>> history;   // by player id - first_id - 1
    std::map<std::string, web_map> maps;     // by raw map name; nodes stay in place
    std::set<std::string> types;             // game type names; nodes stay in place
    std::vector<const player_total_t*> by_id;   // at the end: the totals by player id - first_id - 1
    std::unique_ptr<web_chat> chat;
    mutable std::vector<std::unique_ptr<player_text>> texts;   // by player id - first_id - 1
    bool listed_game_chat = false;   // the game listed last had chat
    // The first players of each ranking, for the landing page.
    struct leader_row {
        int order;          // the sort key
        std::string key;    // "ratio", ...
        std::string page;   // the ranking's first page, in vexo_web/
        std::vector<player_total_t*> players;
    };
    std::vector<leader_row> leaders;
};
