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

// The same procedure for numeric keys, larger first, carrying one item
// per key (the records being sorted) along with the keys. A block of 8
// candidates without a larger key is skipped with one test; a block that has one
// is worked through without branches: the current key and item stay in
// registers, and each larger candidate takes the current's place. The
// exchanges are the same and in the same order; on a shuffled list about a
// quarter of all comparisons exchange, and a branch on each costs more than
// the exchanges themselves.
template <class Item, class Outer>
void exchange_sort_items(std::vector<double>& keys, std::vector<Item>& items, Outer before_outer) {
    const size_t n = keys.size();
    double* k = keys.data();
    Item* it = items.data();
    auto step = [k, it](size_t j, double& current, Item& item) {
        const double kj = k[j];
        const Item ij = it[j];
        const bool larger = kj > current;
        k[j] = larger ? current : kj;
        it[j] = larger ? item : ij;
        current = larger ? kj : current;
        item = larger ? ij : item;
    };
    for (size_t i = 0; i + 1 < n; i++) {
        before_outer(i);
        double current = k[i];
        Item item = it[i];
        size_t j = i + 1;
        for (; j + 8 <= n; j += 8) {
            const bool any = (k[j] > current) | (k[j + 1] > current) | (k[j + 2] > current) |
                             (k[j + 3] > current) | (k[j + 4] > current) | (k[j + 5] > current) |
                             (k[j + 6] > current) | (k[j + 7] > current);
            if (!any) continue;
            for (size_t m = j; m < j + 8; m++) step(m, current, item);
        }
        for (; j < n; j++) step(j, current, item);
        k[i] = current;
        it[i] = item;
    }
}
