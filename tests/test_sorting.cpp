// Sorting of game slots, of the totals' player list and of p2p lists, and the
// compaction of a game's slots. Equal keys keep the order of the exchange sort,
// which the pages show; a reference implementation on a plain linked list
// checks it over many random lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"
#include "log_support.h"
#include "total/resultdata_total.h"

namespace {

using names = std::vector<std::string>;

struct counters {
    uint32_t kills = 0, killed = 0, suicides = 0, world = 0, teamkills = 0, playtime = 0;
    int team = -1;
};

void apply(player_t& p, const counters& c) {
    p.kills[0] = c.kills;
    p.killed[0] = c.killed;
    p.suicides[0] = c.suicides;
    p.world_deaths = c.world;
    p.teamkills[0] = c.teamkills;
    p.playtime = c.playtime;
    p.team = c.team;
}

std::vector<std::string> slot_names(const resultdata& g) {
    std::vector<std::string> v;
    for (int s = 0; s < g.get_player_count(); s++) v.push_back(g.get_player(s).get_name());
    return v;
}

struct test_game : vexo_test::game_builder {
    int slot(const char* name, const counters& c = {}) {
        int s = rd->add_player();
        rd->players[s].set_name(name);
        apply(rd->players[s], c);
        return s;
    }
};

}  // namespace

// ---------------------------------------------------------------- totals ----

TEST(TotalsSort, InvalidOrdersStopTheRunOnceTwoRecordsAreCompared) {
    resultdata_total totals;
    test_game g1;
    g1.join(0, "A");
    g1.join(1, "B");
    totals.add_game(*g1.rd);
    player_total_t* a = totals.find_player("A");

    // One record: nothing to compare, so nothing to complain about.
    EXPECT_EQ(totals.sort_p2ps(a, 7), 0);
    EXPECT_EQ(totals.sort_p2ps(a, 0), 0);

    test_game g2;
    g2.join(0, "A");
    g2.join(1, "C");
    totals.add_game(*g2.rd);
    for (int order : {7, 0, 1, 10, -1}) {
        SCOPED_TRACE(order);
        EXPECT_EXIT({ vexo_test::fatal_child(); totals.sort_p2ps(a, order); }, testing::ExitedWithCode(1),
                    "\nERROR: resultdata_total::sort_p2ps - invalid case\n\nPress ENTER to exit\\.");
    }
    for (int order : {10, -1}) {
        SCOPED_TRACE(order);
        EXPECT_EXIT({ vexo_test::fatal_child(); totals.sort_players(order); }, testing::ExitedWithCode(1),
                    "\n- Sorting all players        \b\b\b\b\b\b\b\\( 33 %\\)"
                    "\nERROR: resultdata_total::sort_players - invalid case\n\nPress ENTER");
    }
    for (int order : {4, 5, 6}) EXPECT_EQ(totals.sort_p2ps(a, order), 0);
}

// ------------------------------------------------------------- one game ----

TEST(GameSort, ScoreAndTeamOrdersInBothDirections) {
    const struct {
        int order;
        bool reverse;
        std::vector<std::pair<const char*, counters>> slots;
        names expected;
    } cases[] = {
        // score: frags minus team kills, signed
        {SORT_SCORE, false, {{"Neg", {0, 0, 0, 0, 2}}, {"Zero", {}}, {"Low", {1, 0, 4, 0, 0}}}, {"Zero", "Neg", "Low"}},
        {SORT_SCORE, true, {{"Zero", {}}, {"Neg", {0, 0, 0, 0, 2}}, {"Low", {1, 0, 4, 0, 0}}}, {"Low", "Neg", "Zero"}},
        {SORT_FRAGS, false, {{"Neg", {0, 0, 0, 0, 2}}, {"Zero", {}}}, {"Neg", "Zero"}},
        {SORT_TEAM, false,
         {{"t2", {0, 0, 0, 0, 0, 0, 2}}, {"t1", {0, 0, 0, 0, 0, 0, 1}}, {"t3", {0, 0, 0, 0, 0, 0, 3}},
          {"t0", {0, 0, 0, 0, 0, 0, 0}}, {"none", {}}},
         {"t3", "t2", "t1", "t0", "none"}},
        {SORT_TEAM, true,
         {{"t2", {0, 0, 0, 0, 0, 0, 2}}, {"t1", {0, 0, 0, 0, 0, 0, 1}}, {"t3", {0, 0, 0, 0, 0, 0, 3}},
          {"t0", {0, 0, 0, 0, 0, 0, 0}}, {"none", {}}},
         {"none", "t0", "t1", "t2", "t3"}},
        // P, Q, R with frags 5, 5, 6
        {SORT_FRAGS, false, {{"P", {5}}, {"Q", {5}}, {"R", {6}}}, {"R", "Q", "P"}},
        {SORT_FRAGS, true, {{"R", {6}}, {"Q", {5}}, {"P", {5}}}, {"Q", "P", "R"}},
        {SORT_NAME, false, {{"bob", {}}, {"Alice", {}}, {"^1carl", {}}}, {"Alice", "bob", "^1carl"}},
        {SORT_NAME, true, {{"bob", {}}, {"Alice", {}}, {"^1carl", {}}}, {"^1carl", "bob", "Alice"}},
        // an order outside 0 to 9 changes nothing
        {10, false, {{"P", {5}}, {"R", {6}}}, {"P", "R"}},
        {-1, true, {{"R", {6}}, {"P", {5}}}, {"R", "P"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.order) + (c.reverse ? " reverse" : ""));
        test_game g;
        for (const auto& [name, cnt] : c.slots) g.slot(name, cnt);
        testing::internal::CaptureStdout();
        g.rd->sort_players(c.order, c.reverse);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(slot_names(*g.rd), c.expected);
    }
}

