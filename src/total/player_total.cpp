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
    if (w <= 0 || !weapon_mask) return 0;
    const int low = __builtin_popcount(weapon_mask & ~1u);
    if (w < MAX_WEAPONS) {
        if (!(weapon_mask & (1u << w))) return 0;
        return per_weapon[3 * __builtin_popcount(weapon_mask & ~1u & ((1u << w) - 1)) + which];
    }
    if (!(weapon_mask & 1u)) return 0;
    const uint32_t* more = per_weapon.get() + 3 * low;
    for (uint32_t k = 0; k < more[0]; k++)
        if (more[1 + 4 * k] == static_cast<uint32_t>(w)) return more[2 + 4 * k + which];
    return 0;
}

std::vector<int> player_total_t::weapons_used() const {
    std::vector<int> numbers;
    for (int w = 1; w < MAX_WEAPONS; w++)
        if (weapon_mask & (1u << w)) numbers.push_back(w);
    if (weapon_mask & 1u) {
        const uint32_t* more = per_weapon.get() + 3 * __builtin_popcount(weapon_mask & ~1u);
        for (uint32_t k = 0; k < more[0]; k++) numbers.push_back(static_cast<int>(more[1 + 4 * k]));
    }
    return numbers;
}

void player_total_t::add_weapons(const player_t& slot, const int32_t* weapon_of_slot) {
    kills0 += slot.kills[0];
    killed0 += slot.killed[0];
    suicides0 += slot.suicides[0];
    if (!weapon_of_slot) {
        // Every slot holds the weapon of its own number.
        uint32_t used = 0;
        for (int w = 1; w < MAX_WEAPONS; w++)
            if (slot.kills[w] | slot.killed[w] | slot.suicides[w]) used |= 1u << w;
        add_low_weapons(used, slot.kills, slot.killed, slot.suicides);
        return;
    }
    // Weapons numbered below 32 by their bit; the others (a mod's weapons)
    // after them.
    uint32_t used = 0;
    uint32_t kills[MAX_WEAPONS] = {}, killed[MAX_WEAPONS] = {}, suicides[MAX_WEAPONS] = {};
    uint32_t numbered[MAX_WEAPONS][4];
    int more = 0;
    for (int s = 1; s < MAX_WEAPONS; s++) {
        if (!(slot.kills[s] | slot.killed[s] | slot.suicides[s])) continue;
        const int w = weapon_of_slot[s];
        if (w <= 0) continue;
        if (w < MAX_WEAPONS) {
            used |= 1u << w;
            kills[w] = slot.kills[s];
            killed[w] = slot.killed[s];
            suicides[w] = slot.suicides[s];
        } else {
            numbered[more][0] = static_cast<uint32_t>(w);
            numbered[more][1] = slot.kills[s];
            numbered[more][2] = slot.killed[s];
            numbered[more][3] = slot.suicides[s];
            more++;
        }
    }
    add_low_weapons(used, kills, killed, suicides);
    if (more) add_numbered_weapons(numbered, more);
}

void player_total_t::add_low_weapons(uint32_t used, const uint32_t* kills, const uint32_t* killed,
                                     const uint32_t* suicides) {
    if (used & ~weapon_mask) {
        // Room for the new weapons, in weapon order; the numbered ones move along.
        const uint32_t mask = weapon_mask | used;
        const int old_low = __builtin_popcount(weapon_mask & ~1u);
        const int new_low = __builtin_popcount(mask & ~1u);
        const uint32_t trailer = weapon_mask & 1u ? 1 + 4 * per_weapon[3 * old_low] : 0;
        std::unique_ptr<uint32_t[]> grown(new uint32_t[3 * new_low + trailer]);
        int from = 0, to = 0;
        for (int w = 1; w < MAX_WEAPONS; w++) {
            if (!(mask & (1u << w))) continue;
            const bool had = weapon_mask & (1u << w);
            for (int k = 0; k < 3; k++) grown[3 * to + k] = had ? per_weapon[3 * from + k] : 0;
            if (had) from++;
            to++;
        }
        for (uint32_t k = 0; k < trailer; k++) grown[3 * new_low + k] = per_weapon[3 * old_low + k];
        per_weapon = std::move(grown);
        weapon_mask = mask;
    }
    int at = 0;
    for (int w = 1; w < MAX_WEAPONS; w++) {
        if (!(weapon_mask & (1u << w))) continue;
        if (used & (1u << w)) {
            per_weapon[3 * at] += kills[w];
            per_weapon[3 * at + 1] += killed[w];
            per_weapon[3 * at + 2] += suicides[w];
        }
        at++;
    }
}

void player_total_t::add_numbered_weapons(const uint32_t (*counts)[4], int n) {
    const int low = __builtin_popcount(weapon_mask & ~1u);
    std::vector<uint32_t> list;   // number, three counters, sorted by number
    if (weapon_mask & 1u) {
        const uint32_t* more = per_weapon.get() + 3 * low;
        list.assign(more + 1, more + 1 + 4 * more[0]);
    }
    for (int k = 0; k < n; k++) {
        size_t at = 0;
        while (at < list.size() && list[at] < counts[k][0]) at += 4;
        if (at >= list.size() || list[at] != counts[k][0]) list.insert(list.begin() + static_cast<long>(at), {counts[k][0], 0, 0, 0});
        for (int c = 1; c < 4; c++) list[at + c] += counts[k][c];
    }
    std::unique_ptr<uint32_t[]> grown(new uint32_t[3 * low + 1 + list.size()]);
    for (int k = 0; k < 3 * low; k++) grown[k] = per_weapon[k];
    grown[3 * low] = static_cast<uint32_t>(list.size() / 4);
    for (size_t k = 0; k < list.size(); k++) grown[3 * low + 1 + k] = list[k];
    per_weapon = std::move(grown);
    weapon_mask |= 1u;
}
