// log_counts: what the parser counts while it reads one log file: lines by
// time-stamp form and by event word, the lines it did not understand, and
// what became of the kill lines. The driver warns about a file that lists no
// game with them, and the run report shows them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The time stamps a line can begin with. The first three are read as m:ss.
enum time_form {
    FORM_MIN_SEC,      // "12:34": minutes, a colon, seconds
    FORM_JOINED,       // "1101:28ClientConnect:": m:ss of four or more minute digits, no blank
    FORM_UNKNOWN,      // none of the forms
    FORM_TENTHS,       // "600.1": seconds and tenths
    FORM_DATE,         // "[2017-05-07] [18:38:43] ": date and clock
    FORM_CTIME,        // "[Mon Dec 28 13:38:57 2015]  ": date and clock in ctime's layout
    FORM_GAME_CLOCK,   // "1-25-2021 3:47 (0:07): ": date, clock and the game time (m:ss)
    FORM_UNIX,         // "1336040739|": seconds of Unix time
    FORM_NONE,         // no time stamp: the line begins with its event word
    TIME_FORMS
};

// The event words of the dispatch, in the order of its table; EV_UNKNOWN is
// any other word, or none.
enum event_kind {
    EV_ITEM, EV_KILL, EV_DASHES, EV_USERINFO, EV_BEGIN, EV_CONNECT, EV_DISCONNECT, EV_SAY,
    EV_SAYTEAM, EV_SCORE, EV_INIT_GAME, EV_WARMUP, EV_GAME_START, EV_GAME_END, EV_EXIT,
    EV_SHUTDOWN,
    EV_DIALECT,   // a word of the game's dialect's own (game/dialect.h)
    EV_UNKNOWN, EVENT_KINDS
};
// The word of each kind ("----" for the lines of dashes, "" for EV_UNKNOWN).
extern const char* const event_words[EVENT_KINDS];

// What became of a kill line. The first three are the results of
// resultdata::add_kill.
enum kill_fate {
    KILL_COUNTED,          // 0: the game record counted it
    KILL_BOT,              // 1: a bot killed or died while bots are left out (/b)
    KILL_UNKNOWN_CLIENT,   // 2: a client without a player, or a negative number
    KILL_AFTER_EXIT,       // skipped after "Exit:" or "Game_End:"
    KILL_SKIPPED,          // skipped during a warm-up or while events are skipped
    KILL_DROPPED_GAME,     // in a game dropped for more than 511 clients
    KILL_TEAM_CHANGE,      // the game's kill of a player who changed team
    KILL_NOT_A_PLAYER,     // the victim is a non-player character
    KILL_FATES
};

struct log_counts {
    static constexpr size_t SHOWN_NOT_UNDERSTOOD = 5;
    struct numbered_line {
        uint64_t number;    // 1 for the file's first line (each piece of a long line counts)
        std::string text;   // as read, line end dropped
    };

    uint64_t forms[TIME_FORMS] = {};
    uint64_t events[EVENT_KINDS] = {};
    uint64_t kills[KILL_FATES] = {};
    // Lines without a time-stamp form or without an event word of the
    // dispatch, and the first of them.
    uint64_t not_understood = 0;
    std::vector<numbered_line> first_not_understood;
    bool ended_by_eof = false;   // an "InitGame:" after the last "ShutdownGame:"
    uint64_t ended_by_warmup = 0;      // games ended by "Warmup:"
    uint64_t ended_by_init_game = 0;   // games ended by the next "InitGame:" (dialects without "ShutdownGame:")
    std::vector<uint64_t> games_by_dialect;   // "InitGame:" lines by dialect (index of all_dialects())
    std::vector<uint64_t> kills_by_weapon;    // kill lines counted, by weapon number
    uint64_t mod_text_disagrees = 0;   // kill lines whose MOD text is another id's in the dialect's table

    uint64_t lines() const {
        uint64_t n = 0;
        for (uint64_t f : forms) n += f;
        return n;
    }
};
