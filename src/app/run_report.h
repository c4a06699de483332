// run_report: what a run gathers for its report page (/r): for every log file
// the parser's counts and what became of every game it read; for the whole
// run the kills of the listed games, which the report checks against the
// totals.
#pragma once
#include <cstdint>
#include <deque>
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
    std::string name;                // as in its "Parsing" line
    long long size = 0;
    log_counts counts;
    // Every game ended by "ShutdownGame:", in order. (A deque: growing it
    // never frees a large block, which would make malloc sweep its bins.)
    std::deque<game_fate> games;
    int listed = 0;
    uint64_t kill_lines_listed = 0;  // kill lines counted in the listed games
    // Kills counted as weapon 0 because their game had no weapon slot left.
    uint64_t kills_without_weapon_slot = 0;
};

struct run_report {
    std::vector<file_report> files;
    uint64_t kills_listed = 0;       // the kills of the listed games, as they were listed
};
