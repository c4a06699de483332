// The item class names of the pickup counters.
#include "game/weapons.h"

#include <cstdio>
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
    for (int i = 0; i < ITEM_COUNT; i++)
        if (class_name[0] == item_names[i][0] && strcmp(class_name, item_names[i]) == 0) return i;
    return -1;
}
