// The dialects' common part: registration, the choice of a game's dialect,
// and the weapon of a kill line by the game's dialect.
#include "game/dialect.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "game/weapon_registry.h"

namespace {

constexpr int OWN_NAME = -2;

std::vector<dialect*>& registered() {
    static std::vector<dialect*> list;
    return list;
}

// Gives every weapon of the tables its number, in the order of the dialects
// and of their rows.
std::vector<const dialect*> resolve_all() {
    std::vector<dialect*> list = registered();
    std::stable_sort(list.begin(), list.end(), [](const dialect* a, const dialect* b) { return a->order < b->order; });
    static std::vector<std::unique_ptr<dialect::resolved>> owned;
    for (dialect* d : list) {
        d->weapons = new dialect::resolved();
        owned.emplace_back(d->weapons);
        // Ids counted by their number keep it: their names come first, in id order.
        for (int id = 0; id < d->ids_by_number; id++) weapon_registry::add_table_weapon(d->id_names[id]);
        for (int id = 0; id < d->ids_by_number; id++) {
            d->weapons->id_numbers.push_back(d->fold ? d->fold(id) : id);
            d->weapons->id_text_lengths.push_back(strlen(d->id_texts[id]));
        }
        for (const weapon_table& t : d->tables) {
            for (size_t k = 0; k < t.count; k++) {
                const weapon_row& row = t.rows[k];
                // A row of a known text without a name of its own is named
                // when first met, as a text no table knows.
                const int number = !row.name ? WEAPON_TEAM_CHANGE
                                   : row.name[0] ? weapon_registry::add_table_weapon(row.name)
                                                 : OWN_NAME;
                d->weapons->by_text.emplace(row.text, number);
                for (int v = 0; v < 3; v++)
                    if (row.ids[v] >= 0) d->weapons->by_id[v].emplace(row.ids[v], dialect::resolved::id_entry{number, row.text});
            }
        }
    }
    return std::vector<const dialect*>(list.begin(), list.end());
}

bool starts_with(const char* text, const char* prefix) { return strncmp(text, prefix, strlen(prefix)) == 0; }

bool word_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool register_dialect(dialect& d) {
    registered().push_back(&d);
    return true;
}

const std::vector<const dialect*>& all_dialects() {
    static const std::vector<const dialect*> list = resolve_all();
    return list;
}

const dialect& default_dialect() {
    static const dialect* found = [] {
        for (const dialect* d : all_dialects())
            if (d->is_default) return d;
        return all_dialects().front();
    }();
    return *found;
}

int dialect_index(const dialect& d) {
    const std::vector<const dialect*>& list = all_dialects();
    for (size_t k = 0; k < list.size(); k++)
        if (list[k] == &d) return static_cast<int>(k);
    return 0;
}

const dialect& dialect_of_game(const char* name, bool has_name, const char* line) {
    if (!has_name) return default_dialect();
    for (const dialect* d : all_dialects()) {
        for (const char* const* n = d->game_names; n && *n; n++)
            if (strcmp(name, *n) == 0) return *d;
        for (const char* const* p = d->game_name_prefixes; p && *p; p++)
            if (starts_with(name, *p)) return *d;
    }
    // A name no dialect knows: a dialect's mark key on the line decides. (An
    // empty value shifts the pairs, so the key may have been read as the name.)
    for (const dialect* d : all_dialects()) {
        if (!d->unnamed_game_key) continue;
        if (strcmp(name, d->unnamed_game_key) == 0) return *d;
        const std::string key = std::string("\\") + d->unnamed_game_key + "\\";
        if (strstr(line, key.c_str())) return *d;
    }
    return default_dialect();
}

const char* mod_text(const char* text, size_t& length) {
    length = 0;
    // The last " by ", looked for from the end, where it stands.
    size_t k = strlen(text);
    for (; k >= 4; k--)
        if (text[k - 4] == ' ' && text[k - 3] == 'b' && text[k - 2] == 'y' && text[k - 1] == ' ') break;
    if (k < 4) return nullptr;
    const char* start = text + k;
    while (word_char(start[length])) length++;
    return length ? start : nullptr;
}

int kill_line_text_weapon(const dialect& d, int version, int id, const char* rest, const char*& text,
                          size_t& length, bool& disagrees) {
    if (id >= 0 && id < d.ids_by_number) {
        // Most lines end in the MOD text of their id: no need to look for it.
        const size_t own = d.weapons->id_text_lengths[id];
        size_t n = strlen(rest);
        while (n > 0 && (rest[n - 1] == '\n' || rest[n - 1] == '\r')) n--;
        if (n >= own + 4 && memcmp(rest + n - own, d.id_texts[id], own) == 0 &&
            memcmp(rest + n - own - 4, " by ", 4) == 0) {
            text = rest + n - own;
            length = own;
            disagrees = false;
            return d.weapons->id_numbers[id];
        }
    }
    text = mod_text(rest, length);
    return resolve_weapon(d, version, id, text, length, disagrees);
}

std::string mod_text_name(const char* text, size_t length) {
    // Display names stay short on the pages.
    constexpr size_t LONGEST = 64;
    size_t from = 0;
    for (size_t k = 0; k + 4 <= length; k++)
        if (memcmp(text + k, "MOD_", 4) == 0) from = k + 4;
    std::string name(text + from, length - from);
    if (name.size() > LONGEST) name.resize(LONGEST);
    for (size_t k = 0; k < name.size(); k++) {
        char& c = name[k];
        if (c == '_') c = ' ';
        else if (k == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        else if (k > 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

static std::string id_weapon_name(int id) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "weapon %i", id);
    return buffer;
}

// The number of a row's weapon; a row without a name of its own gets the
// name of its text.
static int row_weapon(int number, const char* text, size_t length) {
    return number == OWN_NAME ? weapon_registry::number_of(mod_text_name(text, length)) : number;
}

int resolve_table_weapon(const dialect& d, int version, int id, const char* text, size_t length, bool& disagrees) {
    disagrees = false;
    if (version < 0 || version > 2) version = 0;
    const dialect::resolved& w = *d.weapons;
    if (length) {
        auto found = w.by_text.find(std::string(text, length));
        if (found != w.by_text.end()) {
            if (d.ids_in_tables) {
                auto by_id = w.by_id[version].find(id);
                disagrees = by_id == w.by_id[version].end() || strlen(by_id->second.text) != length ||
                            memcmp(by_id->second.text, text, length) != 0;
            }
            return row_weapon(found->second, text, length);
        }
        const std::string name = mod_text_name(text, length);
        return weapon_registry::number_of(name.empty() ? id_weapon_name(id) : name);
    }
    if (d.ids_in_tables) {
        auto found = w.by_id[version].find(id);
        if (found != w.by_id[version].end())
            return row_weapon(found->second.number, found->second.text, strlen(found->second.text));
    }
    return weapon_registry::number_of(id_weapon_name(id));
}
