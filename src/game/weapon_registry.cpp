// The weapon registry: names in chunks that never move, and an index of the
// names for the parser's thread.
#include "game/weapon_registry.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include "game/dialect.h"

namespace {

constexpr int CHUNK_BITS = 8;
constexpr int CHUNK = 1 << CHUNK_BITS;

struct registry {
    std::unique_ptr<std::string[]> chunks[weapon_registry::MAX_NUMBERS / CHUNK];
    std::atomic<int> size{0};
    std::unordered_map<std::string, int> numbers;

    int add(const std::string& name) {
        const int n = size.load(std::memory_order_relaxed);
        if (n >= weapon_registry::MAX_NUMBERS) return 0;
        if (!chunks[n >> CHUNK_BITS]) chunks[n >> CHUNK_BITS].reset(new std::string[CHUNK]);
        chunks[n >> CHUNK_BITS][n & (CHUNK - 1)] = name;
        // Number 0 ("All weapons") is no weapon a name can reach.
        if (n > 0) numbers.emplace(name, n);
        size.store(n + 1, std::memory_order_release);
        return n;
    }
};

registry& the_registry() {
    static registry r;
    return r;
}

}  // namespace

int weapon_registry::number_of(const std::string& name) {
    all_dialects();   // the tables' weapons come first
    registry& r = the_registry();
    auto found = r.numbers.find(name);
    if (found != r.numbers.end()) return found->second;
    return r.add(name);
}

int weapon_registry::find(const std::string& name) {
    all_dialects();
    registry& r = the_registry();
    auto found = r.numbers.find(name);
    return found == r.numbers.end() ? -1 : found->second;
}

int weapon_registry::count() {
    all_dialects();
    return the_registry().size.load(std::memory_order_acquire);
}

int weapon_registry::add_table_weapon(const std::string& name) {
    registry& r = the_registry();
    auto found = r.numbers.find(name);
    if (found != r.numbers.end()) return found->second;
    return r.add(name);
}

std::string weapon_name(int number) {
    registry& r = the_registry();
    if (number >= 0 && number < weapon_registry::count())
        return r.chunks[number >> CHUNK_BITS][number & (CHUNK - 1)];
    char buffer[64];
    snprintf(buffer, sizeof buffer, "weapon %i", number);
    return buffer;
}
