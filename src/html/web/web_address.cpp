// web_address: stable page names of players and maps.
#include "html/web/web_address.h"

#include <cstdint>
#include <cstdio>

static uint64_t fnv1a(const std::string& text) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string player_address(const std::string& matched_name) {
    char name[32];
    snprintf(name, sizeof name, "player_%012llx.html",
             static_cast<unsigned long long>(fnv1a(matched_name) & 0xFFFFFFFFFFFFull));
    return name;
}

std::string map_address(const std::string& map_name) {
    std::string safe;
    bool changed = map_name.empty() || map_name.size() > 64;
    for (size_t i = 0; i < map_name.size() && i < 64; i++) {
        const char c = map_name[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        safe += ok ? c : '_';
        changed = changed || !ok;
    }
    if (changed) {
        char tail[16];
        snprintf(tail, sizeof tail, "-%06llx", static_cast<unsigned long long>(fnv1a(map_name) & 0xFFFFFF));
        safe += tail;
    }
    return "map_" + safe + ".html";
}

std::string game_address(int number) { return "game_" + std::to_string(number) + ".html"; }
