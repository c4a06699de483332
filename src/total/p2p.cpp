// p2p_pairs: the pair records, their index and the per-weapon arena; p2p_t:
// one player's side of a pair.
#include "total/p2p.h"

#include <cstring>

#include "app/fatal.h"
#include "total/resultdata_total.h"

namespace {

uint64_t pair_hash(uint32_t low, uint32_t high) {
    uint64_t x = ((static_cast<uint64_t>(low) << 32) | high) * 0x9E3779B97F4A7C15ull;
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ull;
    return x ^ (x >> 32);
}

}  // namespace

p2p_pairs::p2p_pairs() : index(1024, 0) {}

p2p_pairs::~p2p_pairs() {}

uint32_t& p2p_pairs::entry_for(uint32_t low, uint32_t high, uint32_t& tag) {
    const uint64_t h = pair_hash(low, high);
    const size_t mask = index.size() - 1;
    tag = static_cast<uint32_t>(h >> 40) & ((1u << (32 - index_bits)) - 1);
    const uint32_t numbers = (1u << index_bits) - 1;
    for (size_t at = h & mask;; at = (at + 1) & mask) {
        uint32_t& e = index[at];
        if (!e) return e;
        if (e >> index_bits == tag) {
            const p2p_pair& p = (*this)[(e & numbers) - 1];
            if (p.low == low && p.high == high) return e;
        }
    }
}

void p2p_pairs::rebuild_index() {
    // Keep the table at most 70 % full and room in the entries for the next numbers.
    size_t slots = index.size();
    while (10 * (static_cast<size_t>(count) + 1) > 7 * slots) slots *= 2;
    while (static_cast<uint64_t>(count) + 2 >= (1ull << index_bits)) index_bits++;
    if (index_bits > 31) fatal_error("resultdata_total - too many player pairs");
    index.assign(slots, 0);
    for (uint32_t k = 0; k < count; k++) {
        const p2p_pair& p = (*this)[k];
        uint32_t tag;
        uint32_t& e = entry_for(p.low, p.high, tag);
        e = (tag << index_bits) | (k + 1);
    }
}

uint32_t p2p_pairs::find_or_add(uint32_t a, uint32_t b, bool& made) {
    const uint32_t low = a < b ? a : b, high = a < b ? b : a;
    if (10 * (static_cast<size_t>(count) + 1) > 7 * index.size() ||
        static_cast<uint64_t>(count) + 2 >= (1ull << index_bits))
        rebuild_index();
    uint32_t tag;
    uint32_t& e = entry_for(low, high, tag);
    made = e == 0;
    if (!made) return (e & ((1u << index_bits) - 1)) - 1;
    if ((count & (CHUNK - 1)) == 0) chunks.emplace_back(new p2p_pair[CHUNK]);
    const uint32_t pair = count++;
    (*this)[pair] = p2p_pair{low, high, 0, 0, 0, 0, 0, 0};
    e = (tag << index_bits) | (pair + 1);
    return pair;
}

uint32_t p2p_pairs::new_run(int weapons) {
    std::vector<uint32_t>& spare = free_runs[weapons];
    if (!spare.empty()) {
        uint32_t at = spare.back();
        spare.pop_back();
        return at;
    }
    const uint32_t length = 2 * static_cast<uint32_t>(weapons);
    if (arena_used + length > CHUNK) {
        if (arena.size() >= (1u << (32 - CHUNK_BITS))) fatal_error("resultdata_total - too many player pairs");
        arena.emplace_back(new uint32_t[CHUNK]);
        arena_used = 0;
    }
    const uint32_t at = static_cast<uint32_t>((arena.size() - 1) << CHUNK_BITS) + arena_used;
    arena_used += length;
    return at;
}

