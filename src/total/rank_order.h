// The order in which the exchange sort leaves a list, computed in O(n log n)
// without running the quadratic procedure. Equal keys end in the order the
// exchange sort gives them (the pages show it), found like this:
//
// The records come grouped by key, best key first. Within the group of one
// key value v, walk the input from start to end with a sequence C, empty at
// the start: a record with key v is appended to C; a record whose key beats v
// rotates C left by one (its first element moves to its end) when C is not
// empty; a record that v beats changes nothing. At the end C is the group's
// order. (Keys 5, 5, 6 of P, Q, R, largest first: R; then C = [P], [P, Q],
// and R rotates it to [Q, P]: R, Q, P.)
//
// The records that beat v before each position are counted with a Fenwick
// tree over the key ranks, filled in list order. C is kept as a ring:
// "rotate left by r" moves its start, "append" inserts just before the
// start. The insert places are worked out first and the ring's final layout
// from them afterwards, last insert first, each taking the free place of its
// rank (a second Fenwick tree): O(log n) per record, arrays only.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rank_order_detail {

// The places of a ring of k values, filled offline: take(j) takes the j-th
// free place (from 0), counting in place order.
class free_places {
public:
    void reset(size_t k) {
        tree.resize(k + 1);
        for (size_t i = 1; i <= k; i++) tree[i] = static_cast<uint32_t>(i & (~i + 1));   // all free
        top = 1;
        while (top * 2 <= k) top *= 2;
    }
    uint32_t take(uint32_t j) {
        size_t at = 0;
        uint32_t left = j + 1;
        for (size_t step = top; step; step /= 2)
            if (at + step < tree.size() && tree[at + step] < left) {
                at += step;
                left -= tree[at];
            }
        for (size_t k = at + 1; k < tree.size(); k += k & (~k + 1)) tree[k]--;
        return static_cast<uint32_t>(at);
    }

private:
    std::vector<uint32_t> tree;
    size_t top = 1;
};

// The exchange sort's order from `order`, the records by key (best first,
// equal keys by position); same_key(i) tells that order[i] has the key of
// order[i - 1].
template <class SameKey>
std::vector<uint32_t> ring_order(const std::vector<uint32_t>& order, SameKey same_key) {
    const size_t n = order.size();
    // For each position, the records before it with a better key: a Fenwick
    // tree over key ranks, filled in list order.
    std::vector<uint32_t> rank(n), better_before(n);
    uint32_t ranks = 0;
    for (size_t i = 0; i < n; i++) {
        if (i > 0 && !same_key(i)) ranks++;
        rank[order[i]] = ranks;
    }
    std::vector<uint32_t> count(ranks + 2, 0);
    for (size_t p = 0; p < n; p++) {
        uint32_t sum = 0;
        for (uint32_t k = rank[p]; k > 0; k -= k & (~k + 1)) sum += count[k];
        better_before[p] = sum;
        for (uint32_t k = rank[p] + 1; k < count.size(); k += k & (~k + 1)) count[k]++;
    }
    free_places places;
    std::vector<uint32_t> result, insert_at, ring;
    result.reserve(n);
    for (size_t start = 0; start < n;) {
        size_t end = start + 1;
        while (end < n && same_key(end)) end++;
        const uint32_t k = static_cast<uint32_t>(end - start);
        if (k == 1) {
            result.push_back(order[start]);
            start = end;
            continue;
        }
        // The walk over the input: `first` is the ring place where C starts;
        // the records before this group in `order` are those with a better key.
        insert_at.resize(k);
        uint32_t first = 0, before = 0;
        for (uint32_t t = 0; t < k; t++) {
            const uint32_t b = better_before[order[start + t]];
            if (t > 0) first = (first + (b - before) % t) % t;
            insert_at[t] = first;   // appended: just before the start
            first = (first + 1) % (t + 1);
            before = b;
        }
        first = (first + (static_cast<uint32_t>(start) - before) % k) % k;
        places.reset(k);
        ring.resize(k);
        for (uint32_t t = k; t-- > 0;) ring[places.take(insert_at[t])] = order[start + t];
        for (uint32_t i = 0; i < k; i++) result.push_back(ring[(first + i) % k]);
        start = end;
    }
    return result;
}

}  // namespace rank_order_detail

// The list order of the exchange sort of records 0 to n - 1: element k of the
// result is the record that ends at position k. `beats(a, b)` tells that
// record a's key must come before record b's (a strict weak order: keys that
// neither beats are equal).
template <class Beats>
std::vector<uint32_t> exchange_sort_order(size_t n, Beats beats) {
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; i++) order[i] = static_cast<uint32_t>(i);
    if (n <= 64) {
        // Short lists (most p2p lists): the procedure itself is quicker.
        for (size_t i = 0; i + 1 < n; i++)
            for (size_t j = i + 1; j < n; j++)
                if (beats(order[j], order[i])) std::swap(order[i], order[j]);
        return order;
    }
    // By key, best first; equal keys by position.
    std::sort(order.begin(), order.end(), [&beats](uint32_t a, uint32_t b) {
        if (beats(a, b)) return true;
        if (beats(b, a)) return false;
        return a < b;
    });
    return rank_order_detail::ring_order(order, [&](size_t i) { return !beats(order[i - 1], order[i]); });
}
