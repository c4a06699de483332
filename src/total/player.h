// player_t: the statistics record of one player in one game (a game slot or a
// team record): the counters the accounting fills, the name in three forms,
// and the derived statistics frags, skill, eff and ratio, whose formulas the
// totals record (player_total_t) shares.
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>
#include "game/weapons.h"

constexpr int PLAYER_NAME_MAX = 64;

// The derived statistics from the all-weapons counters; the one definition
// for every page.
namespace player_formula {
// kills - world deaths - suicides; times killed by others do not count.
int frags(uint32_t kills, uint32_t world_deaths, uint32_t suicides);
// kills / (total deaths + 1).
double skill(uint32_t kills, uint32_t killed, uint32_t suicides, uint32_t world_deaths);
// 100 * kills / (kills + total deaths); 0 when both are 0.
double eff(uint32_t kills, uint32_t killed, uint32_t suicides, uint32_t world_deaths);
// FPM - DPM; -9999 without play time.
double ratio(uint32_t kills, uint32_t killed, uint32_t suicides, uint32_t world_deaths, uint32_t playtime);
}  // namespace player_formula

// Everything of a slot that is copied byte for byte: sorting and compaction
// of a game copy slots, and a field added here is copied with the rest.
struct player_counters {
    int32_t bot_skill = -1;      // -1 human, else the bot's skill level
    int32_t team = -1;           // -1 none given
    int32_t ping_count = 0;
    int64_t ping_sum = 0;
    uint32_t kills[MAX_WEAPONS] = {};      // entry 0: all weapons
    uint32_t killed[MAX_WEAPONS] = {};
    uint32_t suicides[MAX_WEAPONS] = {};
    uint32_t teamkills[MAX_WEAPONS] = {};
    uint32_t world_deaths = 0;
    uint32_t playtime = 0;
    uint32_t mkiol = 0;          // most kills in one life
    uint32_t mkiol_time = 0;     // how long that life lasted
    int32_t items_total = 0;
    uint32_t items[ITEM_COUNT] = {};
    char name[PLAYER_NAME_MAX + 1] = {};   // raw, colour codes included
    double skill_cache = 0.0;    // 0.0: not computed yet
    double eff_cache = 0.0;
    double ratio_cache = 0.0;
};
static_assert(std::is_trivially_copyable<player_counters>::value, "slots are copied byte for byte");

// A change of a player's frags in a game: +1 for a kill, -1 for a suicide
// or a death by the world, at the line's time in seconds.
struct frag_step {
    int32_t time;
    int32_t change;
};

class player_t : public player_counters {
public:
    player_t() {}
    virtual ~player_t();
    player_t(const player_t&) = default;
    player_t& operator=(const player_t&) = default;
    // Sorting a game's slots swaps them: its names and frag steps move.
    player_t(player_t&&) = default;
    player_t& operator=(player_t&&) = default;

    std::string name_html;
    std::string name_ascii;
    std::string teams;      // one byte per team change: the team number itself
    // The frag changes of the game in log order, kept only for the web pages
    // (/w): their chart of frags over the game's time.
    std::vector<frag_step> frag_steps;

    void reset();
    void set_name(const char* new_name);
    const char* get_name() const { return name; }
    const std::string& get_display_name(bool plain) const { return plain ? name_ascii : name_html; }
    uint32_t get_kills(int w) const { return kills[w]; }
    uint32_t get_killed(int w) const { return killed[w]; }
    uint32_t total_kills() const { return kills[0]; }
    uint32_t total_killed() const { return killed[0]; }
    uint32_t total_suicides() const { return suicides[0]; }
    uint32_t total_teamkills() const { return teamkills[0]; }
    uint32_t get_world_deaths() const { return world_deaths; }
    uint32_t total_deaths() const { return killed[0] + suicides[0] + world_deaths; }
    int frags() const { return player_formula::frags(kills[0], world_deaths, suicides[0]); }
    int score() const { return frags() - static_cast<int>(teamkills[0]); }
    double skill();
    double eff();
    double ratio();
    void add_ping(int sample);

    // The same values computed afresh, leaving the caches alone.
    double compute_skill() const {
        return player_formula::skill(kills[0], killed[0], suicides[0], world_deaths);
    }
    double compute_eff() const {
        return player_formula::eff(kills[0], killed[0], suicides[0], world_deaths);
    }
    double compute_ratio() const {
        return player_formula::ratio(kills[0], killed[0], suicides[0], world_deaths, playtime);
    }
};
