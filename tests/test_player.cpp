// player_t (derived statistics, caches, names).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "log_support.h"
#include "total/player.h"

namespace {

struct stat_case {
    uint32_t kills, killed, suicides, world, teamkills, playtime;
    int frags, score;
    uint32_t deaths;
    double skill, eff, ratio;
};

const stat_case stat_cases[] = {
    // kills, killed, suicides, world, teamkills, playtime | frags, score, deaths, skill, eff, ratio
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0.0, 0.0, -9999.0},
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
    player_t assigned;
    assigned = p;
    EXPECT_DOUBLE_EQ(player_t(p).skill(), 2.0);
    EXPECT_NEAR(assigned.ratio(), 0.8, 1e-9);

    p.reset();
    EXPECT_EQ(p.skill(), 0.0);
    EXPECT_EQ(p.ratio(), -9999.0);
    p.kills[0] = 3;
    p.playtime = 60;
    EXPECT_DOUBLE_EQ(p.skill(), 3.0);  // 0.0 is computed again
    EXPECT_EQ(p.ratio(), -9999.0);     // -9999 stays cached
}

TEST(Player, Names) {
    player_t p;
    p.set_name("^1Red^7Guy");
    EXPECT_STREQ(p.get_name(), "^1Red^7Guy");
    EXPECT_EQ(p.get_display_name(true), "RedGuy");
    EXPECT_EQ(p.get_display_name(false), "<font color=\"red\">Red</font><font color=\"white\">Guy</font>");

    // The same name again leaves the derived forms alone; case counts.
    p.name_html = "kept";
    p.set_name("^1Red^7Guy");
    EXPECT_EQ(p.name_html, "kept");
    p.set_name("^1red^7Guy");
    EXPECT_EQ(p.name_ascii, "redGuy");

    // 64 characters is the limit, also for the worst names.
    std::string coded;
    while (coded.size() < 64) coded += "^3<";
    coded.resize(64);  // 21 coded '<' and a lone caret
    for (const std::string& name : {std::string(64, '&'), coded}) {
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
            vexo_test::fatal_child();
            p.set_name(name.c_str());
        },
        ::testing::ExitedWithCode(1), "ERROR: player_t::set_name - overflow");
}

}  // namespace
