// The base game's dialect (also Team Arena and the OSP and CPMA mods): the
// rules every game follows that no other dialect claims.
#include "game/dialect.h"

const char* const quake3_id_names[23] = {
    "All weapons", "Shotgun", "Gauntlet", "Machinegun", "Grenade", "Grenade splash",
    "Rocket", "Rocket splash", "Plasma", "Plasma splash", "Railgun", "Lightning gun",
    "BFG", "BFG splash", "weapon 14", "weapon 15", "weapon 16", "weapon 17", "Telefrag",
    "weapon 19", "Suicide", "weapon 21", "weapon 22",
};

const char* const quake3_id_texts[23] = {
    "MOD_UNKNOWN", "MOD_SHOTGUN", "MOD_GAUNTLET", "MOD_MACHINEGUN", "MOD_GRENADE",
    "MOD_GRENADE_SPLASH", "MOD_ROCKET", "MOD_ROCKET_SPLASH", "MOD_PLASMA", "MOD_PLASMA_SPLASH",
    "MOD_RAILGUN", "MOD_LIGHTNING", "MOD_BFG", "MOD_BFG_SPLASH", "MOD_WATER", "MOD_SLIME",
    "MOD_LAVA", "MOD_CRUSH", "MOD_TELEFRAG", "MOD_FALLING", "MOD_SUICIDE", "MOD_TARGET_LASER",
    "MOD_TRIGGER_HURT",
};

// Splash damage counts as the weapon itself.
int quake3_fold(int id) {
    return id == 5 || id == 7 || id == 9 || id == 13 ? id - 1 : id;
}

// Ids from 23 on are named by their MOD text (the ids differ between builds:
// without Team Arena, 23 is the grapple).
static const weapon_row more_rows[] = {
    {"MOD_NAIL", {23, 23, 23}, "Nailgun"},
    {"MOD_CHAINGUN", {24, 24, 24}, "Chaingun"},
    {"MOD_PROXIMITY_MINE", {25, 25, 25}, "Prox launcher"},
    {"MOD_KAMIKAZE", {26, 26, 26}, "Kamikaze"},
    {"MOD_JUICED", {27, 27, 27}, "Prox mine"},
    {"MOD_GRAPPLE", {28, 28, 28}, "Grapple"},
    {"MOD_SWITCHTEAM", {24, 24, 24}, nullptr},
};
const weapon_table quake3_more_weapons = {more_rows, sizeof more_rows / sizeof more_rows[0]};

const char* const quake3_game_types[5] = {"FFA", "1on1", nullptr, "team DM", "CTF"};

// Shotgun, Gauntlet, Machinegun, Grenade, Rocket, Plasma, Railgun, Lightning
// gun, BFG, Telefrag, Suicide.
const int quake3_data_file_weapons[11] = {1, 2, 3, 4, 6, 8, 10, 11, 12, 18, 20};

static const char* const names[] = {"baseq3", "osp", "cpma", nullptr};

dialect quake3_ways() {
    dialect d;
    d.ids_by_number = 23;
    d.id_names = quake3_id_names;
    d.id_texts = quake3_id_texts;
    d.fold = quake3_fold;
    d.tables[0] = quake3_more_weapons;
    d.data_file_weapons = quake3_data_file_weapons;
    d.base_items = true;
    d.game_types = quake3_game_types;
    d.game_type_count = 5;
    d.one_on_one_type = 1;
    return d;
}

static dialect make_quake3() {
    dialect d = quake3_ways();
    d.name = "Quake III";
    d.order = 0;
    d.game_names = names;
    d.is_default = true;
    return d;
}

static dialect quake3 = make_quake3();

static const bool registered = register_dialect(quake3);
