// analyzelog: the parser of one log file. parse() reads lines until a game has
// ended (1) or the file has ended (0); parse_line() splits one line into its
// time stamp (one of the forms of log_counts.h, or none) and event word,
// dispatches the word to the game record and the chat log, and counts the
// line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include "parse/log_counts.h"
#include "parse/log_reader.h"

struct line_event;

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
    // Both return the length of the token copied.
    size_t first_token(const char* line, char* out, size_t out_size, char separator);
    size_t next_token(char* out, size_t out_size, char separator);
    // An "m:ss" time stamp in seconds; also stored in last_time.
    int read_time(const char* text);

    chat_log* chat;          // the run's chat log (open only with /l)
    // Given every chat line (speaker and text raw, as in the log) when set:
    // the chat page of the web pages (/w with /l).
    std::function<void(const char* speaker, const char* text, bool spectator)> web_chat;
    log_reader* log_stream;
    resultdata* results;
    const settings_t* settings;
    const char* cursor;
    int32_t last_time;
    bool exit_seen;
    log_counts counts;   // of the lines read so far

private:
    // The current line's time stamp in seconds, whatever its form; also
    // stored in last_time.
    int line_time(const char* time_token);
    void note_not_understood(const char* line);
    // A line whose first token begins with a digit but is not "12:34".
    bool other_digit_form(const char* line, char* time_token, size_t time_length, char* event, event_kind* kind);
    // A line that begins with one of the bracketed date forms: true, and
    // its event word in `kind`.
    bool bracketed_form(const char* line, char* time_token, char* event, event_kind* kind);
    // The seconds of a day and clock after the reference day of its form.
    void set_day_time(int64_t day, int64_t seconds, bool* has_reference, int64_t* reference);
    time_form form;            // of the current line
    int32_t stamp_seconds;     // the current line's time when its form is not m:ss
    bool game_open;            // an "InitGame:" since the last "ShutdownGame:"
    // The file's first line of each form with a reference: its day number
    // (date and clock, ctime) or its seconds (Unix time).
    bool has_date_reference = false, has_ctime_reference = false, has_unix_reference = false;
    int64_t date_reference = 0, ctime_reference = 0, unix_reference = 0;
    void userinfo_changed(const char* time_token);
    void say();
    void init_game(int time);
    // A kill line: its weapon, then (unless weapon_only) its counting.
    void kill(const char* time_token, bool weapon_only = false);
    void hold_line(const char* line);
    // A line of the game's dialect's own (or one its readers read): what it asks.
    void dialect_event(const line_event& e, const char* time_token);
    // A client named by a kill line of a dialect that does so.
    void name_from_kill_line(int client, const char* from, const char* to, int time);
    // Urban Terror's pause of the counting of kills and items (warm-up, half
    // time), set by "Warmup:" and "Exit:", ended by the round start.
    bool paused;
    bool paused_after_exit;
    // Teams given to clients by team lines, for a name that comes later (-1 none).
    int8_t kept_team[512];
    // An "InitGame:" that ended the game before it: read again, for the next game.
    char held_line[LOG_LINE_MAX];
    bool line_held;
    bool replaying;
};
