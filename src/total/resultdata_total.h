// resultdata_total: the totals of a run: one player_total_t per distinct
// player (in the order first merged), each with its p2p list; players of
// different games are one player when their plain, lower-cased names are
// equal.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>
#include "total/p2p.h"
#include "total/player_total.h"

class resultdata;

// Process-wide player numbering: ids 1, 2, 3 ... never reused within a run.
extern int player_id_counter;

// A player's figure under a numeric ranking key (SORT_RATIO ... SORT_PLAYTIME;
// 0 for the name and team orders): the larger ranks first.
double ranking_figure(const player_total_t& p, int order);

class resultdata_total {
public:
    resultdata_total();
    virtual ~resultdata_total();
    resultdata_total(const resultdata_total&) = delete;
    resultdata_total& operator=(const resultdata_total&) = delete;

    int32_t sort_key;

    void add_game(const resultdata& game);
    // The record whose name matches (plain, lower-cased), else a new one.
    player_total_t* find_player(const char* name);
    // A new record at the end of the list.
    player_total_t* add_player(const char* name);
    int count_players() const { return static_cast<int>(list.size()); }
    int count_p2ps(const player_total_t* player) const;

    // The players in list order: the order first merged, or that of the
    // latest sort_players.
    const std::vector<player_total_t*>& player_list() const { return list; }
    // A player's p2p records in list order: the order first met, or that of
    // the latest sort_p2ps.
    std::vector<p2p_t> p2p_list(const player_total_t* player) const;

    int sort_players(int order);
    int sort_p2ps(player_total_t* player, int order);

    const player_total_t* player_at(uint32_t index) const { return &records[index]; }
    const p2p_pairs& pair_records() const { return pairs; }
    // Heap bytes held for the p2p records (pair records, their index, the
    // per-weapon counters, first-met names): the benchmark's memory figure.
    size_t p2p_bytes() const { return pairs.bytes(); }

private:
    std::deque<player_total_t> records;   // in the order made: a record's index is its place here
    std::vector<player_total_t*> list;
    // Matched name -> record, open addressing: the hash of the matched name
    // and the record's index + 1 (0: free).
    struct name_slot {
        uint32_t hash;
        uint32_t record;
    };
    std::vector<name_slot> names;
    size_t name_count = 0;
    name_slot& name_entry(const std::string& matched, uint32_t hash);
    void index_name(uint32_t record, const std::string& matched);
    // find_player of a name whose matched form is known.
    player_total_t* find_matched(const std::string& matched, const char* name);

    p2p_pairs pairs;
    uint32_t& next_p2p(const player_total_t& owner, uint32_t pair);
    void link_p2p(player_total_t& owner, uint32_t pair);
    std::vector<uint32_t> game_pairs;   // the pair of each two slots of the game being merged
    std::vector<uint8_t> unlinked;      // sides of the game's new pairs not yet in their lists
};