namespace {

using played_game = vexo_test::game_builder;

// Kill-matrix cell between two players, by name, for one weapon.
unsigned cell(const played_game& g, const std::string& killer, const std::string& victim, int w) {
    auto slot_of = [&g](const std::string& name) {
        for (int s = 0; s < g.rd->get_player_count(); s++)
            if (name == g.rd->get_player(s).get_name()) return s;
        return -1;
    };
    return g.rd->get_kills_vs(slot_of(killer), slot_of(victim), w);
}

struct cell_check {
    const char* killer;
    const char* victim;
    int weapon;
    unsigned count;
};

void expect_cells(const played_game& g, const std::vector<cell_check>& cells) {
    for (const auto& c : cells)
        EXPECT_EQ(cell(g, c.killer, c.victim, c.weapon), c.count)
            << c.killer << " on " << c.victim << " weapon " << c.weapon;
}

}  // namespace

TEST(GameCompaction, RemoveInactiveKeepsCellsWithTheirPlayers) {
    played_game g;
    g.join(0, "Tk", -1, 1);     // only a team kill: dropped
    g.join(1, "Mate", -1, 1);   // 2 kills, 2 suicides: frags 0, stays
    g.join(2, "Foe", -1, 2);    // killed twice, one suicide: stays
    g.join(3, "Idle", -1, 2);   // nothing: dropped
    g.join(4, "Late", -1, 2);   // one world death: stays
    g.kill(0, 1, 8);
    g.kill(1, 2, 10, 2);
    g.kill(1, 1, 6, 2);
    g.kill(2, 2, 4);
    g.kill(1022, 4, 19);
    g.rd->end_game(300);
    ASSERT_EQ(g.rd->get_player_count(), 5);

    g.rd->remove_bots();   // skip_bots not set: nothing happens
    EXPECT_EQ(g.rd->get_player_count(), 5);

    g.rd->remove_inactive();
    EXPECT_EQ(slot_names(*g.rd), (names{"Mate", "Foe", "Late"}));
    const std::vector<cell_check> cells = {
        {"Mate", "Foe", 10, 2}, {"Mate", "Foe", 0, 2}, {"Mate", "Mate", 6, 2}, {"Mate", "Mate", 0, 2},
        {"Foe", "Foe", 4, 1},   {"Foe", "Foe", 0, 1},  {"Foe", "Mate", 0, 0},  {"Late", "Late", 0, 0},
        {"Late", "Mate", 0, 0}, {"Mate", "Late", 0, 0}, {"Foe", "Late", 0, 0},
    };
    expect_cells(g, cells);
    EXPECT_EQ(g.rd->get_player(0).suicides[0], 2u);
    EXPECT_EQ(g.rd->get_player(1).killed[0], 2u);
    EXPECT_EQ(g.rd->get_player(2).world_deaths, 1u);
    EXPECT_EQ(g.rd->get_player(0).playtime, 300u);
}

// ------------------------------------------------- randomized reference ----

