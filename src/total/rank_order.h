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
// Per group, the records that beat v between two members are counted with a
// Fenwick tree over positions (filled group by group, best first), and C is
// an implicit treap, which rotates by r in logarithmic time.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rank_order_detail {

// Counts of marked positions in ranges of 0 to n - 1.
class fenwick {
public:
    explicit fenwick(size_t n) : tree(n + 1, 0) {}
    void mark(size_t position) {
        for (size_t k = position + 1; k < tree.size(); k += k & (~k + 1)) tree[k]++;
    }
    // Marked positions below `end`.
    uint32_t below(size_t end) const {
        uint32_t sum = 0;
        for (size_t k = end; k > 0; k -= k & (~k + 1)) sum += tree[k];
        return sum;
    }

private:
    std::vector<uint32_t> tree;
};

// A sequence of values with append and rotate-left in logarithmic time.
class rotating_sequence {
public:
    void clear() {
        nodes.resize(1);
        root = 0;
    }
    size_t size() const { return nodes[root].size; }
    void append(uint32_t value) {
        random = random * 6364136223846793005ull + 1442695040888963407ull;
        nodes.push_back(node{0, 0, 1, static_cast<uint32_t>(random >> 32), value});
        root = merge(root, static_cast<uint32_t>(nodes.size() - 1));
    }
    // Moves the first r values (r below the size) to the end, in their order.
    void rotate_left(size_t r) {
        uint32_t front, back;
        split(root, static_cast<uint32_t>(r), front, back);
        root = merge(back, front);
    }
    void read(std::vector<uint32_t>& out) const {
        std::vector<uint32_t> stack;
        uint32_t t = root;
        while (t || !stack.empty()) {
            for (; t; t = nodes[t].left) stack.push_back(t);
            t = stack.back();
            stack.pop_back();
            out.push_back(nodes[t].value);
            t = nodes[t].right;
        }
    }

private:
    struct node {
        uint32_t left, right, size, priority, value;   // children: node indexes, 0 none
    };
    std::vector<node> nodes{node{0, 0, 0, 0, 0}};   // node 0 stands for "none", size 0
    uint32_t root = 0;
    uint64_t random = 0x2545F4914F6CDD1Dull;

    void update(uint32_t t) { nodes[t].size = 1 + nodes[nodes[t].left].size + nodes[nodes[t].right].size; }
    uint32_t merge(uint32_t a, uint32_t b) {
        if (!a || !b) return a ? a : b;
        if (nodes[a].priority > nodes[b].priority) {
            nodes[a].right = merge(nodes[a].right, b);
            update(a);
            return a;
        }
        nodes[b].left = merge(a, nodes[b].left);
        update(b);
        return b;
    }
    // front: the first k values of t, back: the rest.
    void split(uint32_t t, uint32_t k, uint32_t& front, uint32_t& back) {
        if (!t) {
            front = back = 0;
            return;
        }
        if (nodes[nodes[t].left].size >= k) {
            split(nodes[t].left, k, front, nodes[t].left);
            back = t;
        } else {
            split(nodes[t].right, k - nodes[nodes[t].left].size - 1, nodes[t].right, back);
            front = t;
        }
        update(t);
    }
};

}  // namespace rank_order_detail

// The list order of the exchange sort of records 0 to n - 1: element k of the
// result is the record that ends at position k. `beats(a, b)` tells that
// record a's key must come before record b's (a strict weak order: keys that
// neither beats are equal).
template <class Beats>
std::vector<uint32_t> exchange_sort_order(size_t n, Beats beats) {
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; i++) order[i] = static_cast<uint32_t>(i);
    if (n <= 16) {
        // Short lists (most p2p lists): the procedure itself.
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
    rank_order_detail::fenwick better(n);   // positions of the groups done so far
    rank_order_detail::rotating_sequence sequence;
    std::vector<uint32_t> result;
    result.reserve(n);
    for (size_t start = 0; start < n;) {
        size_t end = start + 1;
        while (end < n && !beats(order[start], order[end])) end++;
        if (end - start == 1) {
            result.push_back(order[start]);
        } else {
            sequence.clear();
            for (size_t m = start; m < end; m++) {
                if (m > start) {
                    const uint32_t between = better.below(order[m]) - better.below(order[m - 1] + 1);
                    const size_t r = between % sequence.size();
                    if (r) sequence.rotate_left(r);
                }
                sequence.append(order[m]);
            }
            const uint32_t after = better.below(n) - better.below(order[end - 1] + 1);
            const size_t r = after % sequence.size();
            if (r) sequence.rotate_left(r);
            sequence.read(result);
        }
        for (size_t m = start; m < end; m++) better.mark(order[m]);
        start = end;
    }
    return result;
}
