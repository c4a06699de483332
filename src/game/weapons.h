// The item index with the game's item class names, and the number of weapon
// slots of a game's per-weapon counters (slot 0: all weapons). The weapons
// themselves and their names are the weapon registry's (game/weapon_registry.h).
#pragma once
#include <string>
#include "game/weapon_registry.h"

constexpr int MAX_WEAPONS = 32;
constexpr int ITEM_COUNT = 33;

enum item_index {
    ITEM_HEALTH_SMALL = 0, ITEM_HEALTH_LARGE, ITEM_HEALTH_MEGA, ITEM_HEALTH,
    ITEM_ARMOR_SHARD, ITEM_ARMOR_COMBAT, ITEM_ARMOR_BODY,
    ITEM_ENVIRO, ITEM_FLIGHT, ITEM_HASTE, ITEM_INVIS, ITEM_QUAD, ITEM_REGEN,
    HOLDABLE_MEDKIT, HOLDABLE_TELEPORTER,
    TEAM_CTF_BLUEFLAG, TEAM_CTF_REDFLAG,
    AMMO_BFG, AMMO_BULLETS, AMMO_CELLS, AMMO_GRENADES, AMMO_LIGHTNING, AMMO_ROCKETS,
    AMMO_SHELLS, AMMO_SLUGS,
    WEAPON_BFG, WEAPON_GRENADELAUNCHER, WEAPON_LIGHTNING, WEAPON_MACHINEGUN,
    WEAPON_PLASMAGUN, WEAPON_RAILGUN, WEAPON_ROCKETLAUNCHER, WEAPON_SHOTGUN
};

extern const char* const item_names[ITEM_COUNT];

// Index of an item class name, or -1 for a name the table does not know.
int item_index_of(const char* class_name);
