// resultdata: the record of one game: its settings from "InitGame:", the client
// table, one player record per slot and per team, and the kill matrix; with the
// kill, item and ping accounting.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "game/dialect.h"
#include "game/weapons.h"
#include "total/player.h"

class settings_t;

constexpr int MAX_CLIENT_IDS = 512;
constexpr int MAX_PLAYER_SLOTS = 512;   // at most 511 are ever used

struct client_t {
    int32_t state = 0;   // 0 not seen since the game began, 1 in the game, 2 disconnected
    int32_t slot = -1;   // index into players, -1 none
    int32_t since = 0;   // seconds from which the play time is counted
};

// What a game record hands on from one game to the next: the client table
// with each client's current life (clients stay connected across games), the
// game type, name and dialect of the last "InitGame:", and the team flag. reset()
// leaves it as it is, carry_over() copies it whole, renew() sets it back to
// this fresh state.
struct carried_state {
    client_t clients[MAX_CLIENT_IDS];
    int32_t life_kills[MAX_CLIENT_IDS] = {};
    int32_t life_start[MAX_CLIENT_IDS] = {};
    char game_name[64] = {};
    int32_t game_type = 0;
    char game_type_name[64] = {};
    bool team_game = false;
    const dialect* game_dialect = &default_dialect();
    int32_t dialect_version = 0;   // the column of the dialect's weapon ids
};

// What add_kill did with a kill: counted, or why not.
enum kill_result {
    KILL_RESULT_COUNTED = 0,
    KILL_RESULT_BOT = 1,            // a bot took part and bots are left out
    KILL_RESULT_NO_CLIENT = 2,      // a client without a player, or a negative number
    KILL_RESULT_NOT_A_PLAYER = 3,   // the victim is a non-player character
};

class resultdata : public carried_state {
public:
    explicit resultdata(const settings_t* settings);
    virtual ~resultdata();
    resultdata(const resultdata&) = delete;
    resultdata& operator=(const resultdata&) = delete;

    const settings_t* settings;
    int32_t player_count;
    int32_t start_time;
    player_t team_results[3];
    player_t players[MAX_PLAYER_SLOTS];
    char map_name[64];
    int32_t end_time;        // of the game's last end line (0 before)
    // "YYYY-MM-DD HH:MM" of the "InitGame:" line of a log with dates, else empty.
    char game_date[20];
    int32_t timelimit;
    int32_t fraglimit;
    // The game needed a 512th player slot: it is dropped. From then on no line
    // changes it (only its chat is still handled), and it is never listed.
    bool too_many_clients;

    // Kill matrix [killer slot][victim slot][weapon], 16-bit counters; entry 0
    // of a cell is the pair's total. Owned here, 16 MiB, allocated once.
    uint16_t* cell(int killer, int victim) {
        return kill_matrix.get() + (static_cast<size_t>(killer) * MAX_PLAYER_SLOTS + victim) * MAX_WEAPONS;
    }
    const uint16_t* cell(int killer, int victim) const {
        return kill_matrix.get() + (static_cast<size_t>(killer) * MAX_PLAYER_SLOTS + victim) * MAX_WEAPONS;
    }
    // Slots whose rows and columns the current game may have written: the
    // highest player_count reached since the last reset.
    int32_t matrix_extent() const { return used_extent; }

    void reset();
    // Back to the state of a new record, for the next log file, without
    // allocating the kill matrix again.
    void renew();
    // Takes over what outlives a game (carried_state) from the record the
    // parser filled before, so the next game can be read into this record
    // while the pages of that one are written.
    void carry_over(const resultdata& previous) { carried_state::operator=(previous); }
    void init_game(int time);
    void end_game(int time);
    void clear_clients();
    void set_game_type(int type);
    void set_dialect(const dialect& d, int version);
    int client_connect(int client, int time);
    bool client_userinfo(int client, const char* name, int bot_skill, int team, int time);
    bool client_disconnect(int client, int time);
    int client_spectate(int client, int time);
    int add_player();   // -1, and the game dropped, when all 511 slots are in use
    int find_player(const char* name) const;

