// The time-stamp forms of a log line (m:ss, seconds with tenths, date and
// clock, none) through whole hand-made logs.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "log_support.h"

namespace {

using vexo_test::parsed_log;

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

std::string min_sec(int s) {
    char b[32];
    snprintf(b, sizeof b, "%3d:%02d ", s / 60, s % 60);
    return b;
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

class LogForms : public vexo_test::parser_test {};

TEST_F(LogForms, EachFormReadsAWholeGame) {
    const struct {
        const char* name;
        std::string (*stamp)(int);
        time_form form;
        unsigned playtime;
    } cases[] = {
        {"m:ss", min_sec, FORM_MIN_SEC, 150},
        {"tenths", tenths, FORM_TENTHS, 150},
        {"date and clock across midnight", date_clock, FORM_DATE, 150},
        {"console, no time stamp", no_stamp, FORM_NONE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        parsed_log log(game_log(c.stamp));
        ASSERT_EQ(log.next_game(), 1);
        ASSERT_EQ(log.count(), 2);
        EXPECT_EQ(log.slot(0).kills[0], 2u);
        EXPECT_EQ(log.slot(1).killed[0], 2u);
        EXPECT_EQ(log.slot(0).playtime, c.playtime);
        EXPECT_EQ(log.next_game(), 0);
        const log_counts& n = log.parser->counts;
        EXPECT_EQ(n.forms[c.form], 10u);
        EXPECT_EQ(n.lines(), 10u);
        EXPECT_EQ(n.events[EV_SAY], 1u);
        EXPECT_EQ(n.not_understood, 0u);
    }
}

// The time of the last line of each case, as the line's events take it.
TEST_F(LogForms, TimeOfEachForm) {
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.back());
        parsed_log log("");
        for (const char* l : c.lines) log.line(l);
        EXPECT_EQ(log.parser->last_time, c.last_time);
    }
}

}  // namespace
