// The exchange sort of every player list: for each position i, each later
// candidate that must come first is exchanged into position i at once. Its
// order of equal keys is the order the pages show, so no other sort replaces it.
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

// The same procedure for numeric keys, larger first, as the totals of a long
// run need it: the candidates are scanned in blocks for one larger than the
// current key, which gives the same exchanges in the same order.
// `before_outer(i)` runs before the comparisons of each outer position.
template <class Swap, class Outer>
void exchange_sort_descending(std::vector<double>& keys, Swap swap, Outer before_outer) {
    const size_t n = keys.size();
    double* k = keys.data();
    for (size_t i = 0; i + 1 < n; i++) {
        before_outer(i);
        double current = k[i];
        size_t j = i + 1;
        while (j < n) {
            if (j + 8 <= n) {
                const bool any = (k[j] > current) | (k[j + 1] > current) | (k[j + 2] > current) |
                                 (k[j + 3] > current) | (k[j + 4] > current) | (k[j + 5] > current) |
                                 (k[j + 6] > current) | (k[j + 7] > current);
                if (!any) {
                    j += 8;
                    continue;
                }
            }
            if (k[j] > current) {
                k[i] = k[j];
                k[j] = current;
                current = k[i];
                swap(i, j);
            }
            j++;
        }
    }
}
