// player_total_t: one player's totals over all games of a run, kept compact
// for servers that meet hundreds of thousands of names: the names at their
// length in one block, per-weapon counters only for the weapons the player
// used, and the head of the player's p2p list (kept by resultdata_total).
// It reads like player_t, so the pages ask both the same way.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "total/player.h"

// The text with the letters A to Z lower-cased; of a plain name, the name by
// which players are matched.
std::string lower_case(const char* text);

class player_total_t {
public:
    // A new record under the raw name as first seen ("player_t::set_name -
    // overflow" above PLAYER_NAME_MAX characters).
    player_total_t(const char* name, int32_t id);
    virtual ~player_total_t();
    player_total_t(const player_total_t&) = delete;
    player_total_t& operator=(const player_total_t&) = delete;

    bool listed = false;         // set by the ranking pages when the player gets a row
    int32_t id;                  // number of the player's page
    int32_t bot_skill = -1;      // that of the latest game
    int32_t games = 0;
    int32_t ping_count = 0;
    int64_t ping_sum = 0;
    uint32_t world_deaths = 0;
    uint32_t playtime = 0;

    const char* get_name() const { return names.get(); }
    const char* name_html() const { return names.get() + html_at; }
    const char* name_ascii() const { return names.get() + ascii_at; }
    const char* get_display_name(bool plain) const { return plain ? name_ascii() : name_html(); }
    // The plain name lower-cased: players of two games are one when these match.
    std::string matched_name() const { return lower_case(name_ascii()); }

    // Counters by weapon number of the weapon registry (0: all weapons).
    uint32_t get_kills(int w) const { return w == 0 ? kills0 : weapon_count(w, 0); }
    uint32_t get_killed(int w) const { return w == 0 ? killed0 : weapon_count(w, 1); }
    uint32_t get_suicides(int w) const { return w == 0 ? suicides0 : weapon_count(w, 2); }
    // The numbers of the weapons with counters, in weapon order.
    std::vector<int> weapons_used() const;
    uint32_t total_kills() const { return kills0; }
    uint32_t total_killed() const { return killed0; }
    uint32_t total_suicides() const { return suicides0; }
    uint32_t total_teamkills() const { return 0; }   // team kills stay in their game
    uint32_t get_world_deaths() const { return world_deaths; }
    uint32_t total_deaths() const { return killed0 + suicides0 + world_deaths; }
    int frags() const { return player_formula::frags(kills0, world_deaths, suicides0); }
    int score() const { return frags(); }
    // Computed from the counters at each call: the totals are final when
    // anything asks.
    double skill() const { return player_formula::skill(kills0, killed0, suicides0, world_deaths); }
    double eff() const { return player_formula::eff(kills0, killed0, suicides0, world_deaths); }
    double ratio() const { return player_formula::ratio(kills0, killed0, suicides0, world_deaths, playtime); }

    // Adds one game slot's kills, times killed and suicides, every weapon;
    // `weapon_of_slot` gives the weapon number of each of the game's weapon
    // slots (nullptr: each slot's own number).
    void add_weapons(const player_t& slot, const int32_t* weapon_of_slot);

private:
    friend class resultdata_total;
    uint32_t kills0 = 0, killed0 = 0, suicides0 = 0;
    // Bit w (1 to 31): weapon w has its kills, killed and suicides in
    // per_weapon, in weapon order. Bit 0: weapons numbered 32 and more
    // follow them: their count, then per weapon its number and three counters.
    uint32_t weapon_mask = 0;
    std::unique_ptr<uint32_t[]> per_weapon;
    std::unique_ptr<char[]> names;   // raw, HTML and plain form, each ending in a zero byte
    uint16_t html_at = 0, ascii_at = 0;
    // The p2p list: first and last pair of resultdata_total's pairs (index + 1, 0 none).
    uint32_t p2p_first = 0, p2p_last = 0;
    uint32_t index = 0;   // place in resultdata_total's records

    uint32_t weapon_count(int w, int which) const;
    void add_numbered_weapons(const uint32_t (*counts)[4], int n);
    // Adds the counters of the weapons of `used` (numbers 1 to 31, arrays by number).
    void add_low_weapons(uint32_t used, const uint32_t* kills, const uint32_t* killed, const uint32_t* suicides);
};
