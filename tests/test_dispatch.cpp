// Event dispatch: every event word of a log line, the skip flag, warm-ups,
// ended and one-on-one games, and logs that are empty, cut short or broken.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "log_support.h"

using vexo_test::parsed_log;
using Dispatch = vexo_test::parser_test;
using SkipFlag = vexo_test::parser_test;
using BadLog = vexo_test::parser_test;

namespace {

constexpr int int_max = std::numeric_limits<int>::max();
constexpr int int_min = std::numeric_limits<int>::min();

// Two players in a game of the given type; Ann is client 0, Bob client 1.
std::string game_start(int type) {
    return " 0:00 InitGame: \\sv_hostname\\Test Server\\g_gametype\\" + std::to_string(type) +
           "\\mapname\\Arena\n"
           " 0:01 ClientConnect: 0\n"
           " 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\\model\\m1\n"
           " 0:02 ClientConnect: 1\n"
           " 0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\0\\model\\m2\n";
}

parsed_log& feed(parsed_log& log, const std::string& lines) {
    size_t begin = 0;
    while (begin < lines.size()) {
        size_t end = lines.find('\n', begin);
        if (end == std::string::npos) end = lines.size() - 1;
        log.line(lines.substr(begin, end + 1 - begin));
        begin = end + 1;
    }
    return log;
}

TEST_F(Dispatch, InitGameStoresTheGameSettings) {
    parsed_log log("");
    EXPECT_EQ(log.line(" 12:34 InitGame: \\sv_hostname\\My Server\\g_gametype\\4\\MapName\\nope"
                       "\\mapname\\ArenaOne\\gamename\\vexmod\\fraglimit\\20\\timelimit\\15"
                       "\\sv_maxclients\\16\r\n"),
              0);
    EXPECT_EQ(log.results->start_time, 754);
    EXPECT_EQ(log.parser->last_time, 754);
    EXPECT_STREQ(log.results->map_name, "arenaone");
    EXPECT_STREQ(log.results->game_name, "vexmod");
    EXPECT_EQ(log.results->game_type, 4);
    EXPECT_STREQ(log.results->game_type_name, "CTF");
    EXPECT_EQ(log.results->fraglimit, 20);
    EXPECT_EQ(log.results->timelimit, 15);

    // Values longer than the fields are cut.
    log.line(" 0:00 InitGame: \\mapname\\" + std::string(100, 'M') + "\\gamename\\" +
             std::string(200, 'g') + "\\g_gametype\\1\n");
    EXPECT_EQ(std::string(log.results->map_name), std::string(63, 'm'));
    EXPECT_EQ(std::string(log.results->game_name), std::string(63, 'g'));
    EXPECT_STREQ(log.results->game_type_name, "1on1");

    // Numbers beyond 32 bits saturate.
    log.line(" 0:00 InitGame: \\fraglimit\\4294967316\\timelimit\\-99999999999\n");
    EXPECT_EQ(log.results->fraglimit, int_max);
    EXPECT_EQ(log.results->timelimit, int_min);
}

TEST_F(Dispatch, UserInfoMakesPlayers) {
    struct info_case {
        std::string args;
        int count;
        std::string name;
        int team;
        int bot_skill;
    };
    const std::string long_name(70, 'x');
    const info_case cases[] = {
        {"0 n\\Bob\\t\\2\\model\\x\\skill\\3", 1, "Bob", 2, 3},
        {"0 n\\Bob\\t\\2\\model\\x", 1, "Bob", 2, -1},
        {"0 n\\Bob\\model\\x", 1, "Bob", -1, -1},
        {"0 model\\x\\hc\\100\\n\\^1B<b>\\t\\1", 1, "^1B<b>", 1, -1},
        {"0 n\\Bob\\t\\3 ", 1, "Bob", 3, -1},
        // An empty name vanishes: "t" becomes the name, the pairing shifts.
        {"0 n\\\\t\\1\\model\\x", 1, "t", -1, -1},
        // Names are cut to 64 characters; the pair after a long name still counts.
        {"0 n\\" + long_name + "\\t\\2", 1, std::string(64, 'x'), 2, -1},
        {"0 n\\Bob\\skill\\12345", 1, "Bob", -1, 123},
        {"0", 1, "", -1, -1},
        {"", 1, "", -1, -1},
        {"511 n\\Bob", 1, "Bob", -1, -1},
        {"512 n\\Bob", 0, "", 0, 0},
        {"-1 n\\Bob", 0, "", 0, 0},
        {"4294967296 n\\Bob", 0, "", 0, 0},
    };
    for (const info_case& c : cases) {
        SCOPED_TRACE(c.args);
        parsed_log log("");
        EXPECT_EQ(log.line(" 0:05 ClientUserinfoChanged: " + c.args + "\n"), 0);
        ASSERT_EQ(log.count(), c.count);
        if (c.count == 0) continue;
        EXPECT_EQ(std::string(log.slot(0).name), c.name);
        EXPECT_EQ(log.slot(0).team, c.team);
        EXPECT_EQ(log.slot(0).bot_skill, c.bot_skill);
        EXPECT_EQ(log.parser->last_time, 5);
    }
}

// The counting itself is the game record's; here the numbers of the line.
TEST_F(Dispatch, KillLinesCountKills) {
    parsed_log log("");
    testing::internal::CaptureStdout();
    feed(log, game_start(0) +
                  " 0:10 Kill: 0 1 10: Ann killed Bob\n"
                  " 0:30 Kill: 700 1 22: <world> killed Bob\n"
                  " 0:40 Kill: 1 0 7\n"
                  " 0:50 Kill: 0 1 4294967306\n"
                  " 0:55 Kill: 4294967296 0 10\n"
                  " 0:56 Kill: -1 1 10\n"
                  " 0:57 Kill: 0 1 -3\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nWARNING: weapon id > MAX_WEAPONS, weapon id reset to zero\n");
    const player_t& ann = log.slot(0);
    const player_t& bob = log.slot(1);
    EXPECT_EQ(ann.kills[10], 1u);
    EXPECT_EQ(ann.kills[0], 2u);        // the weapon beyond 32 bits is no railgun
    EXPECT_EQ(bob.world_deaths, 1u);
    EXPECT_EQ(bob.kills[6], 1u);        // 7 is folded into 6
    EXPECT_EQ(ann.world_deaths, 1u);    // the killer beyond 32 bits is the world
    EXPECT_EQ(log.results->life_start[1], 50);  // negative numbers are dropped

    // A kill line without arguments is client 0 killing itself.
    log.line(" 1:00 Kill:\n");
    EXPECT_EQ(ann.suicides[0], 1u);
}

TEST_F(Dispatch, ItemLinesCountPickups) {
    parsed_log log("");
    feed(log, game_start(0) +
                  " 0:10 Item: 0 item_health\r\n"
                  " 0:11 Item: 1 weapon_railgun\n"
                  " 0:12 Item: 0 item_quad extra\n"
                  " 0:13 Item: 0 item_" +
                  std::string(100, 'q') +
                  "\n"
                  " 0:14 Item: 0\n"
                  " 0:15 Item: 5 item_quad\n"
                  " 0:16 Item: -1 item_quad\n");
    EXPECT_EQ(log.slot(0).items[ITEM_HEALTH], 1u);
    EXPECT_EQ(log.slot(0).items[ITEM_QUAD], 0u);
    EXPECT_EQ(log.slot(0).items_total, 4);
    EXPECT_EQ(log.slot(1).items[WEAPON_RAILGUN], 1u);
    EXPECT_EQ(log.slot(1).items_total, 1);
    EXPECT_EQ(log.count(), 2);

    testing::internal::CaptureStdout();
    log.line(" 0:18 Item: 600 item_quad\n");
    log.line(" 0:19 Item: 4294967296 item_quad\n");
    const std::string warning = "\nWARNING: player_id overflow in resultdata::add_item\nLINE: item_quad\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), warning + warning);
    EXPECT_EQ(log.slot(0).items_total, 4);
}

TEST_F(Dispatch, ScoreLinesAddPingSamples) {
    parsed_log log("");
    feed(log, game_start(0) +
                  " 0:30 score: 20  ping: 50  client: 0 Ann\n"
                  " 0:31 score: 5 ping: 70 client: 0 Ann\n"
                  " 0:32 score: 5 ping: 70 client: 7 Nobody\n"
                  " 0:33 score: 5 ping: 70 client: -1\n"
                  " 0:34 score: 5 ping: 70 client: 4294967296\n"
                  " 0:35 score: 5 ping: 99999999999 client: 1 Bob\n"
                  " 0:36 score:\n"
                  " 0:37 score: 5 ping: -20 client: 0 Ann\n");   // no sample: negative
    EXPECT_EQ(log.slot(0).ping_count, 2 + 1);  // the empty line is a sample of 0 for client 0
    EXPECT_EQ(log.slot(0).ping_sum, 120);
    EXPECT_EQ(log.slot(1).ping_count, 1);
    EXPECT_EQ(log.slot(1).ping_sum, int_max);
    EXPECT_EQ(log.parser->last_time, 2);  // a score line converts no time stamp
}

// Words that change nothing: the line is read and the game record left alone.
TEST_F(Dispatch, LinesWithoutEffect) {
    const char* lines[] = {
        " 0:05 ------------------------------------------------------------\n",
        " 0:05 ----\n",
        " 0:05 ClientBegin: 0\n",
        " 0:05 sayteam: Ann: attack\n",
        " 0:05 Kill\n",
        " 0:05 kill: 0 1 10\n",
        " 0:05 Kill:: 0 1 10\n",
        " 0:05 Unknown: 0 1 10\n",
        " 0:05\n",
        "\n",
        "\r\n",
        "",
        "\x01\x02\xff\xfe\xfd\xfc\xfb\xfa\xf9 Kill: 0 1 10\n",
    };
    for (const char* text : lines) {
        SCOPED_TRACE(text);
        parsed_log log("");
        feed(log, game_start(0));
        EXPECT_EQ(log.line(text), 0);
        EXPECT_EQ(log.count(), 2);
        EXPECT_EQ(log.slot(0).kills[0] + log.slot(0).killed[0] + log.slot(0).suicides[0], 0u);
        EXPECT_EQ(log.results->clients[0].state, 1);
        EXPECT_EQ(log.results->clients[0].since, 1);
        EXPECT_EQ(log.parser->last_time, 2);
        EXPECT_FALSE(ignore_events);
    }
}

TEST_F(Dispatch, ShutdownEndsTheGameEvenWhenCountingIsOff) {
    parsed_log log(game_start(0) +
                   " 0:10 Kill: 0 1 10:\n"
                   " 5:00 Exit: Fraglimit hit.\n"
                   " 5:01 Kill: 0 1 10:\n"
                   " 5:02 Item: 0 item_quad\n"
                   " 5:03 ClientUserinfoChanged: 2 n\\Cid\\t\\0\n"
                   " 5:03 ClientUserinfoChanged: 0 n\\Annie\\t\\0\n"
                   " 5:04 score: 1 ping: 30 client: 0 Ann\n"
                   " 5:05 ClientConnect: 1\n"
                   " 5:10 ShutdownGame:\n"
                   " 5:11 InitGame: \\g_gametype\\0\n");
    ASSERT_EQ(log.next_game(), 1);
    EXPECT_TRUE(ignore_events);
    EXPECT_TRUE(log.parser->exit_seen);
    ASSERT_EQ(log.count(), 2);
    EXPECT_EQ(log.slot(0).kills[0], 1u);
    EXPECT_EQ(log.slot(0).items_total, 0);
    EXPECT_STREQ(log.slot(0).name, "Ann");
    EXPECT_EQ(log.slot(0).ping_count, 1);           // pings go on
    EXPECT_EQ(log.slot(0).playtime, 309u);          // 0:01 to 5:10
    EXPECT_EQ(log.slot(1).playtime, 5u);            // reconnected at 5:05
    EXPECT_EQ(log.parser->last_time, 310);
    EXPECT_EQ(log.next_game(), 0);
    EXPECT_FALSE(ignore_events);
    EXPECT_FALSE(log.parser->exit_seen);
}

// The skip flag after a sequence of lines, from a given start value.
TEST_F(SkipFlag, FollowsTheEventTable) {
    struct flag_case {
        const char* what;
        bool before;
        std::string lines;
        bool after;
    };
    const std::string duel = game_start(1);
    const std::string ffa = game_start(0);
    const flag_case cases[] = {
        {"InitGame after a one-on-one game that saw Exit", false,
         duel + " 5:00 Exit: Fraglimit hit.\n 5:05 ShutdownGame:\n 5:06 Game_Start:\n"
                " 5:07 InitGame: \\g_gametype\\0\n",
         true},
        {"InitGame after a free-for-all that saw Exit", true,
         ffa + " 5:00 Exit: Fraglimit hit.\n 5:05 ShutdownGame:\n 5:07 InitGame: \\g_gametype\\1\n", false},
        {"InitGame after a one-on-one game without Exit", true,
         duel + " 5:05 ShutdownGame:\n 5:07 InitGame: \\g_gametype\\1\n", false},
        {"a second InitGame clears the Exit", true,
         duel + " 5:00 Exit: Fraglimit hit.\n 5:07 InitGame: \\g_gametype\\1\n"
                " 5:08 InitGame: \\g_gametype\\1\n",
         false},
        {"Warmup", false, ffa + " 0:05 Warmup:\n", true},
        {"Game_Start", true, ffa + " 0:05 Game_Start:\n", false},
        {"Game_End", false, ffa + " 0:05 Game_End:\n", true},
        {"Exit", false, ffa + " 0:05 Exit: Timelimit hit.\n", true},
        {"one-on-one: a player joins the spectators", false,
         duel + " 0:05 ClientUserinfoChanged: 1 n\\Bob\\t\\3\n", true},
        {"one-on-one: a player leaves", false, duel + " 0:05 ClientDisconnect: 1\n", true},
        {"one-on-one: a spectator leaves", false,
         duel + " 0:05 ClientConnect: 2\n 0:05 ClientUserinfoChanged: 2 n\\Cid\\t\\3\n"
                " 0:06 ClientDisconnect: 2\n",
         false},
        {"one-on-one: a client without a slot leaves", false, duel + " 0:05 ClientDisconnect: 9\n", false},
        {"one-on-one: a player moves between the two teams", false,
         duel + " 0:05 ClientUserinfoChanged: 1 n\\Bob\\t\\1\n", false},
        {"free-for-all: a player joins the spectators and another leaves", false,
         ffa + " 0:05 ClientUserinfoChanged: 1 n\\Bob\\t\\3\n 0:06 ClientDisconnect: 0\n", false},
        {"connects, pings, chat and shutdown leave it on", true,
         duel + " 0:05 ClientConnect: 3\n 0:06 score: 1 ping: 2 client: 0\n 0:07 say: Ann: hi\n"
                " 0:08 ShutdownGame:\n 0:09 ClientBegin: 0\n",
         true},
    };
    for (const flag_case& c : cases) {
        SCOPED_TRACE(c.what);
        parsed_log log("");
        // The start value is set after the game's InitGame, which sets it itself.
        size_t first_end = c.lines.find('\n') + 1;
        feed(log, c.lines.substr(0, first_end));
        ignore_events = c.before;
        feed(log, c.lines.substr(first_end));
        EXPECT_EQ(ignore_events, c.after);
    }
}

TEST_F(SkipFlag, SpansParsersAndFiles) {
    {
        parsed_log first(game_start(0) + " 5:00 Game_End:\n");
        EXPECT_EQ(first.next_game(), 0);
    }
    EXPECT_TRUE(ignore_events);
    parsed_log second(" 0:00 ClientConnect: 0\n 0:01 ClientUserinfoChanged: 0 n\\Ann\n");
    EXPECT_EQ(second.next_game(), 0);
    EXPECT_EQ(second.count(), 0);
}

// Whole logs read game by game: per game the slots' names, kills, deaths and
// play time (-1: not checked); `ended` false for a log that stops without
// ShutdownGame:.
struct slot_expect {
    const char* name;
    uint32_t kills, killed;
    int playtime;
};
struct game_expect {
    bool ended;
    std::vector<slot_expect> slots;
};
struct log_case {
    const char* what;
    std::string log;
    std::vector<game_expect> games;
};

TEST_F(Dispatch, LogsYieldTheirGames) {
    const log_case cases[] = {
        {"connects and disconnects measure play time; bad client numbers do nothing",
         " 0:00 InitGame: \\g_gametype\\0\n 0:10 ClientConnect: 0\n"
         " 0:12 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 0:20 ClientConnect: 1\n"
         " 0:20 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 1:10 ClientDisconnect: 0\n"
         " 2:00 ClientDisconnect: 4294967296\n 2:00 ClientConnect: 4294967297\n"
         " 2:00 ClientConnect: -1\n 2:00 ClientDisconnect: 512\n10:20 ShutdownGame:\n",
         {{true, {{"Ann", 0, 0, 60}, {"Bob", 0, 0, 600}}}}},
        // A warm-up closes what was counted; Game_Start turns counting back on,
        // and clients need a new user info (a new slot) before their kills count.
        // The warm-up kept the connect times: play time runs from them.
        {"warm-up, then Game_Start",
         game_start(1) +
             " 0:30 Warmup:\n 0:35 Kill: 0 1 10:\n 0:36 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
             " 0:40 Game_Start:\n 0:41 Kill: 0 1 10:\n 0:42 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
             " 0:42 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 0:50 Kill: 0 1 10:\n 1:30 ShutdownGame:\n",
         {{true, {{"Ann", 0, 0, 29}, {"Bob", 0, 0, 28}, {"Ann", 1, 0, 89}, {"Bob", 0, 1, 88}}}}},
        // One-on-one: a player joining the spectators stops the counting; a game
        // that ends with Exit leaves the next one uncounted until Game_Start.
        {"one-on-one games",
         game_start(1) +
             " 0:10 Kill: 0 1 10:\n 0:20 ClientUserinfoChanged: 1 n\\Bob\\t\\3\n 0:30 Kill: 0 1 10:\n"
             " 0:31 Item: 0 item_quad\n 0:40 ShutdownGame:\n"
             " 0:41 InitGame: \\g_gametype\\1\n 0:42 ClientConnect: 0\n"
             " 0:42 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 0:42 ClientConnect: 1\n"
             " 0:42 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 0:50 Kill: 0 1 10:\n"
             " 1:00 Exit: Fraglimit hit.\n 1:01 ShutdownGame:\n"
             " 1:02 InitGame: \\g_gametype\\1\n 1:03 ClientConnect: 0\n"
             " 1:03 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 1:04 Game_Start:\n"
             " 1:05 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 1:06 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n"
             " 1:07 Kill: 1 0 10:\n 1:10 ShutdownGame:\n",
         {{true, {{"Ann", 1, 0, -1}, {"Bob", 0, 1, 18}}},
          {true, {{"Ann", 1, 0, -1}, {"Bob", 0, 1, -1}}},
          {true, {{"Ann", 0, 1, -1}, {"Bob", 1, 0, -1}}}}},
        {"a log that ends without ShutdownGame: closes the play time at the last time stamp",
         " 0:00 InitGame: \\g_gametype\\0\n 0:10 ClientConnect: 0\n"
         " 0:12 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 0:30 ClientConnect: 1\n"
         " 0:30 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 2:00 Kill: 0 1 10:\n"
         " 2:30 score: 5 ping: 40 client: 0 Ann",
         {{false, {{"Ann", 1, 0, 110}, {"Bob", 0, 1, 90}}}}},
        {"games follow one another",
         game_start(0) + " 0:10 Kill: 0 1 10:\n 1:00 ShutdownGame:\n 1:01 ClientConnect: 0\n" +
             game_start(3) +
             " 0:20 ClientUserinfoChanged: 1 n\\Bob\\t\\2\n 0:30 Kill: 1 0 6:\n 2:00 ShutdownGame:\n",
         {{true, {{"Ann", 1, 0, -1}, {"Bob", 0, 1, -1}}}, {true, {{"Ann", 0, 1, -1}, {"Bob", 1, 0, -1}}}}},
    };
    for (const log_case& c : cases) {
        SCOPED_TRACE(c.what);
        ignore_events = false;
        parsed_log log(c.log);
        for (size_t g = 0; g < c.games.size(); g++) {
            SCOPED_TRACE("game " + std::to_string(g + 1));
            ASSERT_EQ(log.next_game(), c.games[g].ended ? 1 : 0);
            const std::vector<slot_expect>& slots = c.games[g].slots;
            ASSERT_EQ(log.count(), static_cast<int>(slots.size()));
            for (size_t i = 0; i < slots.size(); i++) {
                const player_t& p = log.slot(static_cast<int>(i));
                EXPECT_STREQ(p.name, slots[i].name) << "slot " << i;
                EXPECT_EQ(p.kills[0], slots[i].kills) << "slot " << i;
                EXPECT_EQ(p.killed[0], slots[i].killed) << "slot " << i;
                if (slots[i].playtime >= 0) {
                    EXPECT_EQ(p.playtime, uint32_t(slots[i].playtime)) << "slot " << i;
                }
            }
        }
        EXPECT_EQ(log.next_game(), 0);
    }
}

TEST_F(BadLog, EmptyLogEndsAtOnce) {
    parsed_log log("");
    EXPECT_EQ(log.next_game(), 0);
    EXPECT_EQ(log.count(), 0);
    EXPECT_EQ(log.parser->last_time, 0);
}

}  // namespace

