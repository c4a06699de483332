// player_t: counters, names in three forms and the cached derived statistics.
#include "total/player.h"

#include <cstring>

#include "app/fatal.h"
#include "parse/funname.h"

player_t::player_t() : p2p_last(nullptr), next(nullptr) { reset(); }

player_t::~player_t() {}

player_t::player_t(const player_t& other) : p2p_last(nullptr), next(nullptr) { *this = other; }

// Copies are made of game slots only, whose p2p lists are always empty.
player_t& player_t::operator=(const player_t& other) {
    if (this == &other) return *this;
    listed = other.listed;
    id = other.id;
    next = other.next;
    bot_skill = other.bot_skill;
    team = other.team;
    name_html = other.name_html;
    name_ascii = other.name_ascii;
    teams = other.teams;
    games = other.games;
    ping_count = other.ping_count;
    ping_sum = other.ping_sum;
    memcpy(kills, other.kills, sizeof kills);
    memcpy(killed, other.killed, sizeof killed);
    memcpy(suicides, other.suicides, sizeof suicides);
    memcpy(teamkills, other.teamkills, sizeof teamkills);
    world_deaths = other.world_deaths;
    playtime = other.playtime;
    mkiol = other.mkiol;
    mkiol_time = other.mkiol_time;
    items_total = other.items_total;
    memcpy(items, other.items, sizeof items);
    memcpy(name, other.name, sizeof name);
    skill_cache = other.skill_cache;
    eff_cache = other.eff_cache;
    ratio_cache = other.ratio_cache;
    return *this;
}

void player_t::reset() {
    listed = false;
    id = 0;
    next = nullptr;
    bot_skill = -1;
    team = -1;
    name_html.clear();
    name_ascii.clear();
    teams.clear();
    games = 0;
    ping_count = 0;
    ping_sum = 0;
    memset(kills, 0, sizeof kills);
    memset(killed, 0, sizeof killed);
    memset(suicides, 0, sizeof suicides);
    memset(teamkills, 0, sizeof teamkills);
    world_deaths = 0;
    playtime = 0;
    mkiol = 0;
    mkiol_time = 0;
    items_total = 0;
    memset(items, 0, sizeof items);
    name[0] = 0;
    skill_cache = 0.0;
    eff_cache = 0.0;
    ratio_cache = 0.0;
}

void player_t::set_name(const char* new_name) {
    if (strlen(new_name) > PLAYER_NAME_MAX) fatal_error("player_t::set_name - overflow");
    if (strcmp(name, new_name) == 0) return;
    strcpy(name, new_name);
    name_html = diverse::funname_to_html(name);
    name_ascii = diverse::funname_to_ascii(name);
}

int player_t::frags() const {
    return static_cast<int>(static_cast<int64_t>(kills[0]) - world_deaths - suicides[0]);
}

double player_t::compute_skill() const {
    return kills[0] / (static_cast<double>(total_deaths()) + 1.0);
}

double player_t::compute_eff() const {
    double n = static_cast<double>(world_deaths) + suicides[0] + killed[0] + kills[0];
    return n == 0 ? 0.0 : kills[0] * 100.0 / n;
}

double player_t::compute_ratio() const {
    if (playtime == 0) return -9999.0;
    double t = playtime;
    double f = frags();
    double d = static_cast<double>(killed[0]) + suicides[0] + world_deaths;
    return f * 60.0 / t - d * 60.0 / t;
}

double player_t::skill() {
    if (skill_cache == 0.0) skill_cache = compute_skill();
    return skill_cache;
}

double player_t::eff() {
    if (eff_cache == 0.0) eff_cache = compute_eff();
    return eff_cache;
}

double player_t::ratio() {
    if (ratio_cache == 0.0) ratio_cache = compute_ratio();
    return ratio_cache;
}

void player_t::add_ping(int sample) {
    ping_count++;
    ping_sum += sample;
}
