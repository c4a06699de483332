// World of Padman: the base game's rules with weapons of its own, known by
// their MOD texts only (their ids changed between versions).
#include "game/dialect.h"

static const weapon_row rows[] = {
    {"MOD_PUMPER", {-1, -1, -1}, "Pumper"},
    {"MOD_PUNCHY", {-1, -1, -1}, "Punchy"},
    {"MOD_NIPPER", {-1, -1, -1}, "Nipper"},
    {"MOD_BALLOONY", {-1, -1, -1}, "Balloony"},
    {"MOD_BALLOONY_SPLASH", {-1, -1, -1}, "Balloony"},
    {"MOD_BETTY", {-1, -1, -1}, "Betty"},
    {"MOD_BETTY_SPLASH", {-1, -1, -1}, "Betty"},
    {"MOD_BUBBLEG", {-1, -1, -1}, "BubbleG"},
    {"MOD_BUBBLEG_SPLASH", {-1, -1, -1}, "BubbleG"},
    {"MOD_SPLASHER", {-1, -1, -1}, "Splasher"},
    {"MOD_BOASTER", {-1, -1, -1}, "Boaster"},
    {"MOD_IMPERIUS", {-1, -1, -1}, "Imperius"},
    {"MOD_IMPERIUS_SPLASH", {-1, -1, -1}, "Imperius"},
    {"MOD_INJECTOR", {-1, -1, -1}, "Injector"},
    {"MOD_KILLERDUCKS", {-1, -1, -1}, "Killer ducks"},
    {"MOD_BAMBAM", {-1, -1, -1}, "Bambam"},
    {"MOD_BOOMIES", {-1, -1, -1}, "Boomies"},
};

static const char* const names[] = {"wop", nullptr};

static dialect make_world_of_padman() {
    dialect d;
    d.name = "World of Padman";
    d.order = 40;
    d.game_names = names;
    d.tables[0] = {rows, sizeof rows / sizeof rows[0]};
    d.tables[1] = jedi_environment;
    d.game_types = quake3_game_types;
    d.game_type_count = 5;
    d.one_on_one_type = 1;
    return d;
}

static dialect world_of_padman = make_world_of_padman();

static const bool registered = register_dialect(world_of_padman);
