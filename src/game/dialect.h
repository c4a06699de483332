// dialect: everything that differs between the mods whose servers write this
// family of logs. One dialect per file under game/dialects/, each a table of
// facts: how its InitGame: line names it, its weapons (MOD texts, ids and
// display names), its game type names, how its matches start, pause and end,
// how it names clients, and the readers of its own lines. The parser, the game
// record, the totals and the page writers ask a game's dialect; none of them
// holds a table of its own. A dialect file registers itself (register_dialect
// at static initialisation); adding a mod is adding a file.
//
// Dialects are constant after their registration; the weapon numbers they
// give come from the run's weapon registry (game/weapon_registry.h). Only the
// parser's thread resolves weapons; any thread may read a dialect.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>
#include "total/player.h"

// One MOD text of a dialect's weapon table.
struct weapon_row {
    const char* text;     // the MOD text
    int16_t ids[3];       // its id in each version of the dialect (-1: none); one column for most
    const char* name;     // display name; nullptr: a team change, which changes no counter;
                          // "": a known text named like a text no table knows
};

// A table of rows, shared by dialects that use the same weapons.
struct weapon_table {
    const weapon_row* rows;
    size_t count;
};

// What one of a dialect's own lines asks of the game, as its reader found it.
struct line_event {
    enum kind_t {
        NOTHING,
        CONNECT,          // a connect without a name
        NAMED_CONNECT,    // a connect, then the name with team 0
        TEAM,             // the client's new team
        RENAME,           // the client's new name
        PING,             // a ping sample
        ROUND_START,      // the counting starts (again)
    } kind = NOTHING;
    int client = -1;
    int team = -1;
    int ping = 0;
    char name[PLAYER_NAME_MAX + 1] = "";
};

// Reads the rest of a line after its event word.
using line_reader = void (*)(const char* rest, line_event& out);

struct dialect_word {
    const char* word;     // compared whole, with case
    line_reader read;
};

// A dialect file sets what differs from these defaults (the base game's
// ways, with no weapons, no game type names and no readers of its own).
struct dialect {
    const char* name = nullptr;                 // for the run report
    int order = 0;                        // place among the dialects: the order of weapon tables on pages

    // Which InitGame: lines the dialect claims: gamename values compared
    // whole, and values it claims by their start (null-terminated lists).
    const char* const* game_names = nullptr;
    const char* const* game_name_prefixes = nullptr;
    // A key whose presence on an InitGame: line with a gamename no dialect
    // names makes the game this dialect's (nullptr: none).
    const char* unnamed_game_key = nullptr;
    bool is_default = false;                  // the dialect of every other game
    // The version of the dialect (a column of weapon_row::ids) by gamename.
    int (*version_of)(const char* game_name) = nullptr;

    // Weapons. Ids below ids_by_number count by their id, folded, whatever
    // their MOD text; their weapon numbers are the ids, named by id_names;
    // id_texts are their MOD texts. Other kills count under the weapon their
    // MOD text names in the tables (or the text's own name); a kill without
    // a MOD text under the weapon of its id in the tables when ids_in_tables,
    // else under "weapon <id>".
    int ids_by_number = 0;
    const char* const* id_names = nullptr;
    const char* const* id_texts = nullptr;
    int (*fold)(int id) = nullptr;
    weapon_table tables[2] = {};
    bool ids_in_tables = false;
    // The weapon numbers of the data file's 11 kill and 11 death fields
    // (nullptr: the fields are written as 0, they hold the base game's weapons).
    const int* data_file_weapons = nullptr;
    // Its item lines name the base game's item classes: the game page shows
    // the pickup tables (a dialect with items of its own has none).
    bool base_items = false;

    // Game type names by g_gametype (nullptr entries and other values: "unknown").
    const char* const* game_types = nullptr;
    int game_type_count = 0;
    int one_on_one_type = -1;              // the type whose match ends when a player leaves; -1 none

    // Clients: numbers from client_limit up are no clients (a victim there is
    // no player; a killer there a world death).
    int client_limit = 512;

    // Matches. warmup_pauses: "Warmup:" and "Exit:" pause the counting of
    // kills and items (the game goes on) until a ROUND_START line; else
    // "Warmup:" ends the game and "Exit:" ends its counting.
    bool warmup_pauses = false;
    // An InitGame: while a game is open ends that game first.
    bool init_game_ends_game = false;
    // Chat lines carry the speaker's client number before the name.
    bool chat_number_first = false;
    // "ClientUserinfoChanged: N <no change>" changes nothing.
    bool userinfo_no_change = false;
    // A kill line names a client that has no name yet.
    bool names_from_kill_lines = false;

