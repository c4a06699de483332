// Jedi Academy (base, JA+, JA++, OpenJK): clients 0 to 31 and non-player
// characters above them, names and teams in connect, team and rename lines,
// maps changed without "ShutdownGame:", OpenJK's score lines.
#include <cstring>

#include "game/dialect.h"
#include "parse/numbers.h"

static const weapon_row rows[] = {
    {"MOD_STUN_BATON", {1, 1, 1}, "Stun baton"},
    {"MOD_MELEE", {2, 2, 2}, "Melee"},
    {"MOD_SABER", {3, 3, 3}, "Saber"},
    {"MOD_BRYAR_PISTOL", {4, 4, 4}, "Bryar pistol"},
    {"MOD_BRYAR_PISTOL_ALT", {5, 5, 5}, "Bryar pistol"},
    {"MOD_BLASTER", {6, 6, 6}, "Blaster"},
    {"MOD_TURBLAST", {7, 7, 7}, "Turret"},
    {"MOD_DISRUPTOR", {8, 8, 8}, "Disruptor"},
    {"MOD_DISRUPTOR_SPLASH", {9, 9, 9}, "Disruptor"},
    {"MOD_DISRUPTOR_SNIPER", {10, 10, 10}, "Disruptor"},
    {"MOD_BOWCASTER", {11, 11, 11}, "Bowcaster"},
    {"MOD_REPEATER", {12, 12, 12}, "Repeater"},
    {"MOD_REPEATER_ALT", {13, 13, 13}, "Repeater"},
    {"MOD_REPEATER_ALT_SPLASH", {14, 14, 14}, "Repeater"},
    {"MOD_DEMP2", {15, 15, 15}, "DEMP 2"},
    {"MOD_DEMP2_ALT", {16, 16, 16}, "DEMP 2"},
    {"MOD_FLECHETTE", {17, 17, 17}, "Flechette"},
    {"MOD_FLECHETTE_ALT_SPLASH", {18, 18, 18}, "Flechette"},
    {"MOD_ROCKET", {19, 19, 19}, "Rocket launcher"},
    {"MOD_ROCKET_SPLASH", {20, 20, 20}, "Rocket launcher"},
    {"MOD_ROCKET_HOMING", {21, 21, 21}, "Rocket launcher"},
    {"MOD_ROCKET_HOMING_SPLASH", {22, 22, 22}, "Rocket launcher"},
    {"MOD_THERMAL", {23, 23, 23}, "Thermal detonator"},
    {"MOD_THERMAL_SPLASH", {24, 24, 24}, "Thermal detonator"},
    {"MOD_TRIP_MINE_SPLASH", {25, 25, 25}, "Trip mine"},
    {"MOD_TIMED_MINE_SPLASH", {26, 26, 26}, "Timed mine"},
    {"MOD_DET_PACK_SPLASH", {27, 27, 27}, "Det pack"},
    {"MOD_VEHICLE", {28, 28, 28}, "Vehicle"},
    {"MOD_CONC", {29, 29, 29}, "Concussion rifle"},
    {"MOD_CONC_ALT", {30, 30, 30}, "Concussion rifle"},
    {"MOD_FORCE_DARK", {31, 31, 31}, "Dark force"},
    {"MOD_SENTRY", {32, 32, 32}, "Sentry gun"},
    {"MOD_TEAM_CHANGE", {42, 42, 42}, nullptr},
    {"MOD_UNKNOWN", {0, 0, 0}, ""},
};

static const weapon_row environment[] = {
    {"MOD_WATER", {33, 33, 33}, "Drowned"},
    {"MOD_SLIME", {34, 34, 34}, "Slime"},
    {"MOD_LAVA", {35, 35, 35}, "Lava"},
    {"MOD_CRUSH", {36, 36, 36}, "Crushed"},
    {"MOD_TELEFRAG", {37, 37, 37}, "Telefrag"},
    {"MOD_FALLING", {38, 38, 38}, "Falling"},
    {"MOD_SUICIDE", {39, 39, 39}, "Suicide"},
    {"MOD_TARGET_LASER", {40, 40, 40}, "Laser"},
    {"MOD_TRIGGER_HURT", {41, 41, 41}, "Hazard"},
};
const weapon_table jedi_environment = {environment, sizeof environment / sizeof environment[0]};

static const char* const game_types[10] = {
    "FFA", "Holocron", "Jedi master", "Duel", "Power duel", nullptr, "team FFA", "Siege", "CTF", "CTY",
};

static const char* const names[] = {"basejka", nullptr};
static const char* const prefixes[] = {"JA+ Mod", "OpenJK", nullptr};

