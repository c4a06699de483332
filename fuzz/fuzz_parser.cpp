// libFuzzer target: arbitrary bytes read as a server log, game by game, into
// the game record, with the per-game sort and compaction the driver and the
// game writer apply. Nothing here writes a file (chat log off).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "app/settings.h"
#include "game/resultdata.h"
#include "parse/analyzelog.h"
#include "parse/log_reader.h"

// A game can hold at most 511 player slots; one more drops the game with a
// warning, and the lines up to its end change nothing. No log ends a run
// (names are cut to 64 characters by the parser). Every new slot needs its own
// user-info line of at least 25 bytes, so the dropped-game path needs inputs
// above 12,700 bytes; the cap below leaves room for it (give -max_len).
static constexpr size_t MAX_INPUT = 1 << 16;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Warnings of the accounting go to standard output; keep the fuzzer's
    // console (standard error) readable and the runs fast.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MAX_INPUT) return 0;

    // One record for all inputs, as the driver keeps one per log file: it is
    // 17 MiB and its reset is what the program relies on between games.
    static settings_t settings;
    static resultdata* results = [] {
        settings.chat_log = false;
        return new resultdata(&settings);
    }();

    // Each input is a log file of its own, read from the start of a run.
    ignore_events = false;
    results->reset();
    results->clear_clients();
    results->set_dialect(default_dialect(), 0);
    results->set_game_type(0);

    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) {
        file = std::tmpfile();  // fmemopen refuses an empty buffer on some systems
        if (file == nullptr) return 0;
    }
    {
        log_reader reader(file);
        analyzelog parser(&reader, results, &settings, nullptr);
        const int order = static_cast<int>(size % 10);
        const bool reverse = (size / 10) % 2 != 0;
        for (int games = 0;; games++) {
            results->reset();
            if (parser.parse() == 0) break;
            results->sort_players(order, reverse);
            results->remove_inactive();
            for (int slot = 0; slot < results->get_player_count(); slot++) {
                player_t& p = results->get_player(slot);
                (void)p.compute_skill();
                (void)p.compute_eff();
                (void)p.compute_ratio();
            }
        }
    }
    std::fclose(file);
    return 0;
}
