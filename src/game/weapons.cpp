// The item class names of the pickup counters.
#include "game/weapons.h"

#include <array>
#include <cstring>

const char* const item_names[ITEM_COUNT] = {
    "item_health_small", "item_health_large", "item_health_mega", "item_health",
    "item_armor_shard", "item_armor_combat", "item_armor_body",
    "item_enviro", "item_flight", "item_haste", "item_invis", "item_quad", "item_regen",
    "holdable_medkit", "holdable_teleporter",
    "team_CTF_blueflag", "team_CTF_redflag",
    "ammo_bfg", "ammo_bullets", "ammo_cells", "ammo_grenades", "ammo_lightning", "ammo_rockets",
    "ammo_shells", "ammo_slugs",
    "weapon_bfg", "weapon_grenadelauncher", "weapon_lightning", "weapon_machinegun",
    "weapon_plasmagun", "weapon_railgun", "weapon_rocketlauncher", "weapon_shotgun",
};

int item_index_of(const char* class_name) {
    // Every class name starts with one of five letters; skip the others fast.
    switch (class_name[0]) {
        case 'i': case 'h': case 't': case 'a': case 'w': break;
        default: return -1;
    }
    static const auto lengths = [] {
        std::array<size_t, ITEM_COUNT> n{};
        for (int i = 0; i < ITEM_COUNT; i++) n[i] = strlen(item_names[i]);
        return n;
    }();
    const size_t length = strlen(class_name);
    for (int i = 0; i < ITEM_COUNT; i++)
        if (lengths[i] == length && class_name[0] == item_names[i][0] && memcmp(class_name, item_names[i], length) == 0)
            return i;
    return -1;
}
