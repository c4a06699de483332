// OpenArena: the base game's weapons and rules, with game types of its own.
#include "game/dialect.h"

static const char* const game_types[13] = {
    "FFA", "1on1", nullptr, "team DM", "CTF", "1FCTF", "Overload", "Harvester", "Elimination",
    "CTF elimination", "LMS", "Double domination", "Domination",
};

static const char* const names[] = {"baseoa", nullptr};

static dialect make_openarena() {
    dialect d = quake3_ways();
    d.name = "OpenArena";
    d.order = 10;
    d.game_names = names;
    d.game_types = game_types;
    d.game_type_count = 13;
    return d;
}

static dialect openarena = make_openarena();

static const bool registered = register_dialect(openarena);
