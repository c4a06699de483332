// resultdata: game frame (reset, init, end), the client table and play time.
#include "game/resultdata.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/fatal.h"
#include "app/warnings.h"
#include "app/settings.h"

static constexpr size_t MATRIX_CELLS =
    static_cast<size_t>(MAX_PLAYER_SLOTS) * MAX_PLAYER_SLOTS * MAX_WEAPONS;

resultdata::resultdata(const settings_t* settings)
    : settings(settings), player_count(0), start_time(0), end_time(0), timelimit(0), fraglimit(0),
      too_many_clients(false), used_extent(0) {
    // calloc: the zero pages of the 16 MiB matrix cost memory only once written.
    uint16_t* matrix = static_cast<uint16_t*>(calloc(MATRIX_CELLS, sizeof(uint16_t)));
    if (!matrix) fatal_error("Out of memory");
    kill_matrix.reset(matrix);
    map_name[0] = 0;
    game_date[0] = 0;
}

resultdata::~resultdata() {}

void resultdata::matrix_deleter::operator()(uint16_t* p) const { free(p); }

void resultdata::reset() {
    map_name[0] = 0;
    start_time = 0;
    end_time = 0;
    game_date[0] = 0;
    timelimit = 0;
    fraglimit = 0;
    // Only the square of the slots in use can hold entries: sorting and
    // compaction move cells within it, and kills write only cells of slots
    // below player_count.
    for (int k = 0; k < used_extent; k++)
        memset(cell(k, 0), 0, static_cast<size_t>(used_extent) * MAX_WEAPONS * sizeof(uint16_t));
    for (int i = 0; i < player_count; i++) players[i].reset();
    team_results[1].reset();
    team_results[2].reset();
    player_count = 0;
    used_extent = 0;
    too_many_clients = false;
    clear_weapon_slots();
}

void resultdata::clear_weapon_slots() {
    for (int s = 1; s < MAX_WEAPONS; s++) {
        if (slot_weapons[s] > 0 && static_cast<size_t>(slot_weapons[s]) < weapon_slots.size())
            weapon_slots[slot_weapons[s]] = 0;
        slot_weapons[s] = 0;
    }
    unslotted_kills = 0;
    slots_are_numbers = true;
}

int resultdata::new_slot(int weapon) {
    if (weapon <= 0) return 0;
    int slot = 0;
    if (weapon < MAX_WEAPONS && slot_weapons[weapon] == 0) {
        slot = weapon;
    } else {
        for (int s = 1; s < MAX_WEAPONS && !slot; s++)
            if (slot_weapons[s] == 0) slot = s;
    }
    if (!slot) {
        unslotted_kills++;
        return 0;
    }
    if (static_cast<size_t>(weapon) >= weapon_slots.size()) weapon_slots.resize(static_cast<size_t>(weapon) + 1, 0);
    weapon_slots[weapon] = static_cast<uint8_t>(slot);
    slot_weapons[slot] = weapon;
    if (slot != weapon) slots_are_numbers = false;
    return slot;
}

std::vector<int> resultdata::weapon_slots_in_order() const {
    std::vector<int> slots{0};
    for (int s = 1; s < MAX_WEAPONS; s++)
        if (slot_weapons[s]) slots.push_back(s);
    std::sort(slots.begin() + 1, slots.end(), [this](int a, int b) { return slot_weapons[a] < slot_weapons[b]; });
    return slots;
}

void resultdata::renew() {
    reset();
    carried_state::operator=(carried_state());
}

void resultdata::clear_clients() {
    for (int n = 0; n < MAX_CLIENT_IDS; n++) {
        clients[n].state = 0;
        clients[n].slot = -1;
        life_kills[n] = 0;
        life_start[n] = 0;
    }
}

void resultdata::init_game(int time) {
    team_game = false;
    clear_clients();
    start_time = time;
}

void resultdata::end_game(int time) {
    end_time = time;
    if (team_results[1].kills[0] > 0 || team_results[2].kills[0] > 0) team_game = true;
    for (int n = 0; n < MAX_CLIENT_IDS; n++)
        if (clients[n].state == 1) close_client(n, time);
    clear_clients();
}

void resultdata::set_game_type(int type) {
    game_type = type;
    const char* name = nullptr;
    if (type >= 0 && type < game_dialect->game_type_count) name = game_dialect->game_types[type];
    copy_field(game_type_name, sizeof game_type_name, name ? name : "unknown");
}