namespace {

// A record of the reference list with its sort keys, worked out once from a
// player record holding its counters.
struct ref_node {
    int identity;
    double key[10];         // by sort order; the name order uses key_name
    std::string key_name;   // plain, lower-cased name
    ref_node* next = nullptr;
};

ref_node make_node(int identity, const counters& c, const std::string& plain) {
    player_t p;
    apply(p, c);
    return {identity,
            {double(c.team), p.ratio(), p.eff(), p.skill(), double(c.kills), double(c.killed), 0,
             double(p.frags()), double(p.score()), double(c.playtime)},
            plain};
}

// -1: `a` sorts before `b` in the normal direction, 1: after, 0: equal keys.
int ref_compare(const ref_node& a, const ref_node& b, int order) {
    if (order == 6) {
        const int r = strcmp(a.key_name.c_str(), b.key_name.c_str());
        return r < 0 ? -1 : r > 0 ? 1 : 0;
    }
    return a.key[order] > b.key[order] ? -1 : a.key[order] < b.key[order] ? 1 : 0;
}

ref_node* predecessor_of_position(ref_node* head, int pos) {
    ref_node* p = head;
    for (int k = 0; k < pos; k++) p = p->next;
    return p;
}

// The exchange of the two records after predecessors p and q (p before q).
void ref_swap(ref_node* p, ref_node* q) {
    ref_node* x = p->next;
    ref_node* y = q->next;
    ref_node* after_y = y->next;
    p->next = y;
    if (x == q) {
        y->next = x;
    } else {
        y->next = x->next;
        q->next = x;
    }
    x->next = after_y;
}

void ref_sort(ref_node* head, int order, bool reverse) {
    int n = 0;
    for (ref_node* r = head->next; r; r = r->next) n++;
    for (int i = 0; i + 1 < n; i++) {
        for (int j = i + 1; j < n; j++) {
            ref_node* p = predecessor_of_position(head, i);
            ref_node* q = predecessor_of_position(head, j);
            const int c = ref_compare(*q->next, *p->next, order);
            if (reverse ? c > 0 : c < 0) ref_swap(p, q);
        }
    }
}

// Links the records in their vector order behind `head`.
void link(ref_node& head, std::vector<ref_node>& nodes) {
    ref_node* last = &head;
    for (ref_node& r : nodes) last = last->next = &r;
    last->next = nullptr;
}

std::vector<int> ref_identities(const ref_node* head) {
    std::vector<int> v;
    for (const ref_node* r = head->next; r; r = r->next) v.push_back(r->identity);
    return v;
}

// Random names from a few plain forms with colours and letter cases, so that
// name keys tie often in a game. `unique` gives every name its own plain form.
std::pair<std::string, std::string> random_name(std::mt19937& rng, bool unique, int index) {
    static const char* const stems[] = {"bob", "alice", "carl", "zed", "al", "b", "bobby"};
    std::string plain = unique ? std::string(stems[index % 7]) + std::to_string(index)
                               : stems[rng() % 7];
    std::string raw;
    if (rng() % 2) raw += "^" + std::to_string(rng() % 10);
    for (char ch : plain) {
        raw += (rng() % 3 == 0 && ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
        if (rng() % 8 == 0) raw += "^" + std::to_string(rng() % 10);
    }
    return {raw, plain};
}

counters random_counters(std::mt19937& rng) {
    static const uint32_t times[] = {0, 60, 90, 120, 300};
    counters c;
    c.kills = rng() % 4;
    c.killed = rng() % 3;
    c.suicides = rng() % 2;
    c.world = rng() % 4 == 0;
    c.teamkills = rng() % 4 == 0 ? 1 : 0;
    c.playtime = times[rng() % 5];
    c.team = static_cast<int>(rng() % 5) - 1;
    return c;
}

}  // namespace

TEST(SortReference, GameSlotsMatchTheReferenceForEveryOrderAndDirection) {
    std::mt19937 rng(20261206);
    settings_t settings;
    std::unique_ptr<resultdata> rd(new resultdata(&settings));
    for (int round = 0; round < 1200; round++) {
        rd->reset();
        const int n = rng() % 21;
        std::vector<ref_node> nodes;
        ref_node head{};
        for (int i = 0; i < n; i++) {
            auto [raw, plain] = random_name(rng, false, i);
            const counters c = random_counters(rng);
            nodes.push_back(make_node(i, c, plain));
            int s = rd->add_player();
            rd->players[s].set_name(raw.c_str());
            apply(rd->players[s], c);
            rd->players[s].ping_sum = i;   // identity of the slot, not a sort key
        }
        link(head, nodes);
        for (int a = 0; a < n; a++)
            for (int b = 0; b < n; b++) {
                rd->cell(a, b)[0] = static_cast<uint16_t>(a * 100 + b + 1);
                rd->cell(a, b)[31] = static_cast<uint16_t>(b * 100 + a + 7);
            }

        for (int step = 0; step < 20; step++) {
            const int order = step / 2;
            const bool reverse = step % 2;
            rd->sort_players(order, reverse);
            ref_sort(&head, order, reverse);
            std::vector<int> got;
            for (int s = 0; s < n; s++) got.push_back(static_cast<int>(rd->players[s].ping_sum));
            ASSERT_EQ(got, ref_identities(&head)) << "round " << round << " order " << order
                                                  << (reverse ? " reverse" : "");
            int misplaced_cells = 0;
            for (int a = 0; a < n; a++)
                for (int b = 0; b < n; b++)
                    misplaced_cells += rd->cell(a, b)[0] != got[a] * 100 + got[b] + 1 ||
                                       rd->cell(a, b)[31] != got[b] * 100 + got[a] + 7;
            ASSERT_EQ(misplaced_cells, 0) << "round " << round << " order " << order;
            // Keys are worked out on copies: the slots' cached statistics stay unset.
            for (int s = 0; s < n; s++)
                ASSERT_TRUE(rd->players[s].ratio_cache == 0.0 && rd->players[s].eff_cache == 0.0 &&
                            rd->players[s].skill_cache == 0.0);
        }
    }
}
