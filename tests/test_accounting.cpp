// Kill, item and ping accounting of one game, the weapon and item tables and
// the kill matrix's per-game clearing.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"
#include "game/weapons.h"
#include "log_support.h"

namespace {

const char* const weapon_warning = "\nWARNING: weapon id > MAX_WEAPONS, weapon id reset to zero\n";

class Accounting : public vexo_test::game_test {
protected:
    // Every kill-matrix entry of the slots in use, all weapons.
    unsigned matrix_sum() const {
        unsigned sum = 0;
        for (int k = 0; k < rd->get_player_count(); ++k)
            for (int v = 0; v < rd->get_player_count(); ++v)
                for (int w = 0; w < MAX_WEAPONS; ++w) sum += rd->get_kills_vs(k, v, w);
        return sum;
    }
};

// Names of the kill charts and player pages; ids without a weapon get a number.
TEST(Weapons, Names) {
    const std::pair<int, const char*> cases[] = {{0, "All weapons"}, {5, "Grenade splash"}, {11, "Lightning gun"},
                                                 {14, "weapon 14"},  {18, "Telefrag"},        {20, "Suicide"},
                                                 {40, "weapon 40"},  {-1, "weapon -1"}};
    for (const auto& c : cases) EXPECT_EQ(weapon_name(c.first), c.second) << c.first;
}

// Splash ids fold into their weapon; ids of 32 and more count under 0 with a
// warning; id 0 adds once to the all-weapons entries.
TEST_F(Accounting, WeaponIds) {
    const struct {
        int id, counted;
        bool warns;
    } cases[] = {{1, 1, false},   {4, 4, false},   {5, 4, false},   {6, 6, false},  {7, 6, false},
                 {8, 8, false},   {9, 8, false},   {10, 10, false}, {12, 12, false}, {13, 12, false},
                 {14, 14, false}, {20, 20, false}, {31, 31, false}, {0, 0, false},  {32, 0, true},
                 {40, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        start();
        join(0, "A");
        join(1, "B");
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(rd->add_kill(0, 1, c.id, 10), 0);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.warns ? weapon_warning : "");

        EXPECT_EQ(slot(0).kills[0], 1u);
        EXPECT_EQ(slot(1).killed[0], 1u);
        EXPECT_EQ(rd->get_kills_vs(0, 1, 0), 1u);
        EXPECT_EQ(slot(0).kills[c.counted], 1u);
        EXPECT_EQ(slot(1).killed[c.counted], 1u);
        EXPECT_EQ(rd->get_kills_vs(0, 1, c.counted), 1u);
        EXPECT_EQ(rd->get_weapon_total(c.counted), 1u);
        unsigned by_weapon = 0;
        for (int w = 1; w < MAX_WEAPONS; ++w) by_weapon += slot(0).kills[w] + rd->get_kills_vs(0, 1, w);
        EXPECT_EQ(by_weapon, c.counted == 0 ? 0u : 2u);
    }
}

// One kill between client 0 (player P0) and client 1 (P1) with weapon 10, by
// the teams of the two and who kills whom.
struct counts {
    uint32_t kills, killed, suicides, teamkills, world;
};
struct kill_case {
    const char* what;
    int team0, team1, killer, victim;
    counts p0, p1, t1, t2;
    std::array<unsigned, 4> cells;  // kill matrix (0,1) (1,0) (0,0) (1,1)
    int life_kills0;
};

const kill_case kill_cases[] = {
    {"no teams", 0, 0, 0, 1, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {}, {}, {1, 0, 0, 0}, 1},
    {"red kills blue", 1, 2, 0, 1, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {1, 0, 0, 0}, 1},
    {"blue kills red", 1, 2, 1, 0, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0}, 0},
    {"team kill", 1, 1, 0, 1, {0, 0, 0, 1, 0}, {}, {0, 0, 0, 1, 0}, {}, {1, 0, 0, 0}, 1},
    {"suicide on a side", 2, 2, 1, 1, {}, {0, 0, 1, 0, 0}, {}, {0, 0, 1, 0, 0}, {0, 0, 0, 1}, 0},
    {"suicide without teams", 0, 0, 0, 0, {0, 0, 1, 0, 0}, {}, {}, {}, {0, 0, 1, 0}, 0},
    {"world kill", 0, 2, 600, 1, {}, {0, 0, 0, 0, 1}, {}, {0, 0, 0, 0, 1}, {0, 0, 0, 0}, 0},
    {"killer 513", 0, 1, 513, 1, {}, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}, {}, {0, 0, 0, 0}, 0},
    {"killer 512", 0, 2, 512, 1, {}, {}, {}, {}, {0, 0, 0, 0}, 0},
    {"both spectators", 3, 3, 0, 1, {}, {}, {}, {}, {1, 0, 0, 0}, 1},
    {"both without a team", -1, -1, 0, 1, {}, {}, {}, {}, {1, 0, 0, 0}, 1},
    {"side kills team 0", 1, 0, 0, 1, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {}, {1, 0, 0, 0}, 1},
    {"spectator kills blue", 3, 2, 0, 1, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {}, {0, 1, 0, 0, 0}, {1, 0, 0, 0}, 1},
    {"victim not a client", 1, 2, 0, 600, {}, {}, {}, {}, {0, 0, 0, 0}, 0},
};

