// The ranking order in O(n log n) against a literal exchange sort, on random
// lists with few and many distinct keys, numbers and names, both directions;
// and on the compact totals of random games, whose counts are checked too.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"
#include "parse/funname.h"
#include "total/rank_order.h"
#include "total/resultdata_total.h"

namespace {

// The exchange sort as the pages know it: each later candidate that must come
// first is exchanged into position i at once. Returns the input positions in
// their final order.
template <class Key, class First>
std::vector<uint32_t> exchange_sorted(std::vector<Key> keys, First first) {
    std::vector<uint32_t> at(keys.size());
    for (size_t i = 0; i < at.size(); i++) at[i] = static_cast<uint32_t>(i);
    for (size_t i = 0; i + 1 < keys.size(); i++)
        for (size_t j = i + 1; j < keys.size(); j++)
            if (first(keys[j], keys[i])) std::swap(keys[i], keys[j]), std::swap(at[i], at[j]);
    return at;
}

template <class Key, class First>
std::vector<uint32_t> fast_sorted(const std::vector<Key>& keys, First first) {
    return exchange_sort_order(keys.size(), [&](uint32_t a, uint32_t b) { return first(keys[a], keys[b]); });
}
const auto larger = [](double a, double b) { return a > b; };
const auto smaller = [](double a, double b) { return a < b; };
const auto alphabetical = [](const std::string& a, const std::string& b) { return a < b; };
const auto backwards = [](const std::string& a, const std::string& b) { return a > b; };

// What the merge must give, kept the plain way: counters by weapon per player
// (kills, suicides) and per (player, opponent) (kills, killed), names as first
// met, opponents in the order met.
struct model_counts {
    std::string name;
    std::map<int, uint32_t> kills, killed;   // by weapon number
    std::vector<std::string> opponents;
};

// The list after a sort against the exchange sort of the list before, by the
// keys of the sort order: numbers larger first, or names alphabetical.
template <class Item>
void expect_sorted(int order, const std::vector<Item>& before, const std::vector<Item>& after,
                   const std::vector<double>& numbers, const std::vector<std::string>& names) {
    std::vector<uint32_t> at =
        order == SORT_NAME ? exchange_sorted(names, alphabetical) : exchange_sorted(numbers, larger);
    std::vector<Item> expected;
    for (uint32_t k : at) expected.push_back(before[k]);
    EXPECT_EQ(after, expected) << "order " << order;
}

}  // namespace

TEST(RankOrder, MatchesTheExchangeSortOnRandomAndOrderedLists) {
    // P, Q, R with frags 5, 5, 6: R, Q, P.
    EXPECT_EQ(fast_sorted(std::vector<double>{5, 5, 6}, larger), (std::vector<uint32_t>{2, 1, 0}));
    std::mt19937 random(20261207);
    for (size_t n : {0, 1, 2, 3, 7, 16, 40, 64, 65, 66, 80, 100, 255, 600, 1500, 4000}) {
        for (size_t distinct : {size_t(1), size_t(2), size_t(3), size_t(8), n / 4 + 1, n + 1}) {
            for (int round = 0; round < (n < 100 ? 30 : n < 1000 ? 4 : 1); round++) {
                std::vector<double> numbers(n);
                std::vector<std::string> names(n);
                for (size_t i = 0; i < n; i++) {
                    // Random, or rising and falling runs, which leave long stretches in order.
                    size_t k = round % 3 == 0 ? random() % distinct : (i * distinct / n) % (round % 3 + 2);
                    // Doubles compare exactly: 0.1 * 3 and 0.3 are two keys.
                    numbers[i] = k % 5 == 4 ? 0.1 * (k / 5 + 1) * 3 : k * 0.1;
                    names[i] = std::string(1, static_cast<char>('a' + k % 26)) + std::to_string(k / 26);
                }
                ASSERT_EQ(fast_sorted(numbers, larger), exchange_sorted(numbers, larger)) << n << " numbers";
                ASSERT_EQ(fast_sorted(numbers, smaller), exchange_sorted(numbers, smaller)) << n << " reversed";
                ASSERT_EQ(fast_sorted(names, alphabetical), exchange_sorted(names, alphabetical)) << n << " names";
                ASSERT_EQ(fast_sorted(names, backwards), exchange_sorted(names, backwards)) << n << " names reversed";
            }
        }
    }
}

