// Merging finished games into the run's totals: player matching by plain,
// lower-cased name, numbering, summed counters and player-versus-player records.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"
#include "total/resultdata_total.h"
#include "log_support.h"

namespace {

using test_game = vexo_test::game_builder;
using vexo_test::p2p_names;
using vexo_test::player_names;

player_total_t* record(resultdata_total& t, const char* raw_name) {
    for (player_total_t* p : t.player_list())
        if (std::string(p->get_name()) == raw_name) return p;
    return nullptr;
}

std::shared_ptr<p2p_t> versus(const resultdata_total& t, const player_total_t* p, const char* raw_name) {
    for (const p2p_t& r : t.p2p_list(p))
        if (std::string(r.get_name()) == raw_name) return std::make_shared<p2p_t>(r);
    return nullptr;
}

using names = std::vector<std::string>;

}  // namespace

TEST(Totals, NewPlayersAreNumberedInTheSlotOrderOfTheirFirstGame) {
    resultdata_total totals;
    EXPECT_EQ(totals.count_players(), 0);
    EXPECT_TRUE(totals.player_list().empty());
    const int base = player_id_counter;

    test_game g1;
    g1.join(5, "Carl");
    g1.join(2, "Anna");
    g1.join(9, "Ben");
    g1.kill(2, 9, 10);
    g1.rd->end_game(300);
    totals.add_game(*g1.rd);

    EXPECT_EQ(player_names(totals), (names{"Carl", "Anna", "Ben"}));
    EXPECT_EQ(record(totals, "Carl")->id, base + 1);
    EXPECT_EQ(record(totals, "Anna")->id, base + 2);
    EXPECT_EQ(record(totals, "Ben")->id, base + 3);
    EXPECT_EQ(p2p_names(totals, record(totals, "Carl")), (names{"Anna", "Ben"}));
    EXPECT_EQ(p2p_names(totals, record(totals, "Anna")), (names{"Carl", "Ben"}));
    EXPECT_EQ(p2p_names(totals, record(totals, "Ben")), (names{"Carl", "Anna"}));

    test_game g2;
    g2.join(0, "Dora");
    g2.join(1, "ben");
    g2.kill(0, 1, 6);
    g2.rd->end_game(300);
    totals.add_game(*g2.rd);

    EXPECT_EQ(player_names(totals), (names{"Carl", "Anna", "Ben", "Dora"}));
    EXPECT_EQ(totals.count_players(), 4);
    EXPECT_EQ(record(totals, "Dora")->id, base + 4);
    EXPECT_EQ(record(totals, "Ben")->games, 2);
    EXPECT_EQ(record(totals, "Anna")->games, 1);
    EXPECT_EQ(p2p_names(totals, record(totals, "Ben")), (names{"Carl", "Anna", "Dora"}));
    EXPECT_EQ(totals.count_p2ps(record(totals, "Ben")), 3);
    EXPECT_EQ(totals.count_p2ps(record(totals, "Dora")), 1);

    // A known name is found whatever its colours and case; an unknown one is appended.
    EXPECT_EQ(totals.find_player("^3aNNA"), record(totals, "Anna"));
    EXPECT_EQ(totals.count_players(), 4);
    player_total_t* eve = totals.find_player("Eve");
    EXPECT_EQ(eve->id, base + 5);
    EXPECT_EQ(player_names(totals).back(), "Eve");
    EXPECT_EQ(player_id_counter, base + 5);
}

