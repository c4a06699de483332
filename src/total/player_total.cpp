// player_total_t: a player's totals with sparse per-weapon counters.
#include "total/player_total.h"

#include <cstring>
#include <string>

#include "app/fatal.h"
#include "parse/funname.h"

std::string lower_case(const char* text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

player_total_t::player_total_t(const char* name, int32_t id) : id(id) {
    const size_t raw = strlen(name);
    if (raw > PLAYER_NAME_MAX) fatal_error("player_t::set_name - overflow");
    const std::string html = diverse::funname_to_html(name);
    const std::string ascii = diverse::funname_to_ascii(name);
    names.reset(new char[raw + html.size() + ascii.size() + 3]);
    memcpy(names.get(), name, raw + 1);
    html_at = static_cast<uint16_t>(raw + 1);
    memcpy(names.get() + html_at, html.c_str(), html.size() + 1);
    ascii_at = static_cast<uint16_t>(html_at + html.size() + 1);
    memcpy(names.get() + ascii_at, ascii.c_str(), ascii.size() + 1);
}

player_total_t::~player_total_t() {}

uint32_t player_total_t::weapon_count(int w, int which) const {
    if (w <= 0 || w >= MAX_WEAPONS || !(weapon_mask & (1u << w))) return 0;
    return per_weapon[3 * __builtin_popcount(weapon_mask & ((1u << w) - 1)) + which];
}

void player_total_t::add_weapons(const player_t& slot) {
    kills0 += slot.kills[0];
    killed0 += slot.killed[0];
    suicides0 += slot.suicides[0];
    uint32_t used = 0;
    for (int w = 1; w < MAX_WEAPONS; w++)
        if (slot.kills[w] | slot.killed[w] | slot.suicides[w]) used |= 1u << w;
    if (used & ~weapon_mask) {
        // Room for the new weapons, in weapon order.
        const uint32_t mask = weapon_mask | used;
        std::unique_ptr<uint32_t[]> grown(new uint32_t[3 * __builtin_popcount(mask)]);
        int from = 0, to = 0;
        for (int w = 1; w < MAX_WEAPONS; w++) {
            if (!(mask & (1u << w))) continue;
            const bool had = weapon_mask & (1u << w);
            for (int k = 0; k < 3; k++) grown[3 * to + k] = had ? per_weapon[3 * from + k] : 0;
            if (had) from++;
            to++;
        }
        per_weapon = std::move(grown);
        weapon_mask = mask;
    }
    int at = 0;
    for (int w = 1; w < MAX_WEAPONS; w++) {
        if (!(weapon_mask & (1u << w))) continue;
        if (used & (1u << w)) {
            per_weapon[3 * at] += slot.kills[w];
            per_weapon[3 * at + 1] += slot.killed[w];
            per_weapon[3 * at + 2] += slot.suicides[w];
        }
        at++;
    }
}