TEST(RankOrder, CompactTotalsKeepEveryCountAndSortLikeTheExchangeSort) {
    std::mt19937 random(7);
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    settings_t settings;
    std::unique_ptr<resultdata> game(new resultdata(&settings));
    for (int round = 0; round < 12; round++) {
        resultdata_total totals;
        std::map<std::string, model_counts> model;   // by matched name, and by "player|opponent"
        const int pool = 3 + below(150);
        for (int g = 0, games = 1 + below(80); g < games; g++) {
            game->reset();
            // The game's weapons: the base game's numbers, or a mod's (numbered
            // past the bits of the compact records), each in a weapon slot.
            std::vector<int> slots, numbers;
            const bool mod = below(2) == 0;
            for (int k = 0; k < (mod ? 1 + below(31) : 31); k++) {
                const int number = mod ? 1 + below(120) : k + 1;
                const int slot = game->weapon_slot(number);
                if (std::find(slots.begin(), slots.end(), slot) == slots.end()) slots.push_back(slot), numbers.push_back(number);
            }
            slots.push_back(0), numbers.push_back(0);
            const int weapons = static_cast<int>(slots.size());
            const int n = 2 + below(12);
            for (int i = 0; i < n; i++) {   // colours and case vary; two slots may be one player
                std::string raw = (below(3) ? "" : "^" + std::to_string(below(8))) + (below(2) ? "p" : "P");
                player_t& slot = game->players[game->add_player()];
                slot.set_name((raw + std::to_string(below(pool))).c_str());
                slot.playtime = 60 * below(3);
                for (uint32_t* counts : {slot.kills, slot.killed, slot.suicides}) counts[slots[below(weapons)]] = below(3);
            }
            for (int i = 0; i < n; i++)
                for (int j = 0; j < n; j++)
                    for (int w : {0, below(weapons), below(weapons)})
                        if (below(3) == 0) game->cell(i, j)[slots[w]] = static_cast<uint16_t>(below(3));
            totals.add_game(*game);
            for (int i = 0; i < n; i++) {
                const std::string me = diverse::matched_name(game->players[i].name);
                if (model[me].name.empty()) model[me].name = game->players[i].name;
                for (int k = 0; k < weapons; k++) model[me].kills[numbers[k]] += game->players[i].kills[slots[k]];
                for (int k = 0; k < weapons; k++) model[me].killed[numbers[k]] += game->players[i].suicides[slots[k]];
                for (int j = 0; j < n; j++) {
                    const std::string other = diverse::matched_name(game->players[j].name);
                    model_counts& pair = model[me + "|" + other];
                    if (j == i) continue;
                    if (pair.name.empty()) pair.name = game->players[j].name, model[me].opponents.push_back(other);
                    for (int k = 0; k < weapons; k++) pair.kills[numbers[k]] += game->cell(i, j)[slots[k]];
                    for (int k = 0; k < weapons; k++) pair.killed[numbers[k]] += game->cell(j, i)[slots[k]];
                }
            }
        }
        for (const player_total_t* p : totals.player_list()) {
            const std::string key = diverse::matched_name(p->get_name());
            model_counts& me = model[key];
            ASSERT_EQ(p->get_name(), me.name);
            std::vector<int> used;
            for (int w = 0; w <= 121; w++) {
                ASSERT_TRUE(p->get_kills(w) == me.kills[w] && p->get_suicides(w) == me.killed[w]) << me.name << w;
                if (w > 0 && (me.kills[w] || me.killed[w] || p->get_killed(w))) used.push_back(w);
            }
            EXPECT_EQ(p->weapons_used(), used) << me.name;
            std::vector<p2p_t> list = totals.p2p_list(p);
            ASSERT_EQ(list.size(), me.opponents.size()) << me.name;
            for (size_t k = 0; k < list.size(); k++) {
                model_counts& pair = model[key + "|" + me.opponents[k]];
                ASSERT_EQ(list[k].get_name(), pair.name);
                for (int w = 0; w <= 121; w++)
                    ASSERT_TRUE(list[k].get_kills(w) == pair.kills[w] && list[k].get_killed(w) == pair.killed[w])
                        << me.name << " vs " << pair.name << " weapon " << w;
            }
        }

        // Every order in a row, each from the order the one before left.
        for (int order : {SORT_RATIO, SORT_NAME, SORT_EFF, SORT_SKILL, SORT_FRAGS, SORT_KILLS, SORT_PLAYTIME,
                          SORT_KILLED, SORT_SCORE, SORT_TEAM, SORT_RATIO}) {
            std::vector<player_total_t*> before = totals.player_list();
            std::vector<double> keys;
            std::vector<std::string> names;
            for (const player_total_t* p : before) {
                const double by_order[10] = {-1, p->ratio(), p->eff(), p->skill(), double(p->total_kills()),
                                             double(p->total_killed()), 0, double(p->frags()), double(p->score()),
                                             double(p->playtime)};
                keys.push_back(by_order[order]);
                names.push_back(diverse::matched_name(p->get_name()));
            }
            testing::internal::CaptureStdout();   // the progress fields
            totals.sort_players(order), testing::internal::GetCapturedStdout();
            expect_sorted(order, before, totals.player_list(), keys, names);
        }
        for (player_total_t* p : totals.player_list())
            for (int order : {SORT_KILLS, SORT_NAME, SORT_KILLED, SORT_KILLS}) {
                std::vector<const player_total_t*> before, after;
                std::vector<double> keys;
                std::vector<std::string> names;
                for (const p2p_t& q : totals.p2p_list(p)) {
                    before.push_back(q.opponent());
                    keys.push_back(order == SORT_KILLS ? q.total_kills() : q.total_killed());
                    names.push_back(diverse::matched_name(q.get_name()));
                }
                totals.sort_p2ps(p, order);
                for (const p2p_t& q : totals.p2p_list(p)) after.push_back(q.opponent());
                expect_sorted(order, before, after, keys, names);
            }
    }
}
