// p2p_t: what one player of the totals did against one opponent over all games
// of a run (kills on the opponent, kills by the opponent), by weapon.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class player_t;

class p2p_t {
public:
    p2p_t();
    virtual ~p2p_t();
    p2p_t(const p2p_t&) = delete;
    p2p_t& operator=(const p2p_t&) = delete;

    p2p_t* next;
    // The opponent's record of the totals (its name matches `name`).
    player_t* opponent;

    void set_name(const char* name);
    const char* get_name() const { return name.c_str(); }
    std::string name_html() const;
    std::string name_ascii() const;

    uint32_t total_kills() const { return kills0; }
    uint32_t total_killed() const { return killed0; }
    uint32_t get_kills(int weapon) const;
    uint32_t get_killed(int weapon) const;
    // Adds to entry `weapon` (0 is the all-weapons entry).
    void add(int weapon, uint32_t kills, uint32_t killed);

private:
    std::string name;           // the opponent's raw name when the two first met
    uint32_t kills0 = 0, killed0 = 0;
    // Weapons 1..31 are sparse: a pair meets with few weapons, and a busy
    // server has hundreds of thousands of pairs. Bit w of `mask` tells that
    // weapon w has a (kills, killed) pair in `per_weapon`, in weapon order.
    uint32_t mask = 0;
    std::unique_ptr<uint32_t[]> per_weapon;
    int slot_of(int weapon) const;
};