TEST(Totals, ColouredAndUpperCaseFormsAreOnePlayerKeepingTheFirstName) {
    resultdata_total totals;
    test_game g1;
    g1.join(0, "^1Bob");
    g1.join(1, "Al");
    g1.kill(0, 1, 10, 2);
    g1.rd->end_game(100);
    totals.add_game(*g1.rd);

    test_game g2;
    g2.join(3, "BOB");
    g2.join(4, "^4a^7L");
    g2.kill(3, 4, 6);
    g2.kill(4, 3, 2);
    g2.rd->end_game(100);
    totals.add_game(*g2.rd);

    EXPECT_EQ(player_names(totals), (names{"^1Bob", "Al"}));
    player_total_t* bob = record(totals, "^1Bob");
    EXPECT_EQ(bob->games, 2);
    EXPECT_STREQ(bob->name_ascii(), "Bob");
    EXPECT_EQ(bob->get_kills(0), 3u);
    EXPECT_EQ(bob->get_killed(0), 1u);

    // Still one p2p record each way, named as the two first met.
    EXPECT_EQ(p2p_names(totals, bob), (names{"Al"}));
    EXPECT_EQ(p2p_names(totals, record(totals, "Al")), (names{"^1Bob"}));
    auto bob_vs_al = versus(totals, bob, "Al");
    EXPECT_EQ(bob_vs_al->total_kills(), 3u);
    EXPECT_EQ(bob_vs_al->get_kills(10), 2u);
    EXPECT_EQ(bob_vs_al->get_kills(6), 1u);
    EXPECT_EQ(bob_vs_al->total_killed(), 1u);
    EXPECT_EQ(bob_vs_al->get_killed(2), 1u);
    EXPECT_EQ(totals.count_p2ps(bob), 1);
}

