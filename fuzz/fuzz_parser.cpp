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

// A game can hold at most 511 player slots; one more ends the run through
// fatal_error ("too many clients in game"), which exits. That limit is the one
// fatal stop a log can reach (names are cut to 64 characters by the parser),
// and it is a documented end of the run, not a fault. Every new slot needs its
// own user-info line of at least 25 bytes ("ClientUserinfoChanged: 7" and a
// line end; only one client can do without its number), so 511 slots need
// more than 12,700 bytes. Inputs are therefore
// capped below that; everything else a log line can hold fits in the cap:
// several 2046-byte pieces of one line, NUL bytes, junk, huge numbers.
static constexpr size_t MAX_INPUT = 12000;

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
