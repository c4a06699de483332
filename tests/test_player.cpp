// player_t (counters, derived statistics, caches, names) and p2p_t.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "total/p2p.h"
#include "total/player.h"

namespace {

// fatal_error reports on standard output and reads one character; a death
// test sees standard error only, so send the report there and read nothing.
void report_to_stderr() {
    fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!freopen("/dev/null", "r", stdin)) _exit(3);
}

TEST(Player, NewRecord) {
    player_t p;
    EXPECT_EQ(p.frags(), 0);
    EXPECT_EQ(p.score(), 0);
    EXPECT_EQ(p.skill(), 0.0);
    EXPECT_EQ(p.eff(), 0.0);
    EXPECT_EQ(p.ratio(), -9999.0);
    EXPECT_EQ(p.bot_skill, -1);
    EXPECT_EQ(p.team, -1);
    EXPECT_EQ(p.next, nullptr);
    EXPECT_EQ(p.p2ps.next, nullptr);
    EXPECT_STREQ(p.get_name(), "");
    EXPECT_TRUE(p.teams.empty());
}

struct stat_case {
    uint32_t kills, killed, suicides, world, teamkills, playtime;
    int frags, score;
    uint32_t deaths;
    double skill, eff, ratio;
};

const stat_case stat_cases[] = {
    // kills, killed, suicides, world, teamkills, playtime | frags, score, deaths, skill, eff, ratio
    {10, 2, 1, 1, 0, 300, 8, 8, 4, 2.0, 1000.0 / 14, 0.8},
    {0, 0, 3, 0, 0, 0, -3, -3, 3, 0.0, 0.0, -9999.0},
    {5, 0, 0, 0, 0, 0, 5, 5, 0, 5.0, 100.0, -9999.0},
    // Times killed by others never lower frags.
    {4, 20, 0, 0, 0, 60, 4, 4, 20, 4.0 / 21, 400.0 / 24, 4.0 - 20.0},
    // Team kills lower the score only.
    {6, 0, 0, 0, 2, 120, 6, 4, 0, 6.0, 100.0, 3.0},
    {0, 3, 0, 2, 0, 30, -2, -2, 5, 0.0, 0.0, -4.0 - 10.0},
    // Counters are 32-bit: a busy server's totals pass 65535.
    {100000, 70000, 0, 0, 0, 3600, 100000, 100000, 70000, 100000.0 / 70001,
     10000000.0 / 170000, 100000.0 / 60 - 70000.0 / 60},
};

TEST(Player, DerivedStatistics) {
    for (const auto& c : stat_cases) {
        player_t p;
        p.kills[0] = c.kills;
        p.killed[0] = c.killed;
        p.suicides[0] = c.suicides;
        p.world_deaths = c.world;
        p.teamkills[0] = c.teamkills;
        p.playtime = c.playtime;
        SCOPED_TRACE(::testing::Message() << "kills " << c.kills << " killed " << c.killed);
        EXPECT_EQ(p.frags(), c.frags);
        EXPECT_EQ(p.score(), c.score);
        EXPECT_EQ(p.total_deaths(), c.deaths);
        EXPECT_DOUBLE_EQ(p.skill(), c.skill);
        EXPECT_DOUBLE_EQ(p.eff(), c.eff);
        EXPECT_NEAR(p.ratio(), c.ratio, 1e-9);
    }
    player_t p;
    p.kills[0] = 10;
    p.killed[0] = 2;
    p.suicides[0] = 1;
    p.world_deaths = 1;
    EXPECT_NEAR(p.eff(), 71.43, 0.005);
}

TEST(Player, StatisticsAreCachedUntilReset) {
    player_t p;
    p.kills[0] = 10;
    p.killed[0] = 2;
    p.suicides[0] = 1;
    p.world_deaths = 1;
    p.playtime = 300;
    EXPECT_DOUBLE_EQ(p.skill(), 2.0);
    EXPECT_NEAR(p.eff(), 71.43, 0.005);
    EXPECT_NEAR(p.ratio(), 0.8, 1e-9);

    p.kills[0] = 50;
    p.killed[0] = 0;
    p.playtime = 60;
    EXPECT_DOUBLE_EQ(p.skill(), 2.0);
    EXPECT_NEAR(p.eff(), 71.43, 0.005);
    EXPECT_NEAR(p.ratio(), 0.8, 1e-9);
    EXPECT_EQ(p.frags(), 48);  // frags are never cached
    EXPECT_DOUBLE_EQ(p.compute_skill(), 50.0 / 3);

    // A copy carries the caches.
    player_t copy(p);
    EXPECT_DOUBLE_EQ(copy.skill(), 2.0);
    player_t assigned;
    assigned = p;
    EXPECT_NEAR(assigned.ratio(), 0.8, 1e-9);
    EXPECT_EQ(assigned.total_kills(), 50u);

    p.reset();
    EXPECT_EQ(p.skill(), 0.0);
    EXPECT_EQ(p.ratio(), -9999.0);
    p.kills[0] = 3;
    p.playtime = 60;
    EXPECT_DOUBLE_EQ(p.skill(), 3.0);
    // -9999 was cached by the ratio asked before the play time came.
    EXPECT_EQ(p.ratio(), -9999.0);
}