void resultdata::set_dialect(const dialect& d, int version) {
    game_dialect = &d;
    dialect_version = version;
}

void resultdata::close_client(int n, int time) {
    int slot = clients[n].slot;
    if (slot < 0 || slot >= player_count) return;
    player_t& p = players[slot];
    long long stretch = static_cast<long long>(time) - clients[n].since;
    if (p.team != 3 && stretch > 0) p.playtime += static_cast<uint32_t>(stretch);
    if (life_kills[n] > 0 && static_cast<uint32_t>(life_kills[n]) > p.mkiol) {
        p.mkiol = static_cast<uint32_t>(life_kills[n]);
        p.mkiol_time = static_cast<uint32_t>(time) - static_cast<uint32_t>(life_start[n]);
    }
    life_kills[n] = 0;
}

int resultdata::client_connect(int n, int time) {
    if (n < 0 || n >= MAX_CLIENT_IDS) return 0;
    life_kills[n] = 0;
    life_start[n] = time;
    clients[n].since = time;
    return 0;
}

void resultdata::append_team(player_t& p, int team, bool only_if_changed) {
    char code = static_cast<char>(team & 0xff);
    if (code == 0) return;   // team 0 has the terminator's code and adds nothing
    if (only_if_changed && !p.teams.empty() && p.teams.back() == code) return;
    if (p.teams.size() >= 255) return;
    p.teams += code;
}

bool resultdata::client_userinfo(int n, const char* name, int bot_skill, int team, int time) {
    if (n < 0 || n >= MAX_CLIENT_IDS) return false;
    client_t& c = clients[n];
    bool in_game = c.state == 1 && c.slot >= 0 && c.slot < player_count;
    bool result = game_type == game_dialect->one_on_one_type && in_game && players[c.slot].team != 3 && team == 3;
    switch (c.state) {
        case 0: {
            const int slot = add_player();
            if (slot < 0) break;
            c.slot = slot;
            c.state = 1;
            player_t& p = players[c.slot];
            p.set_name(name);
            p.bot_skill = bot_skill;
            p.team = team;
            append_team(p, team, false);
            break;
        }
        case 2: {
            int found = bot_skill == -1 ? find_player(name) : -1;
            if (found >= 0) {
                c.slot = found;
            } else {
                const int slot = add_player();
                if (slot < 0) break;
                c.slot = slot;
                players[c.slot].set_name(name);
                players[c.slot].bot_skill = bot_skill;
            }
            player_t& p = players[c.slot];
            p.team = team;
            append_team(p, team, false);
            c.state = 1;
            break;
        }
        case 1: {
            const int slot = c.slot;
            if (slot < 0 || slot >= player_count) break;
            player_t& p = players[slot];
            if (team == 3 && p.team != 3) client_spectate(n, time);
            if (team != 3 && p.team == 3) client_connect(n, time);
            p.set_name(name);
            p.team = team;
            append_team(p, team, true);
            break;
        }
        default: break;
    }
    return result;
}

bool resultdata::client_disconnect(int n, int time) {
    if (n < 0 || n >= MAX_CLIENT_IDS) return false;
    client_t& c = clients[n];
    bool has_player = c.slot >= 0 && c.slot < player_count;
    bool result = game_type == game_dialect->one_on_one_type && has_player && players[c.slot].team != 3;
    close_client(n, time);
    c.state = 2;
    return result;
}

int resultdata::client_spectate(int n, int time) {
    if (n < 0 || n >= MAX_CLIENT_IDS || clients[n].slot == -1) return 1;
    close_client(n, time);
    return 0;
}

int resultdata::add_player() {
    if (too_many_clients) return -1;
    if (player_count >= MAX_PLAYER_SLOTS - 1) {
        // One such game must not stop every run over its log.
        warn(WARN_TOO_MANY_CLIENTS, "\nWARNING: game dropped: more than 511 clients");
        too_many_clients = true;
        return -1;
    }
    players[player_count].reset();
    player_count++;
    if (player_count > used_extent) used_extent = player_count;
    return player_count - 1;
}

int resultdata::find_player(const char* name) const {
    for (int i = 0; i < player_count; i++)
        if (strcmp(players[i].name, name) == 0) return i;
    return -1;
}

uint32_t resultdata::get_weapon_total(int w) const {
    uint32_t total = 0;
    for (int i = 0; i < player_count; i++) total += players[i].kills[w];
    return total;
}