class KillKinds : public Accounting, public ::testing::WithParamInterface<kill_case> {};

void expect_counts(const player_t& p, const counts& c, bool slot, const char* who) {
    SCOPED_TRACE(who);
    EXPECT_EQ(p.kills[0], c.kills);
    EXPECT_EQ(p.killed[0], c.killed);
    EXPECT_EQ(p.suicides[0], c.suicides);
    EXPECT_EQ(p.teamkills[0], c.teamkills);
    EXPECT_EQ(p.world_deaths, c.world);
    EXPECT_EQ(p.kills[10], c.kills);
    EXPECT_EQ(p.killed[10], c.killed);
    EXPECT_EQ(p.suicides[10], c.suicides);
    // A player slot counts team kills in entry 0 only; a team record by weapon too.
    EXPECT_EQ(p.teamkills[10], slot ? 0u : c.teamkills);
}

TEST_P(KillKinds, Counters) {
    const kill_case& c = GetParam();
    start(3);
    join(0, "A", -1, c.team0, 5);
    join(1, "B", -1, c.team1, 5);
    EXPECT_EQ(rd->add_kill(c.killer, c.victim, 10, 50), 0);
    expect_counts(slot(0), c.p0, true, "P0");
    expect_counts(slot(1), c.p1, true, "P1");
    expect_counts(rd->get_team(1), c.t1, false, "team 1");
    expect_counts(rd->get_team(2), c.t2, false, "team 2");
    expect_counts(rd->get_team(0), counts{}, false, "team 0");
    EXPECT_EQ(rd->get_team_kills(1), c.t1.kills);
    EXPECT_EQ(rd->get_team_killed(2), c.t2.killed);
    EXPECT_EQ(rd->get_team_suicides(2), c.t2.suicides);
    const std::array<unsigned, 4> cells = {rd->get_kills_vs(0, 1, 10), rd->get_kills_vs(1, 0, 10),
                                           rd->get_kills_vs(0, 0, 10), rd->get_kills_vs(1, 1, 10)};
    EXPECT_EQ(cells, c.cells);
    EXPECT_EQ(rd->get_kills_vs(0, 1, 0) + rd->get_kills_vs(1, 0, 0) + rd->get_kills_vs(0, 0, 0) +
                  rd->get_kills_vs(1, 1, 0),
              c.cells[0] + c.cells[1] + c.cells[2] + c.cells[3]);
    EXPECT_EQ(rd->life_kills[0], c.life_kills0);
    // The victim's life ends, whoever the killer.
    if (c.victim < MAX_CLIENT_IDS) {
        EXPECT_EQ(rd->life_start[c.victim], 50);
        EXPECT_EQ(rd->life_kills[c.victim], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Kills, KillKinds, ::testing::ValuesIn(kill_cases));

// Id 0 (kills are in WeaponIds): suicides and team kills add once too.
TEST_F(Accounting, WeaponZeroCountsOnce) {
    start(3);
    join(0, "A", -1, 1);
    join(1, "B", -1, 1);
    rd->add_kill(1, 1, 0, 20);
    rd->add_kill(0, 1, 0, 30);
    EXPECT_EQ(slot(1).suicides[0], 1u);
    EXPECT_EQ(slot(0).teamkills[0], 1u);
    EXPECT_EQ(rd->get_team(1).suicides[0], 1u);
    EXPECT_EQ(rd->get_team(1).teamkills[0], 1u);
    EXPECT_EQ(rd->get_kills_vs(1, 1, 0), 1u);
    EXPECT_EQ(rd->get_kills_vs(0, 1, 0), 1u);
    EXPECT_EQ(matrix_sum(), 2u);
}

// Every counter a line can touch, of two slots and the two sides.
std::vector<int64_t> counters(resultdata& rd) {
    std::vector<int64_t> all;
    for (const player_t* p : {&rd.get_player(0), &rd.get_player(1), &rd.get_team(1), &rd.get_team(2)}) {
        for (int w = 0; w < MAX_WEAPONS; ++w)
            all.insert(all.end(), {p->kills[w], p->killed[w], p->suicides[w], p->teamkills[w]});
        all.insert(all.end(), {p->world_deaths, p->items_total, p->ping_count, p->mkiol});
    }
    for (int c : {0, 1}) all.insert(all.end(), {rd.life_kills[c], rd.life_start[c]});
    return all;
}

TEST_F(Accounting, NegativeNumbersAreDropped) {
    start(3);
    join(0, "A", -1, 1);
    join(1, "B", -1, 2);
    rd->add_kill(0, 1, 10, 10);
    rd->add_kill(0, 1, 10, 20);
    const std::vector<int64_t> before = counters(*rd);

    const int kills[][3] = {{-1, 1, 10}, {0, -1, 10}, {0, 1, -1}, {1, 1, -4}, {-5, -5, 4}, {600, 1, -3}, {-600, 1, 6}};
    for (const auto& k : kills) rd->add_kill(k[0], k[1], k[2], 30);
    rd->add_item(-1, "item_quad", 30);
    for (int client : {-1, 512, 100000}) rd->add_ping(client, 40);
    EXPECT_EQ(counters(*rd), before);
    EXPECT_EQ(matrix_sum(), 4u);
}

TEST_F(Accounting, SkippedBots) {
    settings.skip_bots = true;
    start();
    join(0, "Bot", 4);
    join(1, "Human");
    join(2, "Other");
    EXPECT_EQ(rd->add_kill(0, 1, 10, 30), 1);
    EXPECT_EQ(rd->add_kill(1, 0, 10, 31), 1);
    EXPECT_EQ(rd->add_kill(600, 0, 10, 32), 1);
    EXPECT_EQ(rd->add_kill(0, 0, 10, 33), 1);
    EXPECT_EQ(rd->life_start[1], 0);
    EXPECT_EQ(rd->life_start[0], 0);
    EXPECT_EQ(matrix_sum(), 0u);
    EXPECT_EQ(slot(1).killed[0] + slot(0).killed[0] + slot(1).kills[0] + slot(0).world_deaths, 0u);
    EXPECT_EQ(rd->add_kill(2, 1, 10, 40), 0);
    EXPECT_EQ(slot(1).killed[0], 1u);

    settings.skip_bots = false;
    EXPECT_EQ(rd->add_kill(0, 1, 10, 50), 0);
    EXPECT_EQ(slot(0).kills[0], 1u);
    EXPECT_EQ(slot(1).killed[0], 2u);
}

TEST_F(Accounting, ClientsWithoutSlot) {
    start();
    join(0, "A");
    rd->client_connect(5, 0);  // no user info yet
    EXPECT_EQ(rd->add_kill(5, 0, 10, 10), 2);
    EXPECT_EQ(rd->add_kill(0, 5, 10, 10), 2);
    EXPECT_EQ(rd->add_kill(600, 5, 10, 10), 2);
    EXPECT_EQ(slot(0).kills[0] + slot(0).killed[0], 0u);
    EXPECT_EQ(rd->life_start[0], 0);
    rd->add_item(5, "item_quad", 10);
    rd->add_ping(5, 30);
    EXPECT_EQ(rd->get_player_count(), 1);

    // After a reset the client table keeps the old slots, which are no
    // longer in use.
    join(1, "B");
    rd->reset();
    EXPECT_EQ(rd->clients[1].slot, 1);
    EXPECT_EQ(rd->add_kill(0, 1, 10, 10), 2);
    EXPECT_EQ(rd->add_kill(1, 1, 10, 10), 2);
    EXPECT_EQ(rd->get_player(0).kills[0], 0u);
}

TEST_F(Accounting, BestLife) {
    start();
    join(0, "A");
    join(1, "B");
    for (int t : {10, 20, 30}) rd->add_kill(0, 1, 10, t);
    rd->add_kill(1, 0, 10, 50);  // ends A's life of 3 kills, 50 s
    EXPECT_EQ(slot(0).mkiol, 3u);
    EXPECT_EQ(slot(0).mkiol_time, 50u);
    rd->add_kill(0, 1, 10, 60);  // ends B's life of 1 kill, from 30 to 60
    EXPECT_EQ(slot(1).mkiol, 1u);
    EXPECT_EQ(slot(1).mkiol_time, 30u);
    rd->add_kill(0, 1, 10, 70);
    rd->client_disconnect(0, 100);  // 2 kills in this life: the best stays
    EXPECT_EQ(slot(0).mkiol, 3u);
    EXPECT_EQ(slot(0).mkiol_time, 50u);

    join(2, "C", -1, 0, 100);
    for (int t : {110, 120, 130, 140}) rd->add_kill(2, 1, 6, t);
    rd->end_game(200);  // the game's end closes C's life of 4 kills
    EXPECT_EQ(slot(2).mkiol, 4u);
    EXPECT_EQ(slot(2).mkiol_time, 100u);
    EXPECT_EQ(slot(1).mkiol, 1u);
}

TEST_F(Accounting, ItemsByClassName) {
    start();
    join(0, "A");
    join(1, "Bot", 1);  // bots pick up items like anyone
    const struct {
        const char* name;
        int index;
    } cases[] = {{"item_health", ITEM_HEALTH},       {"item_health_small", ITEM_HEALTH_SMALL},
                 {"item_health_mega", ITEM_HEALTH_MEGA}, {"item_armor_body", ITEM_ARMOR_BODY},
                 {"team_CTF_redflag", TEAM_CTF_REDFLAG}, {"weapon_shotgun", WEAPON_SHOTGUN},
                 {"item_armor_shard", 4},            {"item_quad", 11},
                 {"holdable_teleporter", 14},        {"ammo_bfg", 17},
                 {"weapon_bfg", 25},                 {"weapon_rocketlauncher", 31},
                 {"Item_health", -1},                {"item_health_mega2", -1},
                 {"weapon_gauntlet", -1},            {"", -1}};
    int total = 0;
    for (const auto& c : cases) {
        for (int client : {0, 1}) {
            player_t& p = slot(client);
            uint32_t before = c.index < 0 ? 0 : p.items[c.index];
            rd->add_item(client, c.name, 5);
            if (c.index >= 0) {
                EXPECT_EQ(p.items[c.index], before + 1) << c.name;
            }
        }
        ++total;
        EXPECT_EQ(slot(0).items_total, total) << c.name;
    }
    uint32_t known = 0;
    for (int i = 0; i < ITEM_COUNT; ++i) known += slot(1).items[i];
    EXPECT_EQ(known, 12u);
    EXPECT_EQ(slot(1).items_total, total);
}

// Player counters are 32-bit; the kill matrix stays 16-bit.
TEST_F(Accounting, CountersPass65535) {
    start();
    join(0, "A");
    join(1, "B");
    for (int i = 0; i < 70000; ++i) rd->add_kill(0, 1, 10, 1);
    for (int i = 0; i < 70000; ++i) rd->add_item(0, "ammo_slugs", 1);
    for (int i = 0; i < 70000; ++i) rd->add_kill(600, 0, 10, 1);
    EXPECT_EQ(slot(0).kills[0], 70000u);
    EXPECT_EQ(slot(0).kills[10], 70000u);
    EXPECT_EQ(slot(1).killed[0], 70000u);
    EXPECT_EQ(slot(0).items[AMMO_SLUGS], 70000u);
    EXPECT_EQ(slot(0).items_total, 70000);
    EXPECT_EQ(rd->get_weapon_total(10), 70000u);
    EXPECT_EQ(rd->get_kills_vs(0, 1, 10), 70000u - 65536u);
    rd->end_game(5);
    EXPECT_EQ(slot(0).mkiol, 70000u);
    EXPECT_EQ(slot(0).world_deaths, 70000u);
    EXPECT_EQ(slot(0).frags(), 0);
}

// Every matrix entry a game wrote is gone before the next game, and the
// clearing stays inside the square of the slots the game used.
TEST_F(Accounting, GrenadeSuicideLeavesNoTrace) {
    start();
    join(0, "A");
    join(1, "B");
    rd->add_kill(0, 0, 5, 10);
    EXPECT_EQ(rd->get_kills_vs(0, 0, 4), 1u);
    EXPECT_EQ(rd->get_weapon_total(4), 0u);
    rd->end_game(100);

    start();
    join(0, "A");
    join(1, "B");
    EXPECT_EQ(rd->get_kills_vs(0, 0, 4), 0u);
    EXPECT_EQ(rd->get_kills_vs(0, 0, 0), 0u);
    EXPECT_EQ(slot(0).suicides[4], 0u);
    EXPECT_EQ(matrix_sum(), 0u);
    rd->add_kill(0, 1, 6, 10);
    EXPECT_EQ(matrix_sum(), 2u);
}

TEST_F(Accounting, ResetClearsOnlyTheUsedSquare) {
    start(3);
    join(0, "A", -1, 1);
    join(1, "B", -1, 2);
    join(2, "C", -1, 1);
    rd->add_kill(0, 1, 6, 10);
    rd->add_kill(2, 0, 10, 11);  // team kill
    rd->add_kill(1, 1, 4, 12);   // suicide
    ::testing::internal::CaptureStdout();
    rd->add_kill(1, 2, 40, 13);  // counted under 0
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(rd->matrix_extent(), 3);
    EXPECT_EQ(matrix_sum(), 7u);

    rd->cell(100, 100)[5] = 7;
    rd->cell(0, 100)[3] = 8;
    rd->cell(100, 2)[9] = 9;
    rd->reset();
    EXPECT_EQ(rd->matrix_extent(), 0);
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 3; ++v)
            for (int w = 0; w < MAX_WEAPONS; ++w) ASSERT_EQ(rd->get_kills_vs(k, v, w), 0u) << k << v << w;
    EXPECT_EQ(rd->get_kills_vs(100, 100, 5), 7u);
    EXPECT_EQ(rd->get_kills_vs(0, 100, 3), 8u);
    EXPECT_EQ(rd->get_kills_vs(100, 2, 9), 9u);
    rd->cell(100, 100)[5] = 0;
    rd->cell(0, 100)[3] = 0;
    rd->cell(100, 2)[9] = 0;
}

}  // namespace
