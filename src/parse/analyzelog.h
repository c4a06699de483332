// analyzelog: the parser of one log file. parse() reads lines until a game has
// ended (1) or the file has ended (0); parse_line() dispatches one line's event
// word to the game record and the chat log.
#pragma once
#include <cstddef>
#include <cstdint>
#include "parse/log_reader.h"

class resultdata;
class settings_t;
class chat_log;

// Process-wide: while true, "Item:", "Kill:" and "ClientUserinfoChanged:" lines
// are skipped (warm-ups, ended games, the end of a one-on-one match).
extern bool ignore_events;

class analyzelog {
public:
    analyzelog(log_reader* log_stream, resultdata* results, const settings_t* settings, chat_log* chat);
    virtual ~analyzelog();

    int parse();
    int parse_line(char* line);
    void first_token(const char* line, char* out, size_t out_size, char separator);
    void next_token(char* out, size_t out_size, char separator);
    int read_time(const char* text);

    chat_log* chat;          // the run's chat log (open only with /l)
    log_reader* log_stream;
    resultdata* results;
    const settings_t* settings;
    const char* cursor;
    int32_t last_time;
    bool exit_seen;

private:
    void userinfo_changed(const char* time_token);
    void say();
    void init_game(int time);
};
