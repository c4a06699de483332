// player_t: the statistics record of one player: a slot of one game, a team
// record of one game, or a player's totals over all games; with the derived
// statistics frags, skill, eff and ratio that every page shows.
#pragma once
#include <cstdint>
#include <string>
#include "game/weapons.h"
#include "total/p2p.h"

constexpr int PLAYER_NAME_MAX = 64;

class player_t {
public:
    player_t();
    virtual ~player_t();
    player_t(const player_t& other);
    player_t& operator=(const player_t& other);

    bool listed;
    int32_t id;
    p2p_t p2ps;             // head of the p2p list; p2ps.next is the first record
    p2p_t* p2p_last;        // last record of the p2p list (appending), null when empty
    player_t* next;
    int32_t bot_skill;
    int32_t team;
    std::string name_html;
    std::string name_ascii;
    std::string teams;      // one byte per team change: the team number itself
    int32_t games;
    int32_t ping_count;
    int64_t ping_sum;
    uint32_t kills[MAX_WEAPONS];
    uint32_t killed[MAX_WEAPONS];
    uint32_t suicides[MAX_WEAPONS];
    uint32_t teamkills[MAX_WEAPONS];
    uint32_t world_deaths;
    uint32_t playtime;
    uint32_t mkiol;
    uint32_t mkiol_time;
    int32_t items_total;
    uint32_t items[ITEM_COUNT];
    char name[PLAYER_NAME_MAX + 1];
    double skill_cache;
    double eff_cache;
    double ratio_cache;

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
    int frags() const;
    int score() const { return frags() - static_cast<int>(teamkills[0]); }
    double skill();
    double eff();
    double ratio();
    void add_ping(int sample);

    // The same values computed afresh, leaving the caches alone.
    double compute_skill() const;
    double compute_eff() const;
    double compute_ratio() const;
};