void p2p_pairs::add(uint32_t pair, const uint16_t* low_on_high, const uint16_t* high_on_low, bool self,
                    const int32_t* weapon_of_slot) {
    p2p_pair& p = (*this)[pair];
    auto by_low = [&](int s) -> uint32_t { return self ? low_on_high[s] + high_on_low[s] : low_on_high[s]; };
    auto by_high = [&](int s) -> uint32_t { return self ? low_on_high[s] + high_on_low[s] : high_on_low[s]; };
    p.kills_low += by_low(0);
    p.kills_high += by_high(0);
    // The weapon slots used, four at a time: most pairs use few or none.
    uint32_t slots = 0;
    for (int q = 0; q < 8; q++) {
        uint64_t x, y;
        memcpy(&x, low_on_high + 4 * q, sizeof x);
        memcpy(&y, high_on_low + 4 * q, sizeof y);
        if (!(x | y)) continue;
        for (int s = 4 * q; s < 4 * q + 4; s++)
            if (low_on_high[s] | high_on_low[s]) slots |= 1u << s;
    }
    slots &= ~1u;
    if (!slots) return;
    // The weapons of those slots: numbers below BIT_WEAPONS by their bit.
    const uint32_t bits = (1u << BIT_WEAPONS) - 2;   // bits 1 to 30
    uint32_t used = weapon_of_slot ? 0 : slots & bits;
    for (uint32_t m = weapon_of_slot ? slots : slots & ~bits; m; m &= m - 1) {
        const int s = __builtin_ctz(m);
        const int w = weapon_of_slot ? weapon_of_slot[s] : s;
        if (w <= 0) continue;
        if (w < BIT_WEAPONS) {
            used |= 1u << w;
            continue;
        }
        std::pair<uint32_t, uint32_t>& more = more_weapons[static_cast<uint64_t>(pair) << 32 | static_cast<uint32_t>(w)];
        more.first += by_low(s);
        more.second += by_high(s);
        p.weapons |= 1u << BIT_WEAPONS;
    }
    if (!used) return;
    const uint32_t had = p.weapons & bits;
    if (used & ~had) {
        // A longer run for the new weapons, in weapon order.
        const uint32_t mask = had | used;
        const uint32_t at = new_run(__builtin_popcount(mask));
        uint32_t* to = run_at(at);
        const uint32_t* from = had ? run_at(p.run) : nullptr;
        int k = 0, old = 0;
        for (uint32_t m = mask; m; m &= m - 1, k++) {
            if (had & m & (~m + 1)) {
                to[2 * k] = from[2 * old];
                to[2 * k + 1] = from[2 * old + 1];
                old++;
            } else {
                to[2 * k] = to[2 * k + 1] = 0;
            }
        }
        if (had) free_runs[__builtin_popcount(had)].push_back(p.run);
        p.run = at;
        p.weapons = (p.weapons & ~bits) | mask;
    }
    uint32_t* run = run_at(p.run);
    for (uint32_t m = slots; m; m &= m - 1) {
        const int s = __builtin_ctz(m);
        const int w = weapon_of_slot ? weapon_of_slot[s] : s;
        if (w <= 0 || w >= BIT_WEAPONS) continue;
        const int k = __builtin_popcount(p.weapons & bits & ((1u << w) - 1));
        run[2 * k] += by_low(s);
        run[2 * k + 1] += by_high(s);
    }
}

uint32_t p2p_pairs::kills(uint32_t pair, bool high, int w) const {
    const p2p_pair& p = (*this)[pair];
    if (w == 0) return high ? p.kills_high : p.kills_low;
    if (w < 0) return 0;
    if (w >= BIT_WEAPONS) {
        if (!(p.weapons & (1u << BIT_WEAPONS))) return 0;
        auto found = more_weapons.find(static_cast<uint64_t>(pair) << 32 | static_cast<uint32_t>(w));
        if (found == more_weapons.end()) return 0;
        return high ? found->second.second : found->second.first;
    }
    if (!(p.weapons & (1u << w))) return 0;
    const uint32_t bits = (1u << BIT_WEAPONS) - 2;
    const int k = __builtin_popcount(p.weapons & bits & ((1u << w) - 1));
    return run_at(p.run)[2 * k + (high ? 1 : 0)];
}

void p2p_pairs::set_first_name(uint32_t pair, bool high, const char* name) {
    auto found = text_numbers.find(name);
    uint32_t number;
    if (found != text_numbers.end()) {
        number = found->second;
    } else {
        number = static_cast<uint32_t>(texts.size());
        texts.emplace_back(name);
        text_numbers.emplace(name, number);
    }
    first_names[2 * static_cast<uint64_t>(pair) + (high ? 1 : 0)] = number;
    (*this)[pair].weapons |= 1u;
}

const char* p2p_pairs::first_name(uint32_t pair, bool high) const {
    if (!((*this)[pair].weapons & 1u)) return nullptr;
    auto found = first_names.find(2 * static_cast<uint64_t>(pair) + (high ? 1 : 0));
    return found == first_names.end() ? nullptr : texts[found->second].c_str();
}

size_t p2p_pairs::bytes() const {
    size_t n = chunks.capacity() * sizeof(chunks[0]) + chunks.size() * CHUNK * sizeof(p2p_pair);
    n += index.capacity() * sizeof(uint32_t);
    n += arena.capacity() * sizeof(arena[0]) + arena.size() * CHUNK * sizeof(uint32_t);
    for (const auto& spare : free_runs) n += spare.capacity() * sizeof(uint32_t);
    n += more_weapons.size() * 32 + more_weapons.bucket_count() * sizeof(void*);
    // Hash nodes: key, value and link, with the allocator's header.
    n += first_names.size() * 32 + first_names.bucket_count() * sizeof(void*);
    for (const std::string& t : texts) n += sizeof(t) + (t.size() > 15 ? t.size() + 1 : 0);
    n += text_numbers.size() * 64 + text_numbers.bucket_count() * sizeof(void*);
    return n;
}

const player_total_t* p2p_t::opponent() const {
    const p2p_pair& p = totals->pair_records()[pair];
    return totals->player_at(high ? p.low : p.high);
}

const char* p2p_t::get_name() const {
    const char* own = totals->pair_records().first_name(pair, high);
    return own ? own : opponent()->get_name();
}

uint32_t p2p_t::get_kills(int weapon) const { return totals->pair_records().kills(pair, high, weapon); }

uint32_t p2p_t::get_killed(int weapon) const { return totals->pair_records().kills(pair, !high, weapon); }
