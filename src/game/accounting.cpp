// Kill, item and ping accounting of a game: every kill line updates the two
// players, the teams, the current lives and the kill matrix.
#include <cstdio>

#include "app/settings.h"
#include "app/warnings.h"
#include "game/resultdata.h"

// Adds one to entry `w` and to the all-weapons entry 0; a kill with weapon id 0
// counts once.
static inline void count(uint32_t* counters, int w) {
    counters[w]++;
    if (w != 0) counters[0]++;
}

static inline bool is_side(int team) { return team == 1 || team == 2; }

int resultdata::add_kill(int killer, int victim, int weapon_number, int time) {
    // A negative number is no client, no world and no weapon: drop the line.
    if (killer < 0 || victim < 0 || weapon_number < 0) return KILL_RESULT_NO_CLIENT;
    // A dialect with fewer clients: a victim above them is a non-player
    // character, a killer above them the world.
    const int limit = game_dialect->client_limit;
    if (limit < MAX_CLIENT_IDS && victim >= limit) return KILL_RESULT_NOT_A_PLAYER;
    if (limit < MAX_CLIENT_IDS && killer >= limit && killer <= MAX_CLIENT_IDS) killer = MAX_CLIENT_IDS + 1;
    const bool killer_client = killer < MAX_CLIENT_IDS;
    const bool victim_client = victim < MAX_CLIENT_IDS;
    auto slot_in_use = [this](int client) {
        int s = clients[client].slot;
        return s >= 0 && s < player_count;
    };

    if (settings->skip_bots) {
        bool killer_bot = killer_client && slot_in_use(killer) && players[clients[killer].slot].bot_skill >= 0;
        bool victim_bot = victim_client && slot_in_use(victim) && players[clients[victim].slot].bot_skill >= 0;
        if (killer_bot || victim_bot) return KILL_RESULT_BOT;
    }
    if (killer_client && !slot_in_use(killer)) return KILL_RESULT_NO_CLIENT;
    if (victim_client && !slot_in_use(victim)) return KILL_RESULT_NO_CLIENT;

    const int weapon = slot_for(weapon_number);

    const int killer_slot = killer_client ? clients[killer].slot : -1;
    if (victim_client) {
        const int victim_slot = clients[victim].slot;
        player_t& pv = players[victim_slot];
        const int tv = pv.team;
        const bool steps = settings->web_pages;   // the web pages chart the frags over time
        if (killer_client && killer == victim) {
            count(pv.suicides, weapon);
            if (steps) pv.frag_steps.push_back({time, -1});
            if (is_side(tv)) count(team_results[tv].suicides, weapon);
        } else if (killer_client) {
            player_t& pk = players[killer_slot];
            const int tk = pk.team;
            if (tk != tv || tk == 0) {
                count(pv.killed, weapon);
                count(pk.kills, weapon);
                if (steps) pk.frag_steps.push_back({time, 1});
            }
            if (tk != tv) {
                if (is_side(tk)) count(team_results[tk].kills, weapon);
                if (is_side(tv)) count(team_results[tv].killed, weapon);
            }
            if (tk == tv && is_side(tk)) {
                count(team_results[tk].teamkills, weapon);
                pk.teamkills[0]++;
            }
            life_kills[killer]++;
        }
        if (killer > MAX_CLIENT_IDS) {
            pv.world_deaths++;
            if (steps) pv.frag_steps.push_back({time, -1});
            if (is_side(tv)) team_results[tv].world_deaths++;
        }
        if (life_kills[victim] > 0 && static_cast<uint32_t>(life_kills[victim]) > pv.mkiol) {
            pv.mkiol = static_cast<uint32_t>(life_kills[victim]);
            // Time stamps from the log may lie anywhere in 32 bits: the length
            // of a life wraps like the counter that holds it, without a signed
            // overflow.
            pv.mkiol_time = static_cast<uint32_t>(time) - static_cast<uint32_t>(life_start[victim]);
        }
        life_kills[victim] = 0;
        life_start[victim] = time;

        if (killer_client) {
            uint16_t* c = cell(killer_slot, victim_slot);
            c[weapon]++;
            if (weapon != 0) c[0]++;
        }
    }
    return KILL_RESULT_COUNTED;
}

void resultdata::add_item(int client, const char* class_name, int /*time*/) {
    if (client < 0) return;
    if (client >= MAX_CLIENT_IDS) {
        warn(WARN_ITEM_CLIENT, "\nWARNING: player_id overflow in resultdata::add_item");
        printf("\nLINE: %s\n", class_name);
        return;
    }
    int slot = clients[client].slot;
    if (slot < 0 || slot >= player_count) return;
    player_t& p = players[slot];
    p.items_total++;
    int index = item_index_of(class_name);
    if (index >= 0) p.items[index]++;
}

void resultdata::add_ping(int client, int ping) {
    // A negative sample is no ping: it would pull the average below zero.
    if (client < 0 || client >= MAX_CLIENT_IDS || ping < 0) return;
    int slot = clients[client].slot;
    if (slot < 0 || slot >= player_count) return;
    players[slot].add_ping(ping);
}
