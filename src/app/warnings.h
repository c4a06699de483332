// Console warnings: every "\nWARNING: " message of a run is printed through
// warn(), which counts it by kind for the run report.
#pragma once

enum warning_kind {
    WARN_GAMES_PER_FILE,   // a "/g:" value below 1, refused
    WARN_NO_LOG_MATCH,     // a log specification that matches no file
    WARN_NO_GAME_LISTED,   // a log file that lists no game
    WARN_ITEM_CLIENT,      // an item line's client number beyond the table
    WARN_FOLDER_NOT_LOG,   // a log specification that names a folder
    WARN_TOO_MANY_CLIENTS, // a game dropped: more than 511 clients
    WARNING_KINDS
};

// Prints the formatted message as it stands (it begins with "\nWARNING: ")
// and counts it.
void warn(warning_kind kind, const char* format, ...) __attribute__((format(printf, 2, 3)));
// How many warnings of the kind the run has printed so far.
long long warning_count(warning_kind kind);
// What the kind is about, in a few words, for the report.
const char* warning_description(warning_kind kind);
