// Helpers for the parser and game-record tests: a log held in a temporary file,
// read through log_reader by an analyzelog into a fresh game record; a game
// record fed with client events; list names of the totals; death-test setup.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "game/resultdata.h"
#include "parse/analyzelog.h"
#include "parse/chat_log.h"
#include "parse/log_reader.h"
#include "total/resultdata_total.h"

namespace vexo_test {

// A temporary file holding `bytes` (NUL bytes included), rewound for reading.
inline FILE* temp_log(const std::string& bytes) {
    FILE* f = std::tmpfile();
    if (f == nullptr) return nullptr;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    return f;
}

// One log file with its reader, game record and parser, as the driver sets
// them up for a file.
struct parsed_log {
    settings_t settings;
    std::unique_ptr<resultdata> results;
    FILE* file = nullptr;
    std::unique_ptr<log_reader> reader;
    std::unique_ptr<analyzelog> parser;

    explicit parsed_log(const std::string& log, chat_log* chat = nullptr) {
        settings.chat_log = chat != nullptr;
        results.reset(new resultdata(&settings));
        file = temp_log(log);
        reader.reset(new log_reader(file));
        parser.reset(new analyzelog(reader.get(), results.get(), &settings, chat));
    }
    ~parsed_log() {
        parser.reset();
        reader.reset();
        if (file != nullptr) std::fclose(file);
    }

    // One round of the driver's loop: reset the record, read up to a game end.
    int next_game() {
        results->reset();
        return parser->parse();
    }

    // Hands one line to the dispatch the way parse() does.
    int line(const std::string& text) {
        char buffer[LOG_LINE_MAX];
        std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
        return parser->parse_line(buffer);
    }

    const player_t& slot(int n) const { return results->get_player(n); }
    int count() const { return results->get_player_count(); }
};

// In a death test's child: no waiting for ENTER, and the console text goes
// to standard error, where the death test reads it.
inline void fatal_child() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!std::freopen("/dev/null", "r", stdin)) _exit(3);
}

// ignore_events is process-wide: every parser test starts and ends with it off.
class parser_test : public ::testing::Test {
protected:
    void SetUp() override { ignore_events = false; }
    void TearDown() override { ignore_events = false; }
};

// A game record of its own, fed with the client events of a log.
struct game_builder {
    settings_t settings;
    std::unique_ptr<resultdata> rd{new resultdata(&settings)};

    game_builder() { rd->init_game(0); }
    // A new game of the given type from 0:00.
    void start(int type = 0) {
        rd->reset();
        rd->set_game_type(type);
        rd->init_game(0);
    }
    // Connects `client` and sends its first user info at `time`; returns its slot.
    int join(int client, const char* name, int bot_skill = -1, int team = 0, int time = 0) {
        rd->client_connect(client, time);
        rd->client_userinfo(client, name, bot_skill, team, time);
        return rd->clients[client].slot;
    }
    void kill(int killer, int victim, int weapon, int times = 1, int time = 30) {
        for (int i = 0; i < times; i++) rd->add_kill(killer, victim, weapon, time);
    }
    player_t& slot(int s) { return rd->get_player(s); }
};

// The raw names of the totals' players and of a player's p2p records, in list order.
inline std::vector<std::string> player_names(const resultdata_total& t) {
    std::vector<std::string> v;
    for (const player_total_t* p : t.player_list()) v.push_back(p->get_name());
    return v;
}
inline std::vector<std::string> p2p_names(const resultdata_total& t, const player_total_t* p) {
    std::vector<std::string> v;
    for (const p2p_t& r : t.p2p_list(p)) v.push_back(r.get_name());
    return v;
}

// The same as a test fixture.
class game_test : public ::testing::Test, public game_builder {};

}  // namespace vexo_test
