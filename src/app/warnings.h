// Console warnings: every "\nWARNING: " message of a run is printed through
// warn(), which counts it by kind for the run report. A quiet run (/q) mutes
// standard output; its warnings and fatal errors still reach the console,
// each after the heading of the log file it concerns. warn() may be called
// from any thread; the console is made quiet and headings are set on the
// run's own thread.
#pragma once
#include <cstdio>
#include <string>

enum warning_kind {
    WARN_GAMES_PER_FILE,   // a "/g:" value below 1, refused
    WARN_NO_LOG_MATCH,     // a log specification that matches no file
    WARN_NO_GAME_LISTED,   // a log file that lists no game
    WARN_ITEM_CLIENT,      // an item line's client number beyond the table
    WARN_FOLDER_NOT_LOG,   // a log specification that names a folder
    WARN_TOO_MANY_CLIENTS, // a game dropped: more than 511 clients
    WARN_LOG_CHARSET,      // a log_charset value that names no known code page
    WARN_NOT_REPLACED,     // a page's place held by another user's entry the run may not replace
    WARN_NOT_REGULAR,      // a log file that is no regular file (a FIFO, a device)
    WARNING_KINDS
};

// Prints the formatted message as it stands (it begins with "\nWARNING: ")
// and counts it.
void warn(warning_kind kind, const char* format, ...) __attribute__((format(printf, 2, 3)));
// How many warnings of the kind the run has printed so far.
long long warning_count(warning_kind kind);
// What the kind is about, in a few words, for the report.
const char* warning_description(warning_kind kind);

// From now on standard output goes nowhere; messages go to the console.
void make_console_quiet();
// Where warnings and fatal errors are printed: stdout, unless quiet.
FILE* message_console();
// In a quiet run, printed once before the next warning or fatal error
// (the "Parsing" line of the log file being read); "" for none.
void set_message_heading(const std::string& heading);
// Prints the heading that is due, if any.
void print_message_heading();
// A message that is no warning but must reach the console all the same.
void print_message(const char* text);
// The end of a run that went through: a quiet run that printed a warning
// ends its last line.
void end_messages();
