// player_t: a game slot's counters, names in three forms and the cached
// derived statistics; the formulas of the derived statistics.
#include "total/player.h"

#include <cstring>

#include "app/fatal.h"
#include "parse/funname.h"

int player_formula::frags(uint32_t kills, uint32_t world_deaths, uint32_t suicides) {
    return static_cast<int>(static_cast<int64_t>(kills) - world_deaths - suicides);
}

double player_formula::skill(uint32_t kills, uint32_t killed, uint32_t suicides, uint32_t world_deaths) {
    const uint32_t deaths = killed + suicides + world_deaths;
    return kills / (static_cast<double>(deaths) + 1.0);
}

double player_formula::eff(uint32_t kills, uint32_t killed, uint32_t suicides, uint32_t world_deaths) {
    double n = static_cast<double>(world_deaths) + suicides + killed + kills;
    return n == 0 ? 0.0 : kills * 100.0 / n;
}

double player_formula::ratio(uint32_t kills, uint32_t killed, uint32_t suicides, uint32_t world_deaths,
                             uint32_t playtime) {
    if (playtime == 0) return -9999.0;
    double t = playtime;
    double f = frags(kills, world_deaths, suicides);
    double d = static_cast<double>(killed) + suicides + world_deaths;
    return f * 60.0 / t - d * 60.0 / t;
}

player_t::~player_t() {}

void player_t::reset() {
    static_cast<player_counters&>(*this) = player_counters();
    name_html.clear();
    name_ascii.clear();
    teams.clear();
    frag_steps.clear();
}

void player_t::set_name(const char* new_name) {
    if (strlen(new_name) > PLAYER_NAME_MAX) fatal_error("player_t::set_name - overflow");
    if (strcmp(name, new_name) == 0) return;
    strcpy(name, new_name);
    name_html = diverse::funname_to_html(name);
    name_ascii = diverse::funname_to_ascii(name);
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
