// Helpers for the parser tests: a log held in a temporary file, read through
// log_reader by an analyzelog into a fresh game record.
#pragma once
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "game/resultdata.h"
#include "parse/analyzelog.h"
#include "parse/chat_log.h"
#include "parse/log_reader.h"

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

// ignore_events is process-wide: every parser test starts and ends with it off.
class parser_test : public ::testing::Test {
protected:
    void SetUp() override { ignore_events = false; }
    void TearDown() override { ignore_events = false; }
};

}  // namespace vexo_test
