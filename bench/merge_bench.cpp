// Merge and sort benchmark of the totals: generates many games directly into
// a game record (no log text), merges each into the totals, then sorts the
// totals by every key. Prints the time of each phase, the heap the totals
// hold per player and per p2p record, and the peak RSS.
//
//   merge_bench [games] [distinct players] [active window] [seed] [per game]
//
// Players are drawn from a window of the player numbers that slides over the
// run (a server's community drifting over a year), so each player meets a few
// hundred opponents, not all of them; every player number is used. A game has
// 2 to 16 players, or exactly `per game`. With a window of 10, 10 per game and
// ten times as many players as games, every game brings ten new players:
//   merge_bench 20000 200000 10 1 10
#include <malloc.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"
#include "total/resultdata_total.h"

namespace {

using bench_clock = std::chrono::steady_clock;

double seconds_since(bench_clock::time_point t0) {
    return std::chrono::duration<double>(bench_clock::now() - t0).count();
}

// CPU time of this thread: the machine may be shared, so wall time alone misleads.
double cpu_now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

long peak_rss_kib() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

// Sends standard output (the sort's progress field) to /dev/null while it lives.
class quiet_stdout {
public:
    quiet_stdout() {
        fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        int fd = open("/dev/null", O_WRONLY);
        dup2(fd, STDOUT_FILENO);
        close(fd);
    }
    ~quiet_stdout() {
        fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }

private:
    int saved_;
};

// Raw names of player k: the usual one and an occasional variant with other
// colours and letter case (the same player for the totals).
struct player_names {
    std::string usual, variant;
};

player_names make_names(int k) {
    static const char* const stems[] = {"Rail", "Frag", "Nova", "Zed", "Kilo", "Vex", "Orb", "Taz",
                                        "Mono", "Quill", "Rook", "Ash"};
    std::string plain = std::string(stems[k % 12]) + "_" + std::to_string(k);
    player_names n;
    n.usual = "^" + std::to_string(k % 10) + plain;
    n.variant = "^" + std::to_string((k + 3) % 10);
    for (char c : plain) n.variant += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return n;
}

// Heap bytes in use (small blocks and mapped ones).
size_t heap_in_use() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// FNV-1a over the ids in list order: equal figures mean equal orders.
uint64_t order_hash(const resultdata_total& totals) {
    uint64_t h = 1469598103934665603ull;
    for (const player_total_t* p : totals.player_list()) {
        h ^= static_cast<uint32_t>(p->id);
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? atoi(argv[1]) : 100000;
    const int distinct = argc > 2 ? atoi(argv[2]) : 20000;
    const int window = argc > 3 ? atoi(argv[3]) : 1000;
    const unsigned seed = argc > 4 ? static_cast<unsigned>(atoi(argv[4])) : 12345u;
    const int per_game = argc > 5 ? atoi(argv[5]) : 0;
    if (games < 1 || distinct < 16 || window < 2 || window > distinct || per_game < 0 || per_game == 1 ||
        per_game > 16 || (per_game ? per_game : 16) > window) {
        fprintf(stderr, "usage: merge_bench [games>=1] [players>=16] [window 2..players] [seed] [per game 2..16]\n");
        return 1;
    }

    std::vector<player_names> names;
    names.reserve(distinct);
    for (int k = 0; k < distinct; k++) names.push_back(make_names(k));

    settings_t settings;
    std::unique_ptr<resultdata> game(new resultdata(&settings));
    const size_t heap_before = heap_in_use();
    std::unique_ptr<resultdata_total> totals(new resultdata_total());
    std::mt19937 rng(seed);
    static const int weapons[] = {1, 2, 3, 4, 6, 8, 10, 11, 12, 7, 18};

    double fill_time = 0, game_sort_time = 0, merge_time = 0;
    double fill_cpu = 0, game_sort_cpu = 0, merge_cpu = 0;
    long slots = 0, kills = 0;
    std::vector<char> seen(distinct, 0);
    std::vector<int> chosen;
    const auto run_start = bench_clock::now();
    const double run_cpu_start = cpu_now();

    for (int g = 0; g < games; g++) {
        auto t0 = bench_clock::now();
        const double c0 = cpu_now();
        game->reset();
        game->set_game_type(rng() % 10 < 3 ? 3 : 0);
        const bool teams = game->game_type == 3;
        game->init_game(0);

        // 2 to 16 players, most games 4 to 10.
        const int n = per_game ? per_game : 2 + static_cast<int>((rng() % 8) + (rng() % 8));
        const long base = static_cast<long>(g) * distinct / games;
        chosen.clear();
        while (static_cast<int>(chosen.size()) < n) {
            int k = static_cast<int>((base + rng() % window) % distinct);
            bool dup = false;
            for (int c : chosen) dup |= c == k;
            if (!dup) chosen.push_back(k);
        }
        for (int c = 0; c < n; c++) {
            const int k = chosen[c];
            seen[k] = 1;
            const bool bot = k % 10 == 0;
            const char* raw = rng() % 10 == 0 ? names[k].variant.c_str() : names[k].usual.c_str();
            game->client_connect(c, 0);
            game->client_userinfo(c, raw, bot ? 1 + k % 5 : -1, teams ? 1 + c % 2 : 0, 0);
        }
        const int events = n * (5 + static_cast<int>(rng() % 20));
        for (int e = 0; e < events; e++) {
            const int t = 1 + e * 600 / events;
            const int victim = static_cast<int>(rng() % n);
            const unsigned roll = rng() % 100;
            int killer;
            if (roll < 4) killer = victim;                     // suicide
            else if (roll < 7) killer = 1022;                  // the world
            else {
                killer = static_cast<int>(rng() % (n - 1));
                if (killer >= victim) killer++;
            }
            // The weapon id as a log line gives it, numbered by the base game's dialect.
            bool disagrees;
            const int weapon = resolve_weapon(default_dialect(), 0, weapons[rng() % 11], nullptr, 0, disagrees);
            game->add_kill(killer, victim, weapon, t);
            if (e % 7 == 0) game->add_ping(victim, 20 + static_cast<int>(rng() % 180));
        }
        game->end_game(600 + static_cast<int>(rng() % 600));
        kills += events;
        slots += n;
        auto t1 = bench_clock::now();
        const double c1 = cpu_now();

        // What the driver and the game writer do before the merge.
        game->sort_players(SORT_FRAGS, false);
        game->remove_inactive();
        auto t2 = bench_clock::now();
        const double c2 = cpu_now();

        if (game->get_player_count() >= 2) totals->add_game(*game);
        auto t3 = bench_clock::now();
        const double c3 = cpu_now();
        fill_cpu += c1 - c0;
        game_sort_cpu += c2 - c1;
        merge_cpu += c3 - c2;
        fill_time += std::chrono::duration<double>(t1 - t0).count();
        game_sort_time += std::chrono::duration<double>(t2 - t1).count();
        merge_time += std::chrono::duration<double>(t3 - t2).count();
    }
    const double run_time = seconds_since(run_start);
    const double run_cpu = cpu_now() - run_cpu_start;

    long used = 0;
    for (char s : seen) used += s;
    long p2ps = 0;
    for (const player_total_t* p : totals->player_list()) p2ps += totals->count_p2ps(p);
    // The totals' heap: what the p2p records hold is counted by the totals
    // (large arrays), the rest is the player records with their names, weapon
    // counters, list and name index.
    const size_t heap_totals = heap_in_use() - heap_before;
    const size_t heap_p2p = totals->p2p_bytes();

    printf("games %d, player slots %ld, kill events %ld, player numbers used %ld, window %d\n", games, slots,
           kills, used, window);
    printf("totals: %d players, %ld p2p records (%.1f per player)\n", totals->count_players(), p2ps,
           static_cast<double>(p2ps) / totals->count_players());
    printf("                    wall s     cpu s\n");
    printf("generate games    %8.3f  %8.3f\n", fill_time, fill_cpu);
    printf("sort + compact    %8.3f  %8.3f\n", game_sort_time, game_sort_cpu);
    printf("add_game          %8.3f  %8.3f   (%.2f us cpu per game)\n", merge_time, merge_cpu,
           merge_cpu * 1e6 / games);
    printf("whole merge loop  %8.3f  %8.3f\n", run_time, run_cpu);
    printf("heap of the totals: %.1f MiB: %.0f bytes per player, %.1f bytes per p2p record\n",
           heap_totals / 1048576.0, static_cast<double>(heap_totals - heap_p2p) / totals->count_players(),
           static_cast<double>(heap_p2p) / (p2ps ? p2ps : 1));
    printf("peak RSS after merge: %ld KiB\n", peak_rss_kib());
    fflush(stdout);

    double sort_total = 0, sort_cpu = 0;
    printf("                    wall s     cpu s   order hash\n");
    for (int order : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) {
        auto t0 = bench_clock::now();
        const double c0 = cpu_now();
        {
            quiet_stdout quiet;
            totals->sort_players(order);
        }
        const double t = seconds_since(t0), c = cpu_now() - c0;
        sort_total += t;
        sort_cpu += c;
        printf("sort_players(%d)  %8.3f  %8.3f   %016llx\n", order, t, c,
               static_cast<unsigned long long>(order_hash(*totals)));
        fflush(stdout);
    }
    printf("all ten sorts     %8.3f  %8.3f\n", sort_total, sort_cpu);

    auto t0 = bench_clock::now();
    const double c0 = cpu_now();
    for (player_total_t* p : totals->player_list()) totals->sort_p2ps(p, SORT_KILLS);
    printf("sort_p2ps(4), all %8.3f  %8.3f\n", seconds_since(t0), cpu_now() - c0);
    printf("peak RSS: %ld KiB\n", peak_rss_kib());
    return 0;
}
