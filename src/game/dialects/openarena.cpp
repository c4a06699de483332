// OpenArena: the base game's weapons and rules, with game types of its own.
#include "game/dialect.h"

static const char* const game_types[13] = {
    "FFA", "1on1", nullptr, "team DM", "CTF", "1FCTF", "Overload", "Harvester", "Elimination",
    "CTF elimination", "LMS", "Double domination", "Domination",
};

static const char* const names[] = {"baseoa", nullptr};

static dialect openarena = {
    "OpenArena", 10,
    names, nullptr, nullptr, false, nullptr,
    23, quake3_id_names, quake3_id_texts, quake3_fold,
    {quake3_more_weapons, {nullptr, 0}}, false, true,
    game_types, 13, 1,
    512,
    false, false, false, false, false,
    nullptr, 0, nullptr, nullptr,
};

static const bool registered = register_dialect(openarena);
