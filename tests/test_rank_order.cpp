// The ranking order in O(n log n) against a literal exchange sort, on random
// lists with few and many distinct keys, numbers and names, both directions;
// and the totals' sorts of players and p2p lists for every order.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/settings.h"
#include "total/rank_order.h"

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
            if (first(keys[j], keys[i])) {
                std::swap(keys[i], keys[j]);
                std::swap(at[i], at[j]);
            }
    return at;
}

template <class Key, class First>
void expect_same_order(const std::vector<Key>& keys, First first, const char* what) {
    std::vector<uint32_t> fast =
        exchange_sort_order(keys.size(), [&](uint32_t a, uint32_t b) { return first(keys[a], keys[b]); });
    ASSERT_EQ(fast, exchange_sorted(keys, first)) << what << ", " << keys.size() << " records";
}

}  // namespace

TEST(RankOrder, TheExampleOfThreePlayers) {
    // P, Q, R with frags 5, 5, 6: R, Q, P.
    std::vector<int> frags = {5, 5, 6};
    EXPECT_EQ(exchange_sort_order(3, [&](uint32_t a, uint32_t b) { return frags[a] > frags[b]; }),
              (std::vector<uint32_t>{2, 1, 0}));
}

TEST(RankOrder, MatchesTheExchangeSortOnRandomLists) {
    std::mt19937 random(20261207);
    const size_t sizes[] = {0, 1, 2, 3, 4, 7, 15, 16, 17, 18, 25, 40, 64, 100, 255, 600, 1500};
    for (size_t n : sizes) {
        for (size_t distinct : {size_t(1), size_t(2), size_t(3), size_t(8), n / 4 + 1, n + 1}) {
            for (int round = 0; round < (n < 100 ? 30 : 4); round++) {
                std::uniform_int_distribution<int> pick(0, static_cast<int>(distinct) - 1);
                std::vector<double> numbers(n);
                std::vector<std::string> names(n);
                for (size_t i = 0; i < n; i++) {
                    int k = pick(random);
                    // Doubles compare exactly: 0.1 * 3 and 0.3 are two keys.
                    numbers[i] = k % 5 == 4 ? 0.1 * (k / 5 + 1) * 3 : k * 0.1;
                    names[i] = std::string(1, static_cast<char>('a' + k % 26)) + std::to_string(k / 26);
                }
                expect_same_order(numbers, [](double a, double b) { return a > b; }, "numbers, larger first");
                expect_same_order(numbers, [](double a, double b) { return a < b; }, "numbers, reversed");
                expect_same_order(names, [](const std::string& a, const std::string& b) { return a < b; },
                                  "names, alphabetical");
                expect_same_order(names, [](const std::string& a, const std::string& b) { return a > b; },
                                  "names, reversed");
            }
        }
    }
}

TEST(RankOrder, ListsAlreadyInOrderOrReversedAndLongRunsOfTies) {
    for (size_t n : {50u, 1000u, 5000u}) {
        std::vector<int> up(n), down(n), blocks(n), zigzag(n);
        for (size_t i = 0; i < n; i++) {
            up[i] = static_cast<int>(i);
            down[i] = static_cast<int>(n - i);
            blocks[i] = static_cast<int>(i / 37);
            zigzag[i] = static_cast<int>(i % 2 ? i : n - i) % 5;
        }
        auto larger = [](int a, int b) { return a > b; };
        expect_same_order(up, larger, "ascending");
        expect_same_order(down, larger, "descending");
        expect_same_order(blocks, larger, "blocks of ties");
        expect_same_order(zigzag, larger, "zigzag");
    }
}
