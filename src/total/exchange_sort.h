// The exchange sort of a game's player slots: for each position i, each later
// candidate that must come first is exchanged into position i at once. Its
// order of equal keys is the order the pages show; the totals get the same
// order in O(n log n) from rank_order.h.
#pragma once
#include <cstddef>
#include <utility>
#include <vector>

// Runs the sort over `keys`, calling swap(i, j) for each exchange the procedure
// makes (after exchanging the keys). `first(a, b)` tells a candidate key `a`
// must come before the current key `b`.
template <class Key, class First, class Swap>
void exchange_sort(std::vector<Key>& keys, First first, Swap swap) {
    const size_t n = keys.size();
    for (size_t i = 0; i + 1 < n; i++) {
        for (size_t j = i + 1; j < n; j++) {
            if (first(keys[j], keys[i])) {
                std::swap(keys[i], keys[j]);
                swap(i, j);
            }
        }
    }
}
