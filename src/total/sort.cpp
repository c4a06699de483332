// Sorting and compaction of player lists: the slots of one game (with their
// kill-matrix rows and columns), the totals' player list and a player's p2p
// list. The pages show the exchange sort's order of ties: a game's few slots
// run the exchange sort itself, the totals' lists get its order in
// O(n log n) (rank_order.h).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/fatal.h"
#include "app/settings.h"
#include "game/resultdata.h"
#include "parse/funname.h"
#include "platform/platform.h"
#include "total/exchange_sort.h"
#include "total/rank_order.h"
#include "total/resultdata_total.h"

// Numeric key of a player for a sort order (name excluded); computed on the
// record's values without touching its cached statistics.
static double numeric_key(const player_t& p, int order) {
    switch (order) {
        case SORT_TEAM: return p.team;
        case SORT_RATIO: return p.compute_ratio();
        case SORT_EFF: return p.compute_eff();
        case SORT_SKILL: return p.compute_skill();
        case SORT_KILLS: return p.kills[0];
        case SORT_KILLED: return p.killed[0];
        case SORT_FRAGS: return p.frags();
        case SORT_SCORE: return p.score();
        case SORT_PLAYTIME: return p.playtime;
        default: return 0;
    }
}

void resultdata::swap_players(int a, int b) {
    if (a == b) return;
    std::swap(players[a], players[b]);
    const int n = player_count;
    uint16_t tmp[MAX_WEAPONS];
    const size_t bytes = sizeof tmp;
    for (int m = 0; m < n; m++) {
        memcpy(tmp, cell(m, a), bytes);
        memcpy(cell(m, a), cell(m, b), bytes);
        memcpy(cell(m, b), tmp, bytes);
    }
    for (int m = 0; m < n; m++) {
        memcpy(tmp, cell(a, m), bytes);
        memcpy(cell(a, m), cell(b, m), bytes);
        memcpy(cell(b, m), tmp, bytes);
    }
}

void resultdata::sort_players(int order, bool reverse) {
    if (order < 0 || order > 9) return;
    const int n = player_count;
    auto swap = [this](size_t i, size_t j) { swap_players(static_cast<int>(i), static_cast<int>(j)); };
    if (order == SORT_NAME) {
        std::vector<std::string> keys;
        for (int i = 0; i < n; i++) keys.push_back(diverse::matched_name(players[i].name));
        if (reverse)
            exchange_sort(keys, [](const std::string& a, const std::string& b) { return a > b; }, swap);
        else
            exchange_sort(keys, [](const std::string& a, const std::string& b) { return a < b; }, swap);
        return;
    }
    std::vector<double> keys;
    for (int i = 0; i < n; i++) keys.push_back(numeric_key(players[i], order));
    if (reverse)
        exchange_sort(keys, [](double a, double b) { return a < b; }, swap);
    else
        exchange_sort(keys, [](double a, double b) { return a > b; }, swap);
}

void resultdata::sort_by_team() { sort_players(SORT_TEAM, team_strength(1) >= team_strength(2)); }

template <class Keep>
void resultdata::compact(Keep keep) {
    const int n = player_count;
    std::vector<int> kept;
    for (int i = 0; i < n; i++)
        if (keep(players[i])) kept.push_back(i);
    const int k = static_cast<int>(kept.size());
    if (k == n) return;
    // Each kept cell moves up and left only, so a forward pass copies in place.
    for (int a = 0; a < k; a++)
        for (int b = 0; b < k; b++)
            if (kept[a] != a || kept[b] != b)
                memcpy(cell(a, b), cell(kept[a], kept[b]), MAX_WEAPONS * sizeof(uint16_t));
    for (int a = 0; a < k; a++)
        if (kept[a] != a) players[a] = players[kept[a]];
    player_count = k;
}

void resultdata::remove_bots() {
    if (!settings->skip_bots) return;
    compact([](const player_t& p) { return p.bot_skill == -1; });
}

void resultdata::remove_inactive() {
    compact([](const player_t& p) {
        return p.frags() > 0 || p.killed[0] != 0 || p.world_deaths != 0 || p.suicides[0] != 0;
    });
}

