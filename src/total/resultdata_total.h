// resultdata_total: the totals of a run: one player_t per distinct player (in
// the order first merged), each with its p2p list; players of different games
// are one player when their plain, lower-cased names are equal.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>
#include "total/player.h"

class resultdata;

// Process-wide player numbering: ids 1, 2, 3 ... never reused within a run.
extern int player_id_counter;

class resultdata_total {
public:
    resultdata_total();
    virtual ~resultdata_total();
    resultdata_total(const resultdata_total&) = delete;
    resultdata_total& operator=(const resultdata_total&) = delete;

    player_t players;      // head: players.next is the first record
    int32_t sort_key;

    void add_game(const resultdata& game);
    player_t* find_player(const char* name);
    player_t* add_player(const char* name);
    p2p_t* find_p2p(player_t* player, const char* name);
    p2p_t* add_p2p(player_t* player, const char* name);
    int count_players() const { return player_total; }
    int count_p2ps(const player_t* player) const;

    int sort_players(int order);
    int sort_p2ps(player_t* player, int order);
    static void swap_players(player_t* p, player_t* q);
    static void swap_p2ps(p2p_t* p, p2p_t* q);

private:
    p2p_t* p2p_of(player_t* player, player_t* opponent, const char* name);
    player_t* tail;
    int player_total;
    std::unordered_map<std::string, player_t*> by_name;       // matched name -> record
    // (player id, opponent id) -> p2p record, open addressing with linear
    // probing: a busy server has millions of pairs, and a node-based map costs a
    // heap block and an extra cache miss per pair. Key 0 marks a free slot.
    struct pair_slot {
        uint64_t key;
        p2p_t* record;
    };
    std::vector<pair_slot> pair_index;
    size_t pair_count = 0;
    pair_slot& pair_entry(uint64_t key);   // the key's slot, or the free slot it would take
};
