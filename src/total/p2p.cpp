// p2p_t: a player's record against one opponent, weapons stored sparsely.
#include "total/p2p.h"

#include <cstring>

#include "app/fatal.h"
#include "parse/funname.h"
#include "total/player.h"

p2p_t::p2p_t() : next(nullptr), opponent(nullptr) {}

p2p_t::~p2p_t() {}

void p2p_t::set_name(const char* new_name) {
    if (strlen(new_name) > PLAYER_NAME_MAX) fatal_error("p2p_t::set_name - overflow");
    if (name == new_name) return;
    name = new_name;
}

std::string p2p_t::name_html() const { return diverse::funname_to_html(name.c_str()); }
std::string p2p_t::name_ascii() const { return diverse::funname_to_ascii(name.c_str()); }

int p2p_t::slot_of(int weapon) const {
    if (weapon <= 0 || weapon >= 32 || !(mask & (1u << weapon))) return -1;
    return __builtin_popcount(mask & ((1u << weapon) - 1));
}

uint32_t p2p_t::get_kills(int weapon) const {
    if (weapon == 0) return kills0;
    int s = slot_of(weapon);
    return s < 0 ? 0 : per_weapon[2 * s];
}

uint32_t p2p_t::get_killed(int weapon) const {
    if (weapon == 0) return killed0;
    int s = slot_of(weapon);
    return s < 0 ? 0 : per_weapon[2 * s + 1];
}

void p2p_t::add(int weapon, uint32_t kills, uint32_t killed) {
    if (weapon == 0) {
        kills0 += kills;
        killed0 += killed;
        return;
    }
    if (weapon < 0 || weapon >= 32 || (kills == 0 && killed == 0)) return;
    int s = slot_of(weapon);
    if (s < 0) {
        // Make room for the new weapon's pair, keeping weapon order.
        int count = __builtin_popcount(mask);
        int at = __builtin_popcount(mask & ((1u << weapon) - 1));
        std::unique_ptr<uint32_t[]> grown(new uint32_t[2 * (count + 1)]);
        if (at > 0) memcpy(grown.get(), per_weapon.get(), sizeof(uint32_t) * 2 * at);
        grown[2 * at] = 0;
        grown[2 * at + 1] = 0;
        if (count > at)
            memcpy(grown.get() + 2 * (at + 1), per_weapon.get() + 2 * at,
                   sizeof(uint32_t) * 2 * (count - at));
        per_weapon = std::move(grown);
        mask |= 1u << weapon;
        s = at;
    }
    per_weapon[2 * s] += kills;
    per_weapon[2 * s + 1] += killed;
}
