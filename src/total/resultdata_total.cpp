// resultdata_total: merging each written game into the totals of the run.
// Players are matched by their plain, lower-cased names through an index, so a
// merge costs a few hash look-ups whatever the number of players known.
#include "total/resultdata_total.h"

#include <cstring>
#include <vector>

#include "game/resultdata.h"
#include "parse/funname.h"

int player_id_counter = 0;

resultdata_total::resultdata_total() : sort_key(0), tail(&players), player_total(0) {}

resultdata_total::~resultdata_total() {
    // Walk the lists instead of recursing: a year of logs has many players.
    player_t* p = players.next;
    while (p) {
        p2p_t* q = p->p2ps.next;
        while (q) {
            p2p_t* next = q->next;
            delete q;
            q = next;
        }
        player_t* next = p->next;
        delete p;
        p = next;
    }
}

player_t* resultdata_total::find_player(const char* name) {
    auto it = by_name.find(diverse::matched_name(name));
    if (it != by_name.end()) return it->second;
    return add_player(name);
}

player_t* resultdata_total::add_player(const char* name) {
    player_t* p = new player_t();
    p->set_name(name);
    tail->next = p;
    tail = p;
    p->id = ++player_id_counter;
    player_total++;
    by_name.emplace(diverse::matched_name(name), p);   // the first record keeps the name
    return p;
}

p2p_t* resultdata_total::add_p2p(player_t* player, const char* name) {
    p2p_t* q = new p2p_t();
    q->set_name(name);
    if (player->p2p_last) player->p2p_last->next = q;
    else player->p2ps.next = q;
    player->p2p_last = q;
    return q;
}

resultdata_total::pair_slot& resultdata_total::pair_entry(uint64_t key) {
    if (2 * (pair_count + 1) > pair_index.size()) {
        // Keep the table at most half full: double it and re-insert.
        std::vector<pair_slot> old(pair_index.empty() ? 1024 : 2 * pair_index.size(), pair_slot{0, nullptr});
        old.swap(pair_index);
        const size_t mask = pair_index.size() - 1;
        for (const pair_slot& e : old) {
            if (!e.key) continue;
            size_t h = (e.key * 0x9E3779B97F4A7C15ull) >> 20 & mask;
            while (pair_index[h].key) h = (h + 1) & mask;
            pair_index[h] = e;
        }
    }
    const size_t mask = pair_index.size() - 1;
    size_t h = (key * 0x9E3779B97F4A7C15ull) >> 20 & mask;
    while (pair_index[h].key && pair_index[h].key != key) h = (h + 1) & mask;
    return pair_index[h];
}

p2p_t* resultdata_total::p2p_of(player_t* player, player_t* opponent, const char* name) {
    // Player ids start at 1, so no key is 0.
    const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(player->id)) << 32) |
                         static_cast<uint32_t>(opponent->id);
    pair_slot& e = pair_entry(key);
    if (e.key) return e.record;
    p2p_t* q = add_p2p(player, name);
    q->opponent = opponent;
    e.key = key;
    e.record = q;
    pair_count++;
    return q;
}

p2p_t* resultdata_total::find_p2p(player_t* player, const char* name) {
    std::string wanted = diverse::matched_name(name);
    auto it = by_name.find(wanted);
    if (it != by_name.end()) return p2p_of(player, it->second, name);
    // An opponent without a totals record: search the list by name.
    for (p2p_t* q = player->p2ps.next; q; q = q->next)
        if (diverse::matched_name(q->get_name()) == wanted) return q;
    return add_p2p(player, name);
}

int resultdata_total::count_p2ps(const player_t* player) const {
    int n = 0;
    for (const p2p_t* q = player->p2ps.next; q; q = q->next) n++;
    return n;
}

void resultdata_total::add_game(const resultdata& game) {
    const int n = game.player_count;
    // New players are appended and numbered in the slot order of their first game.
    std::vector<player_t*> records(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) records[i] = find_player(game.players[i].name);

    for (int i = 0; i < n; i++) {
        const player_t& slot = game.players[i];
        player_t* r = records[i];
        for (int w = 0; w < MAX_WEAPONS; w++) {
            r->kills[w] += slot.kills[w];
            r->killed[w] += slot.killed[w];
            r->suicides[w] += slot.suicides[w];
        }
        for (int j = 0; j < n; j++) {
            if (j == i) continue;
            p2p_t* s = p2p_of(r, records[j], game.players[j].name);
            const uint16_t* mine = game.cell(i, j);
            const uint16_t* theirs = game.cell(j, i);
            // Most pairs of a game never met: one pass over both cells tells.
            uint64_t any = 0;
            for (int k = 0; k < MAX_WEAPONS / 4; k++) {
                uint64_t a, b;
                memcpy(&a, mine + 4 * k, sizeof a);
                memcpy(&b, theirs + 4 * k, sizeof b);
                any |= a | b;
            }
            if (!any) continue;
            for (int w = 0; w < MAX_WEAPONS; w++)
                if (mine[w] | theirs[w]) s->add(w, mine[w], theirs[w]);
        }
        r->games++;
        r->bot_skill = slot.bot_skill;
        r->ping_count += slot.ping_count;
        r->ping_sum += slot.ping_sum;
        r->world_deaths += slot.world_deaths;
        r->playtime += slot.playtime;
    }
}
