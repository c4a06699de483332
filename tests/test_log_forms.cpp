// The time-stamp forms of a log line (m:ss, m:ss run on into the event word,
// seconds with tenths, two forms of date and clock, date and clock with the
// game time, Unix time, none), the warning about a log file that lists no game, and the run
// report (/r) of a whole run on hand-made logs.
#include <climits>
#include <cstdio>
#include <memory>

#include "app/settings.h"
#include "game/resultdata.h"
#include "harness.h"
#include "parse/analyzelog.h"

namespace {

using namespace harness;

// One game of Ash and Birch: Ash kills Birch twice, Birch says hello, and the
// game ends 150 seconds after it began. `stamp` writes the time stamp of a
// line `s` seconds into the game, in the form under test.
std::string game_log(std::string (*stamp)(int)) {
    const std::vector<std::pair<int, std::string>> lines = {
        {0, "------------------------------------------------------------"},
        {0, "InitGame: \\g_gametype\\0\\mapname\\Pebble"},
        {0, "ClientConnect: 0"},
        {0, "ClientUserinfoChanged: 0 n\\Ash\\t\\0"},
        {0, "ClientConnect: 1"},
        {0, "ClientUserinfoChanged: 1 n\\Birch\\t\\0"},
        {30, "Kill: 0 1 10: Ash killed Birch by MOD_RAILGUN"},
        {60, "Kill: 0 1 10: Ash killed Birch by MOD_RAILGUN"},
        {70, "say: Birch: hello <all>"},
        {150, "ShutdownGame:"},
    };
    std::string log;
    for (const auto& l : lines) log += stamp(l.first) + l.second + "\r\n";
    return log;
}

std::string tenths(int s) { return std::to_string(s) + ".7 "; }
std::string no_stamp(int) { return ""; }
// From 23:59:00 on 2017-05-07, past midnight.
std::string date_clock(int s) {
    const int t = 23 * 3600 + 59 * 60 + s;
    char b[64];
    snprintf(b, sizeof b, "[2017-05-%02d] [%02d:%02d:%02d] ", 7 + t / 86400, t % 86400 / 3600, t % 3600 / 60, t % 60);
    return b;
}

// The time of the last line of each case, as the line's events take it.
TEST(LogForms, TimeOfEachForm) {
    const struct {
        std::vector<const char*> lines;
        int32_t last_time;
    } cases[] = {
        {{"12:34 ClientConnect: 0"}, 754},
        {{"600.1 ClientConnect: 0"}, 600},
        {{"103./ ClientConnect: 0"}, 103},
        {{"0.0 ClientConnect: 0"}, 0},
        {{"1:00 ClientConnect: 0", "123456.78 ClientConnect: 0"}, 60},   // too long: no event
        {{"1:00 ClientConnect: 0", "12.3:4 ClientConnect: 0"}, 720},     // a colon: m:ss as ever
        {{"5:00 ClientConnect: 0", "ClientConnect: 0"}, 0},
        {{"5:00 ClientConnect: 0", "------"}, 0},
        {{"5:00 ClientConnect: 0", "clientConnect: 0"}, 300},              // not a word of the list
        {{"[2017-05-07] [23:59:59] nothing", "[2017-05-08] [00:00:01] ClientConnect: 0"}, 86401},
        {{"[2017-05-07] [10:00:00] ClientConnect: 0", "[2017-05-06] [09:00:00] ClientConnect: 0"}, 32400},
        {{"[2017-12-31] [00:00:00] ClientConnect: 0", "[2017-13-01] [00:00:02] ClientConnect: 0"}, 86402},
        {{"[2016-02-28] [00:00:00] ClientConnect: 0", "[2016-02-30] [00:00:00] ClientConnect: 0"}, 172800},
        {{"[0000-01-01] [00:00:00] ClientConnect: 0", "[9999-12-31] [23:59:59] ClientConnect: 0"}, INT32_MAX},
        {{"1:00 ClientConnect: 0", "[2017-5-07] [18:38:43] ClientConnect: 0"}, 60},   // not the date shape
        {{"1:00 ClientConnect: 0", " [2017-05-07] [18:38:43] ClientConnect: 0"}, 60},
        // ctime in brackets, two blanks: the day padded with a blank or a zero, days after the first line's
        {{"[Mon Dec 28 13:38:57 2015]  ClientConnect: 0"}, 49137},
        {{"[Sat Dec  5 23:59:59 2015]  x", "[Sun Dec 06 00:00:02 2015]  ClientConnect: 0"}, 86402},
        {{"[Thu Dec 31 00:00:00 2015]  x", "[Fri Jan  1 00:00:01 2016]  ClientConnect: 0"}, 86401},
        {{"[Mon Dec 28 10:00:00 2015]  x", "[Sun Dec 27 09:00:00 2015]  ClientConnect: 0"}, 32400},
        {{"[2015-12-28] [10:00:00] x", "[Tue Dec 29 00:00:03 2015]  ClientConnect: 0"}, 3},   // a reference each
        {{"1:00 ClientConnect: 0", "[Mon Dec 28 13:38:57 2015] ClientConnect: 0"}, 60},    // one blank
        {{"1:00 ClientConnect: 0", "[Mon Dek 28 13:38:57 2015]  ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "[Mom Dec 28 13:38:57 2015]  ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "[Mon Dec 8 13:38:57 2015]  ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "[Mon Dec 28 13:38:57 15]  ClientConnect: 0"}, 60},
        // month-day-year, hour and minute (padded with a blank), the game time in parentheses
        {{"1-25-2021 3:47 (0:07): ClientConnect: 0"}, 7},
        {{"12-5-2021 15: 0 (1234:56): ClientConnect: 0"}, 74096},
        {{"1-25-2021 3:47 (35791394:59): ClientConnect: 0"}, INT32_MAX},
        {{"1:00 ClientConnect: 0", "1-25-2021 3:47 (0:07) ClientConnect: 0"}, 60},        // no colon
        {{"1:00 ClientConnect: 0", "1-25-2021 3:47 (0:7): ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "1-25-21 3:47 (0:07): ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "1-25-2021 3:47  (0:07): ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", " 1-25-2021 3:47 (0:07): ClientConnect: 0"}, 60},
        // Unix time and a bar: seconds after the first such line's; the prompt's erase bytes skipped
        {{"1336040739|x", "1336040800|ClientConnect: 0"}, 61},
        {{"1336040739|x", "1336040740|]\b \bClientConnect: 0"}, 1},
        {{"1336040739|x", "1336040741|\b \b\b \b]\b \bClientConnect: 0"}, 2},
        {{"1336040739|x", "1336040700|ClientConnect: 0"}, -39},
        {{"1|x", "99999999999999999999999|ClientConnect: 0"}, INT32_MAX},
        {{"1:00 ClientConnect: 0", "1336040739|]ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "1336040739 |ClientConnect: 0"}, 60},
        // m:ss of four or more minute digits run on into the event word
        {{"1101:28ClientConnect: 0"}, 66088},
        {{"123456:07ClientConnect: 0"}, 7407367},
        {{"1:00 ClientConnect: 0", "123:45ClientConnect: 0"}, 60},
        {{"1:00 ClientConnect: 0", "1101:285ClientConnect: 0"}, 60},
    };
    settings_t settings;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.back());
        resultdata game(&settings);
        analyzelog parser(nullptr, &game, &settings, nullptr);
        for (const char* l : c.lines) {
            char line[LOG_LINE_MAX];
            std::snprintf(line, sizeof line, "%s", l);
            parser.parse_line(line);
        }
        EXPECT_EQ(parser.last_time, c.last_time);
    }
}

// ------------------------------------------------------------ whole runs

// The report's row of a count.
std::string row(const std::string& label, const std::string& value) {
    return "<tr>\r\n<td align=left>" + label + "</td>\r\n<td align=right>" + value + "</td>\r\n</tr>\r\n";
}

// From 23:59:00 on Saturday 2015-12-05 on, past midnight.
std::string ctime_clock(int s) {
    const int t = 23 * 3600 + 59 * 60 + s;
    char b[64];
    snprintf(b, sizeof b, "[%s Dec %2d %02d:%02d:%02d 2015]  ", t < 86400 ? "Sat" : "Sun", 5 + t / 86400,
             t % 86400 / 3600, t % 3600 / 60, t % 60);
    return b;
}
// The game time from 1000:00 on; the clock of the day beside it tells nothing.
std::string game_clock(int s) { return "1-25-2021 3: 7 (" + std::to_string(1000 + s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60) + "): "; }
// Unix time, with and without the console prompt's erase bytes.
std::string unix_time(int s) {
    static int line = 0;
    const char* const erase[] = {"", "]\b \b", "\b \b\b \b", "]\b \b]\b \b"};
    return std::to_string(1336040739 + s) + "|" + erase[line++ % 4];
}
std::string joined(int s) { return std::to_string(10000 + s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60); }

// Game 1 listed (one kill line of an unknown client, one with a weapon id
// beyond the base game's table, one after "Exit:"), game 2 dropped (one
// player), game 3 cut off by the end of the file in its warm-up.
const char* const MIXED_LOG =
    "junk <line> & more\n"
    "  0:00 InitGame: \\g_gametype\\0\\mapname\\Pebble\n"
    "  0:00 ClientUserinfoChanged: 0 n\\Ash\\t\\0\n"
    "  0:00 ClientUserinfoChanged: 1 n\\Birch\\t\\0\n"
    "  0:10 Kill: 0 1 10: x\n"
    "  0:20 Kill: 1 0 10: x\n"
    "  0:30 Kill: 7 0 10: x\n"
    "  0:40 Kill: 0 1 40: x\n"
    "  0:50 Exit: Timelimit hit.\n"
    "  0:55 Kill: 0 1 10: x\n"
    "  1:00 ShutdownGame:\n"
    "  0:00 InitGame: \\g_gametype\\0\n"
    "  0:00 ClientUserinfoChanged: 0 n\\Ash\\t\\0\n"
    "  0:10 Kill: 0 0 10: x\n"
    "  0:20 ShutdownGame:\n"
    "  0:00 InitGame: \\g_gametype\\0\n"
    "  0:00 Warmup:\n"
    "  0:05 Kill: 0 1 10: x\n";

TEST(LogRuns, EveryFormListsItsGameAndTheReportCountsTheLines) {
    scratch_dir dir;
    write_file(dir / "console.log", game_log(no_stamp));
    write_file(dir / "dated.log", game_log(date_clock));
    write_file(dir / "tenths.log", game_log(tenths));
    write_file(dir / "mixed.log", MIXED_LOG);
    write_file(dir / "nothing.log", "  0:00 InitGame: \\x\\y\n  0:05 Kill: 3 4 5: x\n  0:10 ShutdownGame:\n");
    write_file(dir / "ctime.log", game_log(ctime_clock));
    write_file(dir / "clock.log", game_log(game_clock));
    write_file(dir / "unix.log", game_log(unix_time));
    write_file(dir / "joined.log", game_log(joined));
    const run_result r = run_vexo(dir.path, {"/r", "/l", "/d", "console.log", "dated.log", "tenths.log", "mixed.log",
                                             "nothing.log", "ctime.log", "clock.log", "unix.log", "joined.log"});
    EXPECT_EQ(r.code, 0);
    const std::string& out = r.out;
    // Each form gives its game: two kills of Ash, and the play time the form tells.
    const std::string data = read_file(dir / "vexodata.txt");
    for (const char* game : {"1,Ash,2,0,0,0,00:00:00", "2,Ash,2,0,0,0,00:02:30", "3,Ash,2,0,0,0,00:02:30",
                             "5,Ash,2,0,0,0,00:02:30", "6,Ash,2,0,0,0,00:02:30", "7,Ash,2,0,0,0,00:02:30",
                             "8,Ash,2,0,0,0,00:02:30"})
        EXPECT_NE(data.find(game), std::string::npos) << game << data;

    // The warning follows the progress of the file that lists no game, and only that one.
    const size_t warning = out.find("(100 %)\nWARNING: no game listed from nothing.log (1 kill lines read)");
    EXPECT_NE(warning, std::string::npos) << out;
    EXPECT_EQ(out.find("WARNING: no game listed"), warning + 8);
    EXPECT_NE(out.find("\tWriting run report: YES\n"), std::string::npos);
    // Chat lines in every form, games numbered in the run's order.
    const std::string chat = read_file(dir / "chat.htm");
    for (const char* game : {"Game 2", "Game 3", "Game 4", "Game 6", "Game 7", "Game 8", "Game 9"})
        EXPECT_NE(chat.find(std::string("<b>Birch</b>: hello &lt;all&gt;<br>\r\n<p><i><b>") + game), std::string::npos)
            << game;
    EXPECT_NE(read_file(dir / "games.htm").find("<a href=\"report.htm\"><font color=red>Run report</font></a>"),
              std::string::npos);

    const std::string report = read_file(dir / "report.htm");
    for (const std::string& expected : {
             row("Lines read", "10") + "<tr>\r\n<th colspan=2 align=left bgcolor=#000080>Lines by time stamp</th>",
             row("none: the event word first", "10"), row("date and clock ([2017-05-07] [18:38:43])", "10"),
             row("seconds and tenths (600.1)", "10"), row("date and clock ([Mon Dec 28 13:38:57 2015])", "10"),
             row("date, clock and game time (1-25-2021 3:47 (0:07):)", "10"), row("Unix time (1336040739|)", "10"),
             row("m:ss run on into the event word (1101:28ClientConnect:)", "10"),
             // mixed.log
             row("Lines read", "18"), row("m:ss (12:34)", "17"), row("none of these forms", "1"),
             row("Kill:", "7") + row("ClientUserinfoChanged:", "3"),
             row("Lines not understood", "1") + "<tr>\r\n<td align=left>Line 1</td>\r\n"
                                                   "<td align=left>junk &lt;line&gt; &amp; more</td>",
             row("Games started (InitGame:)", "3") + row("Games ended by ShutdownGame:", "2") +
                 row("Games ended by Warmup:", "1") +
                 row("Games ended by the next InitGame: (no ShutdownGame: before it)", "0") +
                 row("Games ended by the end of the file", "1") +
                 row("Games listed", "1") + row("Games dropped: fewer than two active players", "1"),
             row("Kill lines read", "7") + row("Counted", "4") + row("Counted in the listed games", "3") + row("No counter changed: after Exit: or Game_End:", "1") +
                 row("No counter changed: during a warm-up or while events are skipped", "1") +
                 row("No counter changed: unknown client", "1"),
             std::string("<td align=left><a href=\"vexo_games/game_4.htm\">Game 4</a></td>\r\n</tr>\r\n<tr>\r\n"
                         "<td align=left>2</td>\r\n<td align=left>dropped: fewer than two active players</td>"),
             row("Quake III", "3") + "<tr>\r\n<th colspan=2 align=left bgcolor=#000080>Kill lines counted by weapon</th>\r\n</tr>\r\n" +
                 row("Railgun", "3") + row("weapon 40", "1") + "</table>",
             row("no game listed from a log file", "1") + "</table>",
             row("Kills in the totals (all players)", "17") + row("Kills counted in the listed games", "17") +
                 "</table>\r\n<p><b>The totals hold exactly the kills of the listed games.</b></p>",
         })
        EXPECT_NE(report.find(expected), std::string::npos) << expected;
}

TEST(LogRuns, WithoutTheOptionNoReport) {
    scratch_dir dir;
    write_file(dir / "dated.log", game_log(date_clock));
    EXPECT_EQ(run_vexo(dir.path, {"dated.log"}).out.find("report"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "report.htm"));
    EXPECT_EQ(read_file(dir / "games.htm").find("report.htm"), std::string::npos);
}

}  // namespace
