// OpenArena: the base game's weapons and rules, with game types of its own.
#include "game/dialect.h"

static const char* const game_types[13] = {
    "FFA", "1on1", nullptr, "team DM", "CTF", "1FCTF", "Overload", "Harvester", "Elimination",
    "CTF elimination", "LMS", "Double domination", "Domination",
};

static const char* const names[] = {"baseoa", nullptr};

static dialect make_openarena() {
    dialect d;
    d.name = "OpenArena";
    d.order = 10;
    d.game_names = names;
    d.ids_by_number = 23;
    d.id_names = quake3_id_names;
    d.id_texts = quake3_id_texts;
    d.fold = quake3_fold;
    d.tables[0] = quake3_more_weapons;
    d.data_file_weapons = quake3_data_file_weapons;
    d.base_items = true;
    d.game_types = game_types;
    d.game_type_count = 13;
    d.one_on_one_type = 1;
    return d;
}

static dialect openarena = make_openarena();

static const bool registered = register_dialect(openarena);
