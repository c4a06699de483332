// resultdata_total: merging each written game into the totals of the run.
// Players are matched by their plain, lower-cased names through an index, and
// pairs of players through the pair index, so a merge costs a few hash
// look-ups whatever the number of players known.
#include "total/resultdata_total.h"

#include <cstring>

#include "game/resultdata.h"
#include "parse/funname.h"

int player_id_counter = 0;

namespace {

uint32_t name_hash(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

// The plain name, lower-cased, equals `matched`.
bool matches(const char* plain, const std::string& matched) {
    size_t k = 0;
    for (; plain[k]; k++) {
        char c = plain[k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (k >= matched.size() || c != matched[k]) return false;
    }
    return k == matched.size();
}

}  // namespace

resultdata_total::resultdata_total() : sort_key(0), names(1024, name_slot{0, 0}) {}

resultdata_total::~resultdata_total() {}

resultdata_total::name_slot& resultdata_total::name_entry(const std::string& matched, uint32_t hash) {
    const size_t mask = names.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        name_slot& e = names[at];
        if (!e.record) return e;
        if (e.hash == hash && matches(records[e.record - 1].name_ascii(), matched)) return e;
    }
}

void resultdata_total::index_name(uint32_t record, const std::string& matched) {
    if (2 * (name_count + 1) > names.size()) {
        // Keep the table at most half full: double it and re-insert.
        std::vector<name_slot> old(2 * names.size(), name_slot{0, 0});
        old.swap(names);
        const size_t mask = names.size() - 1;
        for (const name_slot& e : old) {
            if (!e.record) continue;
            size_t at = e.hash & mask;
            while (names[at].record) at = (at + 1) & mask;
            names[at] = e;
        }
    }
    name_slot& e = name_entry(matched, name_hash(matched));
    if (e.record) return;   // the first record keeps the name
    e = name_slot{name_hash(matched), record + 1};
    name_count++;
}

player_total_t* resultdata_total::find_player(const char* name) {
    return find_matched(diverse::matched_name(name), name);
}

player_total_t* resultdata_total::find_matched(const std::string& matched, const char* name) {
    const name_slot& e = name_entry(matched, name_hash(matched));
    if (e.record) return &records[e.record - 1];
    return add_player(name);
}

player_total_t* resultdata_total::add_player(const char* name) {
    records.emplace_back(name, player_id_counter + 1);
    player_id_counter++;
    player_total_t* p = &records.back();
    p->index = static_cast<uint32_t>(records.size() - 1);
    list.push_back(p);
    index_name(p->index, p->matched_name());
    return p;
}

uint32_t& resultdata_total::next_p2p(const player_total_t& owner, uint32_t pair) {
    p2p_pair& p = pairs[pair];
    return p.low == owner.index ? p.next_low : p.next_high;
}

void resultdata_total::link_p2p(player_total_t& owner, uint32_t pair) {
    next_p2p(owner, pair) = 0;
    if (owner.p2p_last) next_p2p(owner, owner.p2p_last - 1) = pair + 1;
    else owner.p2p_first = pair + 1;
    owner.p2p_last = pair + 1;
}

std::vector<p2p_t> resultdata_total::p2p_list(const player_total_t* player) const {
    std::vector<p2p_t> result;
    for (uint32_t k = player->p2p_first; k; ) {
        const p2p_pair& p = pairs[k - 1];
        const bool high = p.low != player->index;
        result.emplace_back(this, k - 1, high);
        k = high ? p.next_high : p.next_low;
    }
    return result;
}

int resultdata_total::count_p2ps(const player_total_t* player) const {
    int n = 0;
    for (uint32_t k = player->p2p_first; k; n++) {
        const p2p_pair& p = pairs[k - 1];
        k = p.low == player->index ? p.next_low : p.next_high;
    }
    return n;
}

void resultdata_total::add_game(const resultdata& game) {
    const int n = game.player_count;
    // New players are appended and numbered in the slot order of their first game.
    std::vector<player_total_t*> r(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        // A slot keeps its plain name: no conversion needed to match it.
        const player_t& slot = game.players[i];
        r[i] = find_matched(lower_case(slot.name_ascii.c_str()), slot.name);
    }

    for (int i = 0; i < n; i++) {
        const player_t& slot = game.players[i];
        player_total_t& t = *r[i];
        t.add_weapons(slot, game.weapon_numbers());
        t.games++;
        t.bot_skill = slot.bot_skill;
        t.ping_count += slot.ping_count;
        t.ping_sum += slot.ping_sum;
        t.world_deaths += slot.world_deaths;
        t.playtime += slot.playtime;
    }

    // One pair record for each two slots: kills of each on the other by
    // weapon. Two slots of one player (one matched name) make the player's
    // pair with itself, which counts the kills of both ways on each side.
    const uint32_t first_new = pairs.size();
    game_pairs.resize(static_cast<size_t>(n) * n);
    for (int i = 0; i < n; i++) {
        for (int j = i + 1; j < n; j++) {
            bool made;
            const uint32_t pair = pairs.find_or_add(r[i]->index, r[j]->index, made);
            game_pairs[static_cast<size_t>(i) * n + j] = game_pairs[static_cast<size_t>(j) * n + i] = pair;
            if (made) unlinked.push_back(r[i] == r[j] ? 1 : 3);
            const uint16_t* mine = game.cell(i, j);
            const uint16_t* theirs = game.cell(j, i);
            if (r[i]->index <= r[j]->index) pairs.add(pair, mine, theirs, r[i] == r[j], game.weapon_numbers());
            else pairs.add(pair, theirs, mine, false, game.weapon_numbers());
        }
    }

    // Each player's list takes its new opponents in the slot order of the
    // player's first slot, keeping the opponent's raw name of that game.
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            if (j == i) continue;
            const uint32_t pair = game_pairs[static_cast<size_t>(i) * n + j];
            if (pair < first_new) continue;
            const bool high = pairs[pair].low != r[i]->index;
            uint8_t& sides = unlinked[pair - first_new];
            const uint8_t side = high ? 2 : 1;
            if (!(sides & side)) continue;
            sides = static_cast<uint8_t>(sides & ~side);
            link_p2p(*r[i], pair);
            const char* met = game.players[j].name;
            if (strcmp(met, r[j]->get_name()) != 0) pairs.set_first_name(pair, high, met);
        }
    }
    unlinked.clear();
}