namespace {

// The end of the line's text (before its line end).
const char* text_end(const char* p) {
    while (*p && *p != '\r' && *p != '\n') p++;
    return p;
}

// The last place of `what` in [from, end), or nullptr.
const char* last_of(const char* from, const char* end, const char* what) {
    const size_t n = strlen(what);
    const char* found = nullptr;
    for (const char* p = from; p + n <= end; p++)
        if (memcmp(p, what, n) == 0) found = p;
    return found;
}

const char* first_of(const char* from, const char* end, char c) {
    for (const char* p = from; p < end; p++)
        if (*p == c) return p;
    return nullptr;
}

// A team word (FREE, RED, BLUE, SPECTATOR) as a team number; -1 for another word.
int team_of_word(const char* word, size_t length) {
    static const char* const words[4] = {"FREE", "RED", "BLUE", "SPECTATOR"};
    for (int t = 0; t < 4; t++)
        if (strlen(words[t]) == length && memcmp(words[t], word, length) == 0) return t;
    return -1;
}

// The client number at the start; `rest` moves past it.
int client_number(const char*& rest) {
    const char* end = rest;
    const int n = diverse::read_int(rest, &end);
    rest = end;
    return n;
}

void set_name(line_event& out, const char* from, const char* to) {
    size_t n = static_cast<size_t>(to - from);
    if (n > PLAYER_NAME_MAX) n = PLAYER_NAME_MAX;
    memcpy(out.name, from, n);
    out.name[n] = 0;
}

// The next blank-separated word of [p, end).
const char* next_word(const char*& p, const char* end, size_t& length) {
    while (p < end && *p == ' ') p++;
    const char* start = p;
    while (p < end && *p != ' ') p++;
    length = static_cast<size_t>(p - start);
    return start;
}

// "N (<name>^7) [IP: <address>^7]", "N [<address>] (<guid>) "<name>^7"" or "N".
void read_connect(const char* rest, line_event& out) {
    out.client = client_number(rest);
    out.kind = line_event::CONNECT;
    const char* end = text_end(rest);
    while (rest < end && *rest == ' ') rest++;
    if (rest < end && *rest == '(') {
        const char* close = last_of(rest, end, "^7) [IP: ");
        if (!close || end[-1] != ']') return;
        set_name(out, rest + 1, close);
    } else {
        const char* quote = first_of(rest, end, '"');
        const char* close = quote ? last_of(quote + 1, end, "^7\"") : nullptr;
        if (!close) return;
        set_name(out, quote + 1, close);
    }
    out.kind = line_event::NAMED_CONNECT;
}

// "N <OLD> <NEW>" with the team words.
void read_setteam(const char* rest, line_event& out) {
    out.client = client_number(rest);
    const char* end = text_end(rest);
    size_t length;
    next_word(rest, end, length);
    const char* word = next_word(rest, end, length);
    out.team = team_of_word(word, length);
    if (out.team >= 0) out.kind = line_event::TEAM;
}

// "N [<address>] (<guid>) "<name>^7" <OLD> -> <NEW>".
void read_change_team(const char* rest, line_event& out) {
    out.client = client_number(rest);
    const char* end = text_end(rest);
    const char* arrow = last_of(rest, end, "-> ");
    if (!arrow || !first_of(rest, end, '"')) return;
    const char* p = arrow + 3;
    size_t length;
    const char* word = next_word(p, end, length);
    out.team = team_of_word(word, length);
    if (out.team >= 0) out.kind = line_event::TEAM;
}

// "N [<address>] "<old>^7" -> "<new>^7"".
void read_rename(const char* rest, line_event& out) {
    out.client = client_number(rest);
    const char* end = text_end(rest);
    const char* arrow = last_of(rest, end, "^7\" -> \"");
    if (!arrow) return;
    const char* from = arrow + 8;
    const char* close = last_of(from, end, "^7\"");
    if (!close) return;
    set_name(out, from, close);
    out.kind = line_event::RENAME;
}

// "S  ping: P  client: [<guid>] N "<name>^7"" (OpenJK) or "S ping: P client: N <name>".
void read_score(const char* rest, line_event& out) {
    const char* end = text_end(rest);
    size_t length;
    next_word(rest, end, length);   // the score
    next_word(rest, end, length);   // "ping:"
    const char* ping = next_word(rest, end, length);
    out.ping = diverse::read_int(ping);
    next_word(rest, end, length);   // "client:"
    const char* client = next_word(rest, end, length);
    if (length && *client == '[') client = next_word(rest, end, length);
    if (!length) return;
    out.client = diverse::read_int(client);
    out.kind = line_event::PING;
}

// "(RED) score: ..." and "(BLUE) score: ...": a score line of a team game.
void read_team_score(const char* rest, line_event& out) {
    const char* end = text_end(rest);
    size_t length;
    const char* word = next_word(rest, end, length);
    if (length == 6 && memcmp(word, "score:", 6) == 0) read_score(rest, out);
}

const dialect_word words[] = {
    {"setteam:", read_setteam},
    {"ChangeTeam:", read_change_team},
    {"ClientRename:", read_rename},
    {"(RED)", read_team_score},
    {"(BLUE)", read_team_score},
};

}  // namespace

static dialect make_jedi_academy() {
    dialect d;
    d.name = "Jedi Academy";
    d.order = 30;
    d.game_names = names;
    d.game_name_prefixes = prefixes;
    d.unnamed_game_key = "g_forcePowerDisable";
    d.tables[0] = {rows, sizeof rows / sizeof rows[0]};
    d.tables[1] = jedi_environment;
    d.ids_in_tables = true;
    d.game_types = game_types;
    d.game_type_count = 10;
    d.client_limit = 32;
    d.init_game_ends_game = true;
    d.userinfo_no_change = true;
    d.names_from_kill_lines = true;
    d.words = words;
    d.word_count = sizeof words / sizeof words[0];
    d.connect_reader = read_connect;
    d.score_reader = read_score;
    return d;
}

static dialect jedi_academy = make_jedi_academy();

static const bool registered = register_dialect(jedi_academy);
