// run_report: what a run gathers for its report page (/r): for every log file
// the parser's counts and what became of every game it read; for the whole
// run the kills of the listed games, which the report checks against the
// totals.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "parse/log_counts.h"

// Why a game read from a log is not listed.
enum drop_reason {
    DROP_NONE,
    DROP_FEW_PLAYERS,       // fewer than two active players
    DROP_BOTS_LEFT_OUT,     // fewer than two once the bots were left out (/b)
    DROP_TOO_MANY_CLIENTS,  // more than 511 clients
    DROP_REASONS
};

struct game_fate {
    int number;           // the game's number when it was listed, else 0
    drop_reason reason;   // DROP_NONE when it was listed
};

struct file_report {
    // The report lists the fate of this many games of a file one by one; a
    // log of millions of tiny games must not give a page of hundreds of MB.
    static constexpr size_t GAMES_SHOWN = 1000;

    std::string name;                // as in its "Parsing" line
    long long size = 0;
    long long bytes_left = 0;        // written after the run opened the file: for the next run
    log_counts counts;
    // The first GAMES_SHOWN games ended by "ShutdownGame:", in order; all of
    // them are counted, the dropped ones by reason.
    std::vector<game_fate> games;
    uint64_t games_ended = 0;
    uint64_t dropped[DROP_REASONS] = {};
    int listed = 0;
    uint64_t kill_lines_listed = 0;  // kill lines counted in the listed games
    // Kills counted as weapon 0 because their game had no weapon slot left.
    uint64_t kills_without_weapon_slot = 0;

    void add_game(const game_fate& fate) {
        games_ended++;
        dropped[fate.reason]++;
        if (games.size() < GAMES_SHOWN) games.push_back(fate);
    }
};

struct run_report {
    std::vector<file_report> files;
    uint64_t kills_listed = 0;       // the kills of the listed games, as they were listed
};
