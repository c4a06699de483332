// Urban Terror (4.1, 4.2, 4.3): weapon ids that moved between versions, a
// match that pauses for warm-ups and half time, maps changed without
// "ShutdownGame:", and chat lines with the client number.
#include <cstring>

#include "game/dialect.h"

static const weapon_row rows[] = {
    {"MOD_WATER", {1, 1, 1}, "Drowned"},
    {"MOD_LAVA", {3, 3, 3}, "Lava"},
    {"MOD_TELEFRAG", {5, 5, 5}, "Telefrag"},
    {"MOD_FALLING", {6, 6, 6}, "Falling"},
    {"MOD_SUICIDE", {7, 7, 7}, "Suicide"},
    {"MOD_TRIGGER_HURT", {9, 9, 9}, "Hazard"},
    {"MOD_CHANGE_TEAM", {10, 10, 10}, nullptr},
    {"UT_MOD_KNIFE", {12, 12, 12}, "Knife"},
    {"UT_MOD_KNIFE_THROWN", {13, 13, 13}, "Thrown knife"},
    {"UT_MOD_BERETTA", {14, 14, 14}, "Beretta"},
    {"UT_MOD_DEAGLE", {15, 15, 15}, "Desert Eagle"},
    {"UT_MOD_SPAS", {16, 16, 16}, "SPAS-12"},
    {"UT_MOD_UMP45", {17, 17, 17}, "UMP45"},
    {"UT_MOD_MP5K", {18, 18, 18}, "MP5K"},
    {"UT_MOD_LR300", {19, 19, 19}, "LR300"},
    {"UT_MOD_G36", {20, 20, 20}, "G36"},
    {"UT_MOD_PSG1", {21, 21, 21}, "PSG-1"},
    {"UT_MOD_HK69", {22, 22, 22}, "HK69"},
    {"UT_MOD_HK69_HIT", {37, 37, 37}, "HK69"},
    {"UT_MOD_BLED", {23, 23, 23}, "Bleeding"},
    {"UT_MOD_KICKED", {24, 24, 24}, "Boot"},
    {"UT_MOD_HEGRENADE", {25, 25, 25}, "HE grenade"},
    {"UT_MOD_SR8", {28, 28, 28}, "SR-8"},
    {"UT_MOD_AK103", {30, 30, 30}, "AK103"},
    {"UT_MOD_SPLODED", {31, 31, 31}, "Sploded"},
    {"UT_MOD_SLAPPED", {32, 32, 32}, "Slapped"},
    {"UT_MOD_SMITED", {-1, 33, 33}, "Smited"},
    {"UT_MOD_BOMBED", {33, 34, 34}, "Bombed"},
    {"UT_MOD_NUKED", {34, 35, 35}, "Nuked"},
    {"UT_MOD_NEGEV", {35, 36, 36}, "Negev"},
    {"UT_MOD_M4", {38, 38, 38}, "M4A1"},
    {"UT_MOD_GLOCK", {-1, 39, 39}, "Glock"},
    {"UT_MOD_COLT1911", {-1, 40, 40}, "Colt 1911"},
    {"UT_MOD_MAC11", {-1, 41, 41}, "MAC-11"},
    {"UT_MOD_FRF1", {-1, -1, 42}, "FR-F1"},
    {"UT_MOD_BENELLI", {-1, -1, 43}, "Benelli"},
    {"UT_MOD_P90", {-1, -1, 44}, "P90"},
    {"UT_MOD_MAGNUM", {-1, -1, 45}, ".44 Magnum"},
    {"UT_MOD_TOD50", {-1, -1, 46}, "TOD-50"},
    {"UT_MOD_FLAG", {39, 42, 47}, "Flag"},
    {"UT_MOD_GOOMBA", {40, 43, 48}, "Goomba"},
    // Known ids whose weapons are named like texts no table knows.
    {"MOD_UNKNOWN", {0, 0, 0}, ""},
    {"MOD_SLIME", {2, 2, 2}, ""},
    {"MOD_CRUSH", {4, 4, 4}, ""},
    {"MOD_TARGET_LASER", {8, 8, 8}, ""},
    {"UT_MOD_WEAPON", {11, 11, 11}, ""},
    {"UT_MOD_FLASHGRENADE", {26, 26, 26}, ""},
    {"UT_MOD_SMOKEGRENADE", {27, 27, 27}, ""},
    {"UT_MOD_SACRIFICE", {29, 29, 29}, ""},
};

static const char* const game_types[12] = {
    "FFA", "LMS", nullptr, "team DM", "TS", "FTL", "CAH", "CTF", "Bomb", "Jump", "Freeze tag", "Gun game",
};

static const char* const names[] = {"q3ut4", "q3urt42", "q3urt43", nullptr};

static int version_of(const char* game_name) {
    if (strcmp(game_name, "q3urt42") == 0) return 1;
    if (strcmp(game_name, "q3urt43") == 0) return 2;
    return 0;
}

static void init_round(const char*, line_event& out) { out.kind = line_event::ROUND_START; }

static const dialect_word words[] = {{"InitRound:", init_round}};

static dialect make_urban_terror() {
    dialect d;
    d.name = "Urban Terror";
    d.order = 20;
    d.game_names = names;
    d.version_of = version_of;
    d.tables[0] = {rows, sizeof rows / sizeof rows[0]};
    d.ids_in_tables = true;
    d.game_types = game_types;
    d.game_type_count = 12;
    d.warmup_pauses = true;
    d.init_game_ends_game = true;
    d.chat_number_first = true;
    d.words = words;
    d.word_count = sizeof words / sizeof words[0];
    return d;
}

static dialect urban_terror = make_urban_terror();

static const bool registered = register_dialect(urban_terror);