TEST(Player, ZeroResultIsComputedAgain) {
    player_t p;
    p.suicides[0] = 1;
    EXPECT_EQ(p.skill(), 0.0);
    EXPECT_EQ(p.eff(), 0.0);
    p.kills[0] = 4;
    EXPECT_DOUBLE_EQ(p.skill(), 2.0);
    EXPECT_DOUBLE_EQ(p.eff(), 80.0);
}

TEST(Player, ResetKeepsP2pList) {
    player_t p;
    p2p_t* first = new p2p_t;
    p.p2ps.next = first;
    p.kills[3] = 7;
    p.items[ITEM_QUAD] = 2;
    p.set_name("^1A");
    p.teams = "\x01";
    p.reset();
    EXPECT_EQ(p.p2ps.next, first);
    EXPECT_EQ(p.kills[3], 0u);
    EXPECT_EQ(p.items[ITEM_QUAD], 0u);
    EXPECT_STREQ(p.get_name(), "");
    EXPECT_TRUE(p.name_html.empty());
    EXPECT_TRUE(p.teams.empty());
    p.p2ps.next = nullptr;
    delete first;
}

TEST(Player, Names) {
    player_t p;
    p.set_name("^1Red^7Guy");
    EXPECT_STREQ(p.get_name(), "^1Red^7Guy");
    EXPECT_EQ(p.get_display_name(true), "RedGuy");
    EXPECT_EQ(p.get_display_name(false), "<font color=\"red\">Red</font><font color=\"white\">Guy</font>");

    // The same name again leaves the derived forms alone.
    p.name_html = "kept";
    p.name_ascii = "kept too";
    p.set_name("^1Red^7Guy");
    EXPECT_EQ(p.name_html, "kept");
    EXPECT_EQ(p.name_ascii, "kept too");
    // A name differing in case only is a new name.
    p.set_name("^1red^7Guy");
    EXPECT_EQ(p.name_ascii, "redGuy");

    // 64 characters is the limit, also for the worst names.
    std::string coded;
    while (coded.size() < 64) coded += "^3<";
    coded.resize(64);  // 21 coded '<' and a lone caret
    for (const std::string& name : {std::string(64, '&'), std::string(64, 'x'), coded}) {
        p.set_name(name.c_str());
        EXPECT_EQ(std::string(p.get_name()), name);
    }
    EXPECT_EQ(p.name_ascii.size(), 21u * 4 + 1);
    EXPECT_EQ(p.name_html.rfind("<font color=\"yellow\">&lt;</font>", 0), 0u);
}

TEST(PlayerDeathTest, NameOverflowIsFatal) {
    player_t p;
    std::string name(65, 'a');
    EXPECT_EXIT(
        {
            report_to_stderr();
            p.set_name(name.c_str());
        },
        ::testing::ExitedWithCode(1), "ERROR: player_t::set_name - overflow");
    p2p_t r;
    EXPECT_EXIT(
        {
            report_to_stderr();
            r.set_name(name.c_str());
        },
        ::testing::ExitedWithCode(1), "ERROR: p2p_t::set_name - overflow");
}

TEST(Player, Pings) {
    player_t p;
    p.add_ping(50);
    p.add_ping(70);
    p.add_ping(0);
    EXPECT_EQ(p.ping_count, 3);
    EXPECT_EQ(p.ping_sum, 120);
}

TEST(P2p, Counters) {
    p2p_t r;
    EXPECT_EQ(r.next, nullptr);
    EXPECT_EQ(r.total_kills(), 0u);
    EXPECT_EQ(r.total_killed(), 0u);
    for (int w = 0; w < 32; ++w) {
        EXPECT_EQ(r.get_kills(w), 0u);
        EXPECT_EQ(r.get_killed(w), 0u);
    }

    // Weapons arrive in any order and more than once.
    r.add(10, 2, 0);
    r.add(2, 0, 1);
    r.add(31, 0, 0);
    r.add(6, 2, 0);
    r.add(10, 1, 0);
    r.add(1, 0, 0);
    r.add(0, 5, 1);
    EXPECT_EQ(r.total_kills(), 5u);
    EXPECT_EQ(r.total_killed(), 1u);
    EXPECT_EQ(r.get_kills(0), 5u);
    EXPECT_EQ(r.get_kills(10), 3u);
    EXPECT_EQ(r.get_kills(6), 2u);
    EXPECT_EQ(r.get_killed(2), 1u);
    EXPECT_EQ(r.get_kills(2), 0u);
    EXPECT_EQ(r.get_killed(10), 0u);
    EXPECT_EQ(r.get_kills(31), 0u);
    EXPECT_EQ(r.get_kills(4), 0u);

    // 32-bit: no wrap at 65535.
    r.add(0, 70000, 65536);
    r.add(8, 70000, 0);
    EXPECT_EQ(r.total_kills(), 70005u);
    EXPECT_EQ(r.total_killed(), 65537u);
    EXPECT_EQ(r.get_kills(8), 70000u);
}

TEST(P2p, Names) {
    p2p_t r;
    r.set_name("^4Blue<3");
    EXPECT_STREQ(r.get_name(), "^4Blue<3");
    EXPECT_EQ(r.name_html(), "<font color=\"blue\">Blue&lt;3</font>");
    EXPECT_EQ(r.name_ascii(), "Blue&lt;3");
    std::string longest(64, '&');
    r.set_name(longest.c_str());
    EXPECT_EQ(std::string(r.get_name()), longest);
    EXPECT_EQ(r.name_ascii().size(), 64u * 5);
}

}  // namespace