TEST(Totals, EveryPairOfAGameGetsP2pRecordsWithTheirWeaponCounts) {
    resultdata_total totals;
    test_game g;
    g.join(0, "A");
    g.join(1, "B");
    g.join(2, "C");   // never kills and is never killed by A or B
    g.kill(0, 1, 10, 3);
    g.kill(0, 1, 6, 2);
    g.kill(1, 0, 2);
    g.kill(2, 2, 4);  // a suicide: the diagonal is not a p2p record
    g.rd->end_game(600);
    totals.add_game(*g.rd);

    player_total_t* a = record(totals, "A");
    player_total_t* b = record(totals, "B");
    player_total_t* c = record(totals, "C");
    EXPECT_EQ(p2p_names(totals, a), (names{"B", "C"}));
    EXPECT_EQ(p2p_names(totals, b), (names{"A", "C"}));
    EXPECT_EQ(p2p_names(totals, c), (names{"A", "B"}));

    // Kills and deaths by weapon of each pair; every other weapon stays 0.
    struct expected_pair {
        player_total_t* owner;
        const char* opponent;
        std::vector<unsigned> kills, killed;  // all weapons, 2, 6, 10
    };
    const expected_pair cases[] = {
        {a, "B", {5, 0, 2, 3}, {1, 1, 0, 0}}, {b, "A", {1, 1, 0, 0}, {5, 0, 2, 3}},
        {a, "C", {0, 0, 0, 0}, {0, 0, 0, 0}}, {c, "A", {0, 0, 0, 0}, {0, 0, 0, 0}},
        {c, "B", {0, 0, 0, 0}, {0, 0, 0, 0}}, {b, "C", {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& e : cases) {
        SCOPED_TRACE(std::string(e.owner->get_name()) + " vs " + e.opponent);
        auto r = versus(totals, e.owner, e.opponent);
        ASSERT_NE(r, nullptr);
        std::vector<unsigned> kills, killed;
        unsigned others = 0;
        for (int w = 0; w < MAX_WEAPONS; w++) {
            if (w == 0 || w == 2 || w == 6 || w == 10) {
                kills.push_back(r->get_kills(w));
                killed.push_back(r->get_killed(w));
            } else {
                others += r->get_kills(w) + r->get_killed(w);
            }
        }
        EXPECT_EQ(kills, e.kills);
        EXPECT_EQ(killed, e.killed);
        EXPECT_EQ(others, 0u);
    }

    // The players' own totals by weapon.
    EXPECT_EQ(a->get_kills(0), 5u);
    EXPECT_EQ(a->get_kills(10), 3u);
    EXPECT_EQ(a->get_kills(6), 2u);
    EXPECT_EQ(a->get_killed(2), 1u);
    EXPECT_EQ(b->get_killed(10), 3u);
    EXPECT_EQ(b->get_kills(2), 1u);
    EXPECT_EQ(c->get_suicides(0), 1u);
    EXPECT_EQ(c->get_suicides(4), 1u);
}

TEST(Totals, TwoSlotsWithOneMatchedNameShareOneRecord) {
    resultdata_total totals;
    test_game g;
    g.join(0, "Bot", 3);
    g.join(1, "X");
    g.join(2, "^2bOT", 3);
    g.kill(0, 2, 8, 2);   // Bot on ^2bOT
    g.kill(2, 0, 3);      // ^2bOT on Bot
    g.kill(1, 0, 1);      // X on Bot
    g.rd->end_game(200);
    totals.add_game(*g.rd);

    EXPECT_EQ(player_names(totals), (names{"Bot", "X"}));
    player_total_t* bot = record(totals, "Bot");
    player_total_t* x = record(totals, "X");
    EXPECT_EQ(bot->games, 2);
    EXPECT_EQ(bot->get_kills(0), 3u);
    EXPECT_EQ(bot->get_killed(0), 4u);
    EXPECT_EQ(bot->playtime, 400u);

    // The record against itself, named after the slot first met, receives
    // both slots' kills on each other.
    EXPECT_EQ(p2p_names(totals, bot), (names{"X", "^2bOT"}));
    auto self = versus(totals, bot, "^2bOT");
    EXPECT_EQ(self->total_kills(), 3u);
    EXPECT_EQ(self->total_killed(), 3u);
    EXPECT_EQ(self->get_kills(8), 2u);
    EXPECT_EQ(self->get_killed(8), 2u);
    EXPECT_EQ(self->get_kills(3), 1u);
    EXPECT_EQ(self->get_killed(3), 1u);
    EXPECT_EQ(versus(totals, bot, "X")->total_killed(), 1u);

    EXPECT_EQ(p2p_names(totals, x), (names{"Bot"}));
    EXPECT_EQ(versus(totals, x, "Bot")->total_kills(), 1u);
    EXPECT_EQ(versus(totals, x, "Bot")->total_killed(), 0u);
}

TEST(Totals, BotSkillIsThatOfTheLatestGame) {
    const struct {
        int first, second;
    } cases[] = {{3, -1}, {-1, 4}, {2, 5}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
        resultdata_total totals;
        for (int skill : {c.first, c.second}) {
            test_game g;
            g.join(0, "Sam", skill);
            g.join(1, "Tom");
            g.kill(0, 1, 3);
            g.rd->end_game(60);
            totals.add_game(*g.rd);
        }
        EXPECT_EQ(totals.count_players(), 2);
        EXPECT_EQ(record(totals, "Sam")->bot_skill, c.second);
        EXPECT_EQ(record(totals, "Tom")->bot_skill, -1);
    }
}

TEST(Totals, TimesGamesPingsAndDeathsAddUpWhileTeamKillsStayOut) {
    resultdata_total totals;
    const unsigned times[] = {100, 200, 300};
    for (int n = 0; n < 3; n++) {
        test_game g;
        g.join(0, "Sam", -1, 1);
        g.join(1, "Tom", -1, 1);
        g.join(2, "Uli", -1, 2);
        g.kill(0, 1, 10);          // team kill
        g.kill(0, 2, 10, 2);
        g.kill(1022, 0, 19);       // the world
        g.rd->add_ping(0, 40 + n);
        g.rd->add_ping(0, 60);
        g.rd->add_item(0, "item_quad", 20);
        g.rd->end_game(times[n]);

        totals.add_game(*g.rd);
    }

    player_total_t* sam = record(totals, "Sam");
    EXPECT_EQ(sam->games, 3);
    EXPECT_EQ(sam->playtime, 600u);
    EXPECT_EQ(sam->ping_count, 6);
    EXPECT_EQ(sam->ping_sum, 40 + 41 + 42 + 3 * 60);
    EXPECT_EQ(sam->world_deaths, 3u);
    EXPECT_EQ(sam->get_kills(0), 6u);
    EXPECT_EQ(sam->get_kills(10), 6u);
    EXPECT_EQ(sam->frags(), 3);
    EXPECT_EQ(sam->score(), 3);  // team kills are not carried into the totals
    EXPECT_EQ(sam->total_teamkills(), 0u);
    EXPECT_EQ(record(totals, "Uli")->get_killed(0), 6u);
    EXPECT_EQ(record(totals, "Tom")->get_killed(0), 0u);
    // A team kill still shows in the pair's record (the matrix counts it).
    EXPECT_EQ(versus(totals, sam, "Tom")->total_kills(), 3u);
}