// The progress fields of a sort of n records: one per outer position i of the
// exchange sort (0 to n - 2), "(%3i %%)" with 100 * (i + 1) / n after seven
// backspaces. Written in runs of equal fields: a million players make a
// million of them.
static void print_sort_progress(int n) {
    char field[32];
    std::string run;
    for (long long i = 0; i + 1 < n;) {
        const long long percent = 100 * (i + 1) / n;
        // The last i with this percentage: 100 * (i + 1) / n == percent.
        long long last = ((percent + 1) * n - 1) / 100 - 1;
        if (last > n - 2) last = n - 2;
        const int length = snprintf(field, sizeof field, "\b\b\b\b\b\b\b(%3i %%)", static_cast<int>(percent));
        run.clear();
        for (long long k = i; k <= last; k++) run.append(field, static_cast<size_t>(length));
        fwrite(run.data(), 1, run.size(), stdout);
        i = last + 1;
    }
}

// Texts one after another in one block: a million names sort without a
// million strings of their own.
class text_list {
public:
    void add(const std::string& t) {
        text += t;
        at.push_back(static_cast<uint32_t>(text.size()));
    }
    std::string_view operator[](size_t k) const {
        return std::string_view(text).substr(at[k], at[k + 1] - at[k]);
    }

private:
    std::string text;
    std::vector<uint32_t> at{0};
};

// Puts a list in the exchange sort's order: beats(a, b) tells that record a
// must come before record b.
template <class Item, class Beats>
static void rank(std::vector<Item>& list, Beats beats) {
    std::vector<Item> result;
    result.reserve(list.size());
    for (uint32_t k : exchange_sort_order(list.size(), beats)) result.push_back(list[k]);
    list.swap(result);
}

// Numbers larger first; texts smaller first.
static auto larger_first(const std::vector<double>& keys) {
    return [&keys](uint32_t a, uint32_t b) { return keys[a] > keys[b]; };
}
static auto alphabetical(const text_list& names) {
    return [&names](uint32_t a, uint32_t b) { return names[a] < names[b]; };
}

int resultdata_total::sort_players(int order) {
    sort_key = order;
    printf("\n- Sorting all players        ");
    const int n = count_players();
    if (n >= 2 && (order < 0 || order > 9)) {
        // The first comparison finds the order invalid, after the first progress field.
        printf("\b\b\b\b\b\b\b(%3i %%)", static_cast<int>(100 / n));
        fatal_error("resultdata_total::sort_players - invalid case");
    }
    if (order == SORT_NAME) {
        text_list names;
        for (const player_total_t* p : list) names.add(p->matched_name());
        rank(list, alphabetical(names));
    } else if (order != SORT_TEAM) {   // every totals record has team -1: no exchange
        std::vector<double> keys(list.size());
        for (size_t i = 0; i < list.size(); i++) keys[i] = ranking_figure(*list[i], order);
        rank(list, larger_first(keys));
    }
    print_sort_progress(n);
    printf("\b\b\b\b\b\b\b(100 %%)\n");
    platform::flush_console();
    return 0;
}

int resultdata_total::sort_p2ps(player_total_t* player, int order) {
    std::vector<p2p_t> records = p2p_list(player);
    if (records.size() < 2) return 0;
    switch (order) {
        case SORT_KILLS:
        case SORT_KILLED: {
            std::vector<double> keys(records.size());
            for (size_t i = 0; i < records.size(); i++)
                keys[i] = order == SORT_KILLS ? records[i].total_kills() : records[i].total_killed();
            rank(records, larger_first(keys));
            break;
        }
        case SORT_NAME: {
            text_list names;
            for (const p2p_t& q : records) names.add(diverse::matched_name(q.get_name()));
            rank(records, alphabetical(names));
            break;
        }
        default:
            fatal_error("resultdata_total::sort_p2ps - invalid case");
    }
    player->p2p_first = player->p2p_last = 0;
    for (const p2p_t& q : records) link_p2p(*player, q.pair_number());
    return 0;
}

double ranking_figure(const player_total_t& p, int order) {
    switch (order) {
        case SORT_RATIO: return p.ratio();
        case SORT_EFF: return p.eff();
        case SORT_SKILL: return p.skill();
        case SORT_KILLS: return p.total_kills();
        case SORT_KILLED: return p.total_killed();
        case SORT_FRAGS: return p.frags();
        case SORT_SCORE: return p.score();
        case SORT_PLAYTIME: return p.playtime;
        default: return 0;
    }
}
