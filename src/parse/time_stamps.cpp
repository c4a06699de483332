// time_stamps: recognising the time-stamp shapes other than "m:ss" at the
// start of a line, and reading their numbers.
#include "parse/time_stamps.h"

#include <cstring>

namespace time_stamps {

namespace {

int two_digits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

// Digits at p, at least `least` and at most `most` of them: their count, or 0.
size_t digit_run(const char* p, size_t least, size_t most) {
    size_t n = 0;
    while (n < most && is_digit(p[n])) n++;
    return n >= least && !is_digit(p[n]) ? n : 0;
}

// A run of digits read as a number, held at `cap`.
int64_t capped_number(const char* p, size_t n, int64_t cap) {
    int64_t v = 0;
    for (size_t i = 0; i < n; i++) {
        const int digit = p[i] - '0';
        if (v > (cap - digit) / 10) return cap;
        v = v * 10 + digit;
    }
    return v;
}

// The line matches `shape` from its start: '9' a digit, '_' a blank or a
// digit, '.' any byte but the end, any other byte itself.
bool fits(const char* line, const char* shape, size_t length) {
    for (size_t i = 0; i < length; i++) {
        const char s = shape[i], c = line[i];
        if (s == '9' ? !is_digit(c) : s == '_' ? !(c == ' ' || is_digit(c)) : s == '.' ? c == 0 : c != s)
            return false;
    }
    return true;
}

bool erase_bytes(const char* p) { return p[0] == '\b' && p[1] == ' ' && p[2] == '\b'; }

// The place of a three-letter name in a list of them, or -1.
int name_index(const char* p, const char* names, int count) {
    for (int i = 0; i < count; i++)
        if (memcmp(p, names + 3 * i, 3) == 0) return i;
    return -1;
}

}  // namespace

int64_t day_number(int year, int month, int day) {
    int64_t y = year + (month - 1 >= 0 ? (month - 1) / 12 : -((12 - month) / 12));
    const int m = ((month - 1) % 12 + 12) % 12 + 1;   // 1 to 12
    // Days from civil (proleptic Gregorian), the year taken from March on.
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (day - 1);
}

size_t bracketed_date(const char* line, date_clock* out) {
    static const char shape[] = "[9999-99-99] [99:99:99] ";
    if (!fits(line, shape, sizeof shape - 1)) return 0;
    const int year = two_digits(line + 1) * 100 + two_digits(line + 3);
    out->day = day_number(year, two_digits(line + 6), two_digits(line + 9));
    out->seconds = two_digits(line + 14) * 3600 + two_digits(line + 17) * 60 + two_digits(line + 20);
    return sizeof shape - 1;
}

size_t ctime_date(const char* line, date_clock* out) {
    // "[Www Mmm dd hh:mm:ss yyyy]  "; the names are checked on their own.
    static const char shape[] = "[... ... _9 99:99:99 9999]  ";
    static const char days[] = "SunMonTueWedThuFriSat";
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (!fits(line, shape, sizeof shape - 1)) return 0;
    const int month = name_index(line + 5, months, 12);
    if (month < 0 || name_index(line + 1, days, 7) < 0) return 0;
    const int day = line[9] == ' ' ? line[10] - '0' : two_digits(line + 9);
    const int year = two_digits(line + 21) * 100 + two_digits(line + 23);
    out->day = day_number(year, month + 1, day);
    out->seconds = two_digits(line + 12) * 3600 + two_digits(line + 15) * 60 + two_digits(line + 18);
    return sizeof shape - 1;
}

size_t game_clock(const char* line, int32_t* game_time) {
    // month-day-year
    const char* p = line;
    const struct {
        size_t least, most;
        char then;
    } fields[] = {{1, 2, '-'}, {1, 2, '-'}, {4, 4, ' '}};
    for (const auto& f : fields) {
        const size_t n = digit_run(p, f.least, f.most);
        if (n == 0 || p[n] != f.then) return 0;
        p += n + 1;
    }
    // hour and minute
    const size_t hour = digit_run(p, 1, 2);
    if (hour == 0 || p[hour] != ':') return 0;
    p += hour + 1;
    if (!fits(p, "_9 (", 4)) return 0;
    p += 4;
    // the game time, "m:ss", in parentheses, then a colon and a blank
    const size_t minutes = digit_run(p, 1, SIZE_MAX);
    if (minutes == 0 || !fits(p + minutes, ":99): ", 6)) return 0;
    const int64_t seconds = capped_number(p, minutes, INT32_MAX) * 60 + two_digits(p + minutes + 1);
    *game_time = seconds > INT32_MAX ? INT32_MAX : static_cast<int32_t>(seconds);
    return static_cast<size_t>(p + minutes + 6 - line);
}

size_t unix_seconds(const char* line, int64_t* seconds) {
    const size_t n = digit_run(line, 1, SIZE_MAX);
    if (n == 0 || line[n] != '|') return 0;
    *seconds = capped_number(line, n, 1000000000000000000);
    const char* p = line + n + 1;
    for (;;) {
        if (p[0] == ']' && erase_bytes(p + 1)) p += 4;
        else if (erase_bytes(p)) p += 3;
        else break;
    }
    return static_cast<size_t>(p - line);
}

size_t joined_minutes(const char* token, size_t length) {
    const size_t minutes = digit_run(token, 4, length);
    if (minutes == 0 || minutes + 3 >= length) return 0;
    const char* p = token + minutes;
    return p[0] == ':' && is_digit(p[1]) && is_digit(p[2]) && !is_digit(p[3]) ? minutes + 3 : 0;
}

}  // namespace time_stamps