    // A kill with weapon number `weapon` of the weapon registry (0: counted
    // in the all-weapons entries only); a kill_result.
    int add_kill(int killer, int victim, int weapon, int time);
    void add_item(int client, const char* class_name, int time);
    void add_ping(int client, int ping);

    int get_player_count() const { return player_count; }
    player_t& get_player(int slot) { return players[slot]; }
    const player_t& get_player(int slot) const { return players[slot]; }
    player_t& get_team(int team) { return team_results[team]; }
    uint32_t get_kills(int slot) const { return players[slot].kills[0]; }
    uint32_t get_weapon_kills(int slot, int w) const { return players[slot].kills[w]; }
    uint32_t get_killed(int slot) const { return players[slot].killed[0]; }
    uint32_t get_weapon_killed(int slot, int w) const { return players[slot].killed[w]; }
    uint32_t get_suicides(int slot) const { return players[slot].suicides[0]; }
    uint32_t get_team_kills(int team) const { return team_results[team].kills[0]; }
    uint32_t get_team_killed(int team) const { return team_results[team].killed[0]; }
    uint32_t get_team_suicides(int team) const { return team_results[team].suicides[0]; }
    unsigned get_kills_vs(int killer, int victim, int w) const { return cell(killer, victim)[w]; }
    uint32_t get_weapon_total(int w) const;

    // Weapons of the game. The per-weapon counters of the slots and the kill
    // matrix hold MAX_WEAPONS weapon slots; slot 0 is the all-weapons total,
    // the others are given to the game's weapons as they are first counted
    // (a base-game weapon keeps its number as its slot when that is free).
    // Weapon number of a weapon slot (0: slot not used).
    int weapon_of_slot(int slot) const { return slot_weapons[slot]; }
    // The weapon number of each weapon slot; nullptr while every slot in use
    // holds the weapon of its own number (a base game's game).
    const int32_t* weapon_numbers() const { return slots_are_numbers ? nullptr : slot_weapons; }
    // The weapon slot of a weapon number, 0 when the game has not counted it.
    int slot_of_weapon(int weapon) const {
        return weapon > 0 && static_cast<size_t>(weapon) < weapon_slots.size() ? weapon_slots[weapon] : 0;
    }
    // The used weapon slots (slot 0 first) in the order of their weapons.
    std::vector<int> weapon_slots_in_order() const;
    // The weapon slot of a weapon number, given to it now if it has none; 0
    // (all weapons only) when every slot is taken.
    int weapon_slot(int weapon) { return slot_for(weapon); }
    // Kills whose weapon found no free slot in the game (counted as weapon 0).
    uint32_t kills_without_weapon_slot() const { return unslotted_kills; }

    // Sorting and compaction of the slots (the kill matrix follows the players).
    void sort_players(int order, bool reverse);
    // A team's frags less its team kills: it decides which team is shown
    // first, and the order of the players of a team game.
    int team_strength(int team) const {
        return team_results[team].frags() - static_cast<int>(team_results[team].teamkills[0]);
    }
    void sort_by_team();
    void swap_players(int a, int b);
    void remove_bots();
    void remove_inactive();

private:
    void close_client(int client, int time);
    void append_team(player_t& p, int team, bool only_if_changed);
    void move_slot(int from, int to, int n);
    template <class Keep> void compact(Keep keep);
    struct matrix_deleter {
        void operator()(uint16_t* p) const;
    };
    std::unique_ptr<uint16_t[], matrix_deleter> kill_matrix;
    int32_t used_extent;
    int32_t slot_weapons[MAX_WEAPONS] = {};
    std::vector<uint8_t> weapon_slots;   // by weapon number
    uint32_t unslotted_kills = 0;
    bool slots_are_numbers = true;
    int slot_for(int weapon) {
        if (weapon > 0 && static_cast<size_t>(weapon) < weapon_slots.size() && weapon_slots[weapon])
            return weapon_slots[weapon];
        return new_slot(weapon);
    }
    int new_slot(int weapon);
    void clear_weapon_slots();
};
