// Console texts of a run, built from the program's fixed wording, shared by
// the command-line tests and the whole-run transcript tests.
#pragma once
#include <cstdio>
#include <string>
#include "app/settings.h"

namespace run_texts {

inline std::string banner()
{
    return std::string("\n") + VEXO_NAME + " " + VEXO_BUILD + ", " + VEXO_DATE + "\n" + VEXO_CREDIT +
           "\n";
}

inline std::string usage_text()
{
    return "\nUsage: vexo [OPTIONS] <logfile> [OPTIONS]\n"
           "\nOptions:\n"
           "\n/a\t\t  open results after analysis"
           "\n/b\t\t  don't include bots in results"
           "\n/l\t\t  write chat log"
           "\n/d\t\t  write data file (vexodata.txt)"
           "\n/f\t\t  don't use \"funnames\""
           "\n/o<x>\t\t  sortorder (<x> can be N,R,E,S,F,K,P,T - see readme)"
           "\n/cfg:<filespec>\t  use custom CFG - no spaces in <filespec> allowed"
           "\n/min_kills:<x>\t  exclude players with less than <x> kills from player stats"
           "\n/min_games:<x>\t  exclude players with less than <x> games from player stats"
           "\n/min_playtime:<x> exclude players with less than <x> seconds playtime"
           "\n/max_players:<x>  no more than <x> players in player stats"
           "\n/g:<x>            no more than <x> games per html file (default: 50)"
           "\n/top<x>           write additional top <x> players file"
           "\n/r\t\t  write run report (report.htm)";
}

// What "vexo" alone and "vexo --help" print.
inline std::string full_usage()
{
    return banner() + usage_text() +
           "\n\nOptions can be specified in upper or lower case with the prefix '/' or '-'" + "\n";
}

struct block_values {
    bool skip_bots = false;
    bool chat_log = false;
    bool no_funnames = false;
    int max_players = 0;
    int top_players = 0;
    int min_kills = 0;
    int min_games = 0;
    int min_playtime = 0;
    bool data_file = false;
    const char* order = "by ratio";
};

inline std::string settings_block(const block_values& v)
{
    char buf[1024];
    std::snprintf(buf, sizeof buf,
                  "\nCurrent settings:\n"
                  "\tSkipping bots in log: %s\n"
                  "\tWrite chat log: %s\n"
                  "\tFunnames: %s\n"
                  "\tMax players: %i\n"
                  "\tTop x players: %i\n"
                  "\tMin kills: %i\n"
                  "\tMin games: %i\n"
                  "\tMin playing time: %i\n"
                  "\tWriting data file: %s\n"
                  "\tSort order: %s\n"
                  "\n",
                  v.skip_bots ? "YES" : "NO", v.chat_log ? "YES" : "NO", v.no_funnames ? "NO" : "YES",
                  v.max_players, v.top_players, v.min_kills, v.min_games, v.min_playtime,
                  v.data_file ? "YES" : "NO", v.order);
    return buf;
}

inline std::string progress(int percent)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "\b\b\b\b\b\b\b(%3i %%)", percent);
    return buf;
}

// The console lines of the eight ranking files (and the top_ set) for a
// totals list of n players.
inline std::string ranking_lines(int n, bool top_set = false)
{
    static const char* files[] = {"players.htm",       "players_ratio.htm", "players_name.htm",
                                  "players_eff.htm",   "players_skill.htm", "players_frags.htm",
                                  "players_kills.htm", "players_playtime.htm"};
    std::string out;
    for (int set = 0; set < (top_set ? 2 : 1); ++set) {
        for (const char* f : files) {
            out += std::string("\nWriting player stats to \"") + (set ? "top_" : "") + f + "\"";
            out += "\n- Sorting all players        ";
            for (int i = 0; i + 1 < n; ++i) out += progress(100 * (i + 1) / n);
            out += progress(100) + "\n";
        }
    }
    return out;
}

// The per-player step when all n players of the totals are listed.
inline std::string player_page_lines(int n)
{
    std::string out = "\nWriting per player stats        ";
    for (int k = 1; k <= n; ++k) out += progress(100 * k / n);
    out += progress(100) + "\n";
    return out;
}

}  // namespace run_texts