    // Readers of lines: the dialect's own event words, and readers that
    // replace the usual ones of "ClientConnect:" and "score:" (nullptr: the usual).
    const dialect_word* words = nullptr;
    size_t word_count = 0;
    line_reader connect_reader = nullptr;
    line_reader score_reader = nullptr;

    // Filled at registration: MOD text -> weapon number, and id -> weapon
    // number by version (for ids_in_tables).
    struct resolved {
        std::vector<int> id_numbers;            // ids_by_number: the weapon number of each id (folded)
        std::vector<size_t> id_text_lengths;
        std::unordered_map<std::string, int> by_text;
        struct id_entry {
            int number;
            const char* text;
        };
        std::unordered_map<int, id_entry> by_id[3];
    };
    resolved* weapons = nullptr;
};

// A weapon resolve's special result.
constexpr int WEAPON_TEAM_CHANGE = -1;

// Tables that more than one dialect uses.
extern const char* const quake3_id_names[23];
extern const char* const quake3_id_texts[23];
extern const weapon_table quake3_more_weapons;   // Team Arena's, and the team switch of its mods
int quake3_fold(int id);
extern const char* const quake3_game_types[5];
extern const int quake3_data_file_weapons[11];
// A dialect with the base game's weapons, items, game types and one-on-one
// rule, for the dialects that keep them.
dialect quake3_ways();
extern const weapon_table jedi_environment;      // drowning, falling ... (World of Padman's too)

// Registers a dialect (called by the static initialiser of its file).
bool register_dialect(dialect& d);

// The registered dialects in their order; the weapon tables are resolved
// into the run's weapon registry on the first call.
const std::vector<const dialect*>& all_dialects();
// The dialect of the base game.
const dialect& default_dialect();
// The dialect of a game whose InitGame: line has the gamename `name`
// (has_name false: no gamename key); `line` is the rest of that line.
const dialect& dialect_of_game(const char* name, bool has_name, const char* line);
// Place of a dialect in all_dialects().
int dialect_index(const dialect& d);

// resolve_weapon for an id the dialect does not count by its number.
int resolve_table_weapon(const dialect& d, int version, int id, const char* text, size_t length, bool& disagrees);

// The weapon number of a kill with weapon id `id` and MOD text `text`
// (`length` characters, 0: none) in a game of dialect `d`, version
// `version`; WEAPON_TEAM_CHANGE for a team change. `disagrees` tells
// whether the text is another id's in the dialect's table.
inline int resolve_weapon(const dialect& d, int version, int id, const char* text, size_t length, bool& disagrees) {
    if (id >= 0 && id < d.ids_by_number) {
        disagrees = length && (d.weapons->id_text_lengths[id] != length || memcmp(d.id_texts[id], text, length) != 0);
        return d.weapons->id_numbers[id];
    }
    return resolve_table_weapon(d, version, id, text, length, disagrees);
}

// The MOD text of a kill line's text: the run of letters, digits and
// underscores after its last " by " (length 0: none).
const char* mod_text(const char* text, size_t& length);

// kill_line_weapon once the MOD text must be found.
int kill_line_text_weapon(const dialect& d, int version, int id, const char* rest, const char*& text,
                          size_t& length, bool& disagrees);

// The weapon number of a kill line in a game of dialect `d` (every kill line
// passes here): `rest` is the line after the weapon id; `text` and `length`
// are set to its MOD text. Without `check_text` an id counted by its number
// is taken as it is, and its MOD text is not looked for (text nullptr,
// disagrees false).
inline int kill_line_weapon(const dialect& d, int version, int id, const char* rest, const char*& text,
                            size_t& length, bool& disagrees, bool check_text) {
    if (!check_text && id >= 0 && id < d.ids_by_number) {
        text = nullptr;
        length = 0;
        disagrees = false;
        return d.weapons->id_numbers[id];
    }
    return kill_line_text_weapon(d, version, id, rest, text, length, disagrees);
}

// The display name of a MOD text no table knows: the text after its last
// "MOD_", underscores as blanks, the first letter upper case, the rest lower.
std::string mod_text_name(const char* text, size_t length);