// The run reads each game into the next record of a ring while the pages of
// the games before are written, taking over what outlives a game with
// carry_over. A second game read that way must come out as it does when both
// games are read into one record.
TEST_F(Dispatch, NextGameReadIntoAnotherRecordAfterCarryOver) {
    const std::string duel_with_exit =
        " 0:00 InitGame: \\g_gametype\\1\\gamename\\duelmod\\mapname\\Pit\n"
        " 0:01 ClientConnect: 0\n 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
        " 0:02 ClientConnect: 1\n 0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n"
        " 0:10 Kill: 0 1 10:\n 5:00 Exit: Fraglimit hit.\n 5:05 ShutdownGame:\n";
    const std::string ffa_then_team =
        " 0:00 InitGame: \\g_gametype\\0\\gamename\\base\\mapname\\Arena\n"
        " 0:01 ClientConnect: 0\n 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\1\n"
        " 0:02 ClientConnect: 1\n 0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\2\n"
        " 0:10 Kill: 0 1 10:\n 1:00 ShutdownGame:\n";
    const std::string second_game =
        // No game type or game name: both are the ones before.
        " 0:00 InitGame: \\mapname\\Next\n"
        " 0:01 ClientConnect: 0\n 0:01 ClientUserinfoChanged: 0 n\\Cid\\t\\0\n"
        " 0:02 ClientConnect: 1\n 0:02 ClientUserinfoChanged: 1 n\\Dee\\t\\0\n"
        " 0:05 Kill: 0 1 7:\n 0:06 Kill: 1 0 7:\n 0:07 say: Cid: gg\n 2:00 ShutdownGame:\n";

    // The second game as read: settings, skip flag and players.
    auto second = [](const std::string& log, bool ring) {
        parsed_log first(log);
        resultdata other(&first.settings);
        EXPECT_EQ(first.next_game(), 1);
        if (ring) {
            other.carry_over(*first.results);
            first.parser->results = &other;
        }
        resultdata& game = ring ? other : *first.results;
        game.reset();
        EXPECT_EQ(first.parser->parse(), 1);
        std::string seen = std::to_string(game.game_type) + " " + game.game_type_name + " " +
                           game.game_name + " " + game.map_name + (ignore_events ? " skipping" : "") +
                           (game.team_game ? " team" : "");
        for (int i = 0; i < game.player_count; i++) {
            const player_t& p = game.players[i];
            seen += std::string(" | ") + p.name + " " + std::to_string(p.kills[0]) + "/" +
                    std::to_string(p.killed[0]) + " " + std::to_string(p.playtime) + "s";
        }
        ignore_events = false;
        return seen;
    };
    const struct {
        const std::string& before;
        const char* one_record;
    } cases[] = {
        // After a one-on-one game that saw Exit, the next game is not counted.
        {duel_with_exit, "1 1on1 duelmod next skipping"},
        {ffa_then_team, "0 FFA base next | Cid 1/1 119s | Dee 1/1 118s"},
    };
    for (const auto& c : cases) {
        const std::string log = c.before + second_game;
        EXPECT_EQ(second(log, false), c.one_record);
        EXPECT_EQ(second(log, true), c.one_record);
    }
}
