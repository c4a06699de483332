// time_stamps: the shapes of the time stamps a log line can begin with,
// other than the plain "m:ss" token, and the numbers they carry. Each
// function looks at the start of a line (or of its first token), returns the
// length of the stamp, 0 when the text does not have that shape, and reads
// nothing past the first byte that breaks the shape (lines end in a NUL).
// Pure functions: any thread may call them.
#pragma once
#include <cstddef>
#include <cstdint>

namespace time_stamps {

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Days since 1970-01-01 of a date, counted the way timegm counts them: a
// month outside 1 to 12 runs into the years around, a day outside the month
// into the months around.
int64_t day_number(int year, int month, int day);

// A date and a clock in seconds of that day.
struct date_clock {
    int64_t day;
    int32_t seconds;
};

// "[2017-05-07] [18:38:43] ".
size_t bracketed_date(const char* line, date_clock* out);

// "[Mon Dec 28 13:38:57 2015]  ": the C library's ctime layout in brackets,
// a day below 10 padded with a blank or a zero, then two blanks.
size_t ctime_date(const char* line, date_clock* out);

// "1-25-2021 3:47 (0:07): ": month-day-year, hour and minute (padded with a
// blank or a digit), the game time as m:ss in parentheses, a colon and a
// blank. `game_time` gets the parenthesised time in seconds (held within
// 32 bits).
size_t game_clock(const char* line, int32_t* game_time);

// "1336040739|": seconds of Unix time (held within +-10^18) and a bar, then
// the console prompt's erase bytes ("]\b \b" or "\b \b", any number of them),
// which the length includes.
size_t unix_seconds(const char* line, int64_t* seconds);

// "1101:28ClientConnect:": an m:ss token whose minutes have four or more
// digits and whose two seconds digits run on into the event word. Returns
// the length of the m:ss part (the event word starts there).
size_t joined_minutes(const char* token, size_t length);

}  // namespace time_stamps
