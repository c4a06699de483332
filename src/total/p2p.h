// Player-versus-player records: what two players of the totals did against
// each other over all games, by weapon. Player A's record for B and B's record
// for A hold the same counts seen from the two sides, so one pair record
// (p2p_pair) serves both; p2p_t is one side of it, as one player's list shows
// it. A busy server has millions of pairs: a pair record is 32 bytes, its
// weapon counters sit in an arena only for the weapons the two used, and the
// opponent's raw name as first met is kept only when it differs from the
// name of the opponent's own record, once per distinct text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class resultdata_total;
class player_total_t;

struct p2p_pair {
    uint32_t low, high;             // the two players' indexes in the totals, low <= high
    uint32_t next_low, next_high;   // next pair in low's and in high's p2p list: index + 1, 0 at the end
    uint32_t kills_low;             // kills by low on high, all weapons
    uint32_t kills_high;            // kills by high on low
    uint32_t weapons;               // bit w (1 to 30): weapon w has counters in the run;
                                    // bit 31: weapons numbered 31 and more have counters
                                    // (in p2p_pairs' more_weapons);
                                    // bit 0: a side keeps a first-met name of its own
    uint32_t run;                   // the run's place in the arena: per weapon, low's and high's kills
};

// The pair records of the totals, the index that finds a pair by its two
// players, and the arena of per-weapon counters.
class p2p_pairs {
public:
    p2p_pairs();
    virtual ~p2p_pairs();
    p2p_pairs(const p2p_pairs&) = delete;
    p2p_pairs& operator=(const p2p_pairs&) = delete;

    uint32_t size() const { return count; }
    p2p_pair& operator[](uint32_t pair) { return chunks[pair >> CHUNK_BITS][pair & (CHUNK - 1)]; }
    const p2p_pair& operator[](uint32_t pair) const { return chunks[pair >> CHUNK_BITS][pair & (CHUNK - 1)]; }

    // The pair of players a and b (indexes of the totals); a new one, all
    // counters 0, when there is none (`made` tells).
    uint32_t find_or_add(uint32_t a, uint32_t b, bool& made);
    // Adds a game's kill-matrix cells of the two players: kills by weapon
    // slot (entry 0 all weapons) of the low player on the high one, and the
    // other way; `weapon_of_slot` gives the weapon number of each slot
    // (nullptr: each slot's own number). A
    // player's pair with itself (two slots of one name) counts both cells on
    // each side.
    void add(uint32_t pair, const uint16_t* low_on_high, const uint16_t* high_on_low, bool self,
             const int32_t* weapon_of_slot);
    // Kills by one side (high: the high player) with weapon number w (0: all).
    uint32_t kills(uint32_t pair, bool high, int w) const;
    // The raw name under which `high`'s side first met the other, when it is
    // not the other's own record name; null when it is.
    void set_first_name(uint32_t pair, bool high, const char* name);
    const char* first_name(uint32_t pair, bool high) const;
    // Heap bytes held: pair records, index, arena, names.
    size_t bytes() const;

private:
    static constexpr int CHUNK_BITS = 16;
    static constexpr uint32_t CHUNK = 1u << CHUNK_BITS;
    std::vector<std::unique_ptr<p2p_pair[]>> chunks;
    uint32_t count = 0;

    // Open addressing, linear probing: an entry holds the pair's index + 1 in
    // its low index_bits bits and bits of the pair's hash above them, so most
    // probes of other pairs are told apart without reading their records.
    std::vector<uint32_t> index;
    int index_bits = 20;
    void rebuild_index();
    uint32_t& entry_for(uint32_t low, uint32_t high, uint32_t& tag);

    // Per-weapon counters: runs of 2 * (number of weapons) values in chunks;
    // a run that grows moves and leaves its room to the next run of its length.
    std::vector<std::unique_ptr<uint32_t[]>> arena;
    uint32_t arena_used = CHUNK;   // in the last chunk
    std::vector<uint32_t> free_runs[32];
    uint32_t* run_at(uint32_t at) { return arena[at >> CHUNK_BITS].get() + (at & (CHUNK - 1)); }
    const uint32_t* run_at(uint32_t at) const { return arena[at >> CHUNK_BITS].get() + (at & (CHUNK - 1)); }
    uint32_t new_run(int weapons);

    // Counters of weapons numbered 31 and more (a mod's weapons):
    // pair << 32 | weapon -> kills by the low and by the high player.
    static constexpr int BIT_WEAPONS = 31;
    std::unordered_map<uint64_t, std::pair<uint32_t, uint32_t>> more_weapons;

    // First-met names that differ from the opponent's record name.
    std::unordered_map<uint64_t, uint32_t> first_names;   // pair * 2 + high -> text
    std::vector<std::string> texts;
    std::unordered_map<std::string, uint32_t> text_numbers;
};

// One player's record against one opponent: one side of a pair.
class p2p_t {
public:
    p2p_t(const resultdata_total* totals, uint32_t pair, bool high) : totals(totals), pair(pair), high(high) {}
    virtual ~p2p_t() {}

    // The opponent's record of the totals.
    const player_total_t* opponent() const;
    // The opponent's raw name as it stood in the game in which the two first met.
    const char* get_name() const;
    uint32_t total_kills() const { return get_kills(0); }
    uint32_t total_killed() const { return get_killed(0); }
    // By weapon number of the weapon registry (0: all weapons).
    uint32_t get_kills(int weapon) const;
    uint32_t get_killed(int weapon) const;
    uint32_t pair_number() const { return pair; }

private:
    const resultdata_total* totals;
    uint32_t pair;
    bool high;   // the owning player is the pair's high player (and not the low one)
};
