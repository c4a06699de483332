// analyzelog: reads a log file line by line, cuts each line into tokens and
// dispatches its event word to the game record and the chat log.
#include "parse/analyzelog.h"

#include <cstring>

#include "app/fatal.h"
#include "app/settings.h"
#include "game/dialect.h"
#include "game/resultdata.h"
#include "parse/chat_log.h"
#include "parse/funname.h"
#include "parse/numbers.h"
#include "parse/time_stamps.h"

bool ignore_events = false;

// Token buffer sizes (terminator included).
static constexpr size_t TIME_SIZE = 256;
static constexpr size_t EVENT_SIZE = 256;
static constexpr size_t GENERAL_SIZE = 2048;
static constexpr size_t ITEM_SIZE = 64;
static constexpr size_t NAME_SIZE = PLAYER_NAME_MAX + 1;   // a longer name is cut to 64
static constexpr size_t SKILL_SIZE = 4;
static constexpr size_t TEAM_SIZE = 4;
static constexpr size_t SPEAKER_SIZE = 64;
static constexpr size_t INFO_KEY_SIZE = 256;
static constexpr size_t INFO_VALUE_SIZE = 128;

analyzelog::analyzelog(log_reader* log_stream, resultdata* results, const settings_t* settings, chat_log* chat)
    : chat(chat), log_stream(log_stream), results(results), settings(settings), cursor(""),
      last_time(0), exit_seen(false), form(FORM_MIN_SEC), stamp_seconds(0), game_open(false), paused(false),
      paused_after_exit(false), line_held(false), replaying(false) {
    memset(kept_team, -1, sizeof kept_team);
    held_line[0] = 0;
}

analyzelog::~analyzelog() {}

int analyzelog::parse() {
    char line[LOG_LINE_MAX];
    if (line_held) {
        // The line was counted when it ended the game before.
        line_held = false;
        replaying = true;
        memcpy(line, held_line, sizeof line);
        const int ended = parse_line(line);
        replaying = false;
        if (ended) return 1;
    }
    for (;;) {
        if (log_stream->read_line(line)) {
            if (parse_line(line)) return 1;
            continue;
        }
        if (log_stream->eof()) {
            counts.ended_by_eof = game_open;
            results->end_game(last_time);
            return 0;
        }
        if (log_stream->error()) fatal_error("analyzelog::parse - logfile read error");
        fatal_error("analyzelog::parse - unknown error");
    }
}

size_t analyzelog::first_token(const char* line, char* out, size_t out_size, char separator) {
    cursor = line;
    return next_token(out, out_size, separator);
}

size_t analyzelog::next_token(char* out, size_t out_size, char separator) {
    while (*cursor && (*cursor == separator || *cursor == ' ')) cursor++;
    const char* start = cursor;
    while (*cursor && *cursor != separator && *cursor != '\r' && *cursor != '\n') cursor++;
    size_t length = static_cast<size_t>(cursor - start);
    if (length > out_size - 1) length = out_size - 1;
    memcpy(out, start, length);
    out[length] = 0;
    return length;
}

int analyzelog::read_time(const char* text) {
    // Read as "%d:%d" would be: minutes, then seconds only after a colon.
    const char* end = text;
    int minutes = diverse::read_int(text, &end);
    int seconds = (end != text && *end == ':') ? diverse::read_int(end + 1) : 0;
    long long total = static_cast<long long>(minutes) * 60 + seconds;
    if (total > INT32_MAX) total = INT32_MAX;
    if (total < INT32_MIN) total = INT32_MIN;
    last_time = static_cast<int32_t>(total);
    return last_time;
}

// The other forms' time was taken when the line was split.
inline int analyzelog::line_time(const char* time_token) {
    if (form <= FORM_UNKNOWN) return read_time(time_token);
    last_time = stamp_seconds;
    return last_time;
}

const char* const event_words[EVENT_KINDS] = {
    "Item:", "Kill:", "----", "ClientUserinfoChanged:", "ClientBegin:", "ClientConnect:",
    "ClientDisconnect:", "say:", "sayteam:", "score:", "InitGame:", "Warmup:", "Game_Start:",
    "Game_End:", "Exit:", "ShutdownGame:", "words of the game's dialect", "",
};

namespace {

// Kills skipped while ignore_events is set are told apart by what set it
// last: "Exit:" or "Game_End:", or anything else.
bool ignore_after_exit = false;

void stop_counting(bool after_exit) {
    // A one-on-one rule meeting a game already ended keeps the end as cause.
    if (!ignore_events || after_exit) ignore_after_exit = after_exit;
    ignore_events = true;
}

// The event words, compared whole and with case; a word beginning with "----"
// is a line of dashes. The length picks the candidates, which are compared
// by memcmp of a known size (no library call). Inlined: every line of a log
// passes here.
template <size_t N>
inline bool word_is(const char* event, const char (&word)[N]) {
    return memcmp(event, word, N - 1) == 0;
}

inline __attribute__((always_inline)) event_kind classify(const char* event, size_t length) {
    if (length >= 4 && word_is(event, "----")) return EV_DASHES;
    switch (length) {
        case 4:
            if (word_is(event, "say:")) return EV_SAY;
            break;
        case 5:
            if (word_is(event, "Item:")) return EV_ITEM;
            if (word_is(event, "Kill:")) return EV_KILL;
            if (word_is(event, "Exit:")) return EV_EXIT;
            break;
        case 6:
            if (word_is(event, "score:")) return EV_SCORE;
            break;
        case 7:
            if (word_is(event, "Warmup:")) return EV_WARMUP;
            break;
        case 8:
            if (word_is(event, "sayteam:")) return EV_SAYTEAM;
            break;
        case 9:
            if (word_is(event, "InitGame:")) return EV_INIT_GAME;
            if (word_is(event, "Game_End:")) return EV_GAME_END;
            break;
        case 11:
            if (word_is(event, "Game_Start:")) return EV_GAME_START;
            break;
        case 12:
            if (word_is(event, "ClientBegin:")) return EV_BEGIN;
            break;
        case 13:
            if (word_is(event, "ShutdownGame:")) return EV_SHUTDOWN;
            break;
        case 14:
            if (word_is(event, "ClientConnect:")) return EV_CONNECT;
            break;
        case 17:
            if (word_is(event, "ClientDisconnect:")) return EV_DISCONNECT;
            break;
        case 22:
            if (word_is(event, "ClientUserinfoChanged:")) return EV_USERINFO;
            break;
    }
    return EV_UNKNOWN;
}

using time_stamps::is_digit;

// "digits, a '.', and no ':'": seconds with tenths ("600.1", "0.0", "103./").
// The token begins with a digit, has `length` characters and is not "12:34".
inline bool tenths_token(const char* token, size_t length) {
    const char* p = token + 1;
    while (is_digit(*p)) p++;
    return *p == '.' && memchr(p, ':', length - static_cast<size_t>(p - token)) == nullptr;
}

}  // namespace

void analyzelog::note_not_understood(const char* line) {
    counts.not_understood++;
    if (counts.first_not_understood.size() >= log_counts::SHOWN_NOT_UNDERSTOOD) return;
    size_t n = strlen(line);
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) n--;
    counts.first_not_understood.push_back({counts.lines(), std::string(line, n)});
}

// The seconds of a day and clock: days after the reference day of the form
// (its first line in the file) add a day's seconds each, a day before it adds
// nothing.
void analyzelog::set_day_time(int64_t day, int64_t seconds, bool* has_reference, int64_t* reference) {
    if (!*has_reference) {
        *has_reference = true;
        *reference = day;
    }
    if (day > *reference) seconds += (day - *reference) * 86400;
    stamp_seconds = seconds > INT32_MAX ? INT32_MAX : static_cast<int32_t>(seconds);
}

bool analyzelog::bracketed_form(const char* line, char* time_token, char* event, event_kind* kind) {
    time_stamps::date_clock date;
    size_t length = time_stamps::bracketed_date(line, &date);
    if (length != 0) {
        form = FORM_DATE;
        set_day_time(date.day, date.seconds, &has_date_reference, &date_reference);
    } else if ((length = time_stamps::ctime_date(line, &date)) != 0) {
        form = FORM_CTIME;
        set_day_time(date.day, date.seconds, &has_ctime_reference, &ctime_reference);
    } else {
        return false;
    }
    time_token[0] = 0;
    cursor = line + length;
    *kind = classify(event, next_token(event, EVENT_SIZE, ' '));
    return true;
}

// Seconds with tenths, Unix time, date with clock and game time, or m:ss
// run on into its event word; else m:ss, as ever. True when the event word
// was read too (into `kind`).
__attribute__((noinline)) bool analyzelog::other_digit_form(const char* line, char* time_token, size_t time_length,
                                                            char* event, event_kind* kind) {
    if (tenths_token(time_token, time_length)) {
        form = FORM_TENTHS;
        stamp_seconds = diverse::read_int(time_token);   // the whole seconds
        return false;
    }
    size_t length = 0;
    if (is_digit(line[0])) {   // these two start in the first column
        int64_t unix_time;
        int32_t game_time;
        if ((length = time_stamps::unix_seconds(line, &unix_time)) != 0) {
            form = FORM_UNIX;
            if (!has_unix_reference) {
                has_unix_reference = true;
                unix_reference = unix_time;
            }
            const int64_t seconds = unix_time - unix_reference;
            stamp_seconds = seconds > INT32_MAX   ? INT32_MAX
                            : seconds < INT32_MIN ? INT32_MIN
                                                  : static_cast<int32_t>(seconds);
        } else if ((length = time_stamps::game_clock(line, &game_time)) != 0) {
            form = FORM_GAME_CLOCK;
            stamp_seconds = game_time;
        }
        if (length != 0) {
            time_token[0] = 0;
            cursor = line + length;
            *kind = classify(event, next_token(event, EVENT_SIZE, ' '));
            return true;
        }
    }
    if ((length = time_stamps::joined_minutes(time_token, time_length)) != 0) {
        form = FORM_JOINED;
        memcpy(event, time_token + length, time_length - length + 1);
        time_token[length] = 0;
        *kind = classify(event, time_length - length);
        return true;
    }
    form = FORM_MIN_SEC;
    return false;
}

// Inlined into parse_line: every kill line passes here.
inline __attribute__((always_inline)) void analyzelog::kill(const char* time_token, bool weapon_only) {
    char general[GENERAL_SIZE];
    next_token(general, sizeof general, ' ');
    int killer = diverse::read_int(general);
    next_token(general, sizeof general, ' ');
    int victim = diverse::read_int(general);
    next_token(general, sizeof general, ' ');
    int id = diverse::read_int(general);
    // The weapon is known (and a new one numbered) whether the line counts or not.
    const char* names = cursor;
    const char* text = nullptr;
    size_t text_length = 0;
    bool disagrees = false;
    const dialect& d = *results->game_dialect;
    // The MOD text of an id counted by its number only tells the report
    // whether the two agree.
    const int weapon =
        id < 0 ? 0
               : kill_line_weapon(d, results->dialect_version, id, names, text, text_length, disagrees,
                                  settings->report_page);
    if (disagrees) counts.mod_text_disagrees++;
    if (weapon_only) return;
    if (ignore_events || paused) {
        counts.kills[ignore_events ? (ignore_after_exit ? KILL_AFTER_EXIT : KILL_SKIPPED)
                                   : (paused_after_exit ? KILL_AFTER_EXIT : KILL_SKIPPED)]++;
        return;
    }
    const int time = line_time(time_token);
    if (weapon == WEAPON_TEAM_CHANGE) {
        counts.kills[KILL_TEAM_CHANGE]++;
        return;
    }
    if (d.names_from_kill_lines && text) {
        // "<killer> killed <victim> by <MOD text>": the killer's name up to
        // the first " killed ", the victim's from there to the last " by ".
        while (*names == ' ') names++;
        const char* killed = strstr(names, " killed ");
        const char* by = text - 4;
        if (killed && killed + 8 <= by) {
            name_from_kill_line(killer, names, killed, time);
            name_from_kill_line(victim, killed + 8, by, time);
        }
    }
    const int result = results->add_kill(killer, victim, id < 0 ? -1 : weapon, time);
    switch (result) {
        case KILL_RESULT_COUNTED:
            counts.kills[KILL_COUNTED]++;
            if (!settings->report_page) break;   // shown by the report only
            if (static_cast<size_t>(weapon) >= counts.kills_by_weapon.size())
                counts.kills_by_weapon.resize(static_cast<size_t>(weapon) + 1, 0);
            counts.kills_by_weapon[weapon]++;
            break;
        case KILL_RESULT_BOT: counts.kills[KILL_BOT]++; break;
        case KILL_RESULT_NOT_A_PLAYER: counts.kills[KILL_NOT_A_PLAYER]++; break;
        default: counts.kills[KILL_UNKNOWN_CLIENT]++; break;
    }
}

int analyzelog::parse_line(char* line) {
    char time_token[TIME_SIZE];
    char event[EVENT_SIZE];
    event_kind kind = EV_UNKNOWN;
    if (line[0] == '[' && bracketed_form(line, time_token, event, &kind)) {
        // read with its event word
    } else {
        size_t time_length = first_token(line, time_token, sizeof time_token, ' ');
        const char c = time_token[0];
        bool event_read = false;
        if (is_digit(c)) {
            form = FORM_MIN_SEC;
            // "12:34" at once; the other forms that begin with a digit apart.
            if (time_length < 3 || time_token[time_length - 3] != ':')
                event_read = other_digit_form(line, time_token, time_length, event, &kind);
        } else if ((kind = classify(time_token, time_length)) != EV_UNKNOWN) {
            // No time stamp: the first token is the event word.
            form = FORM_NONE;
            stamp_seconds = 0;
            last_time = 0;
            event_read = true;
        } else {
            form = (c == '-' || c == '+') && is_digit(time_token[1]) ? FORM_MIN_SEC : FORM_UNKNOWN;
        }
        if (!event_read) {
            event[0] = 0;
            size_t event_length = 0;
            if (time_length <= 8) {
                event_length = next_token(event, sizeof event, ' ');
            } else if (time_token[time_length - 1] == ':') {
                // Time stamp and event word run together after seven characters ("-123:45Kill:").
                event_length = time_length - 7;
                memcpy(event, time_token + 7, event_length + 1);
                time_token[7] = 0;
            }
            kind = classify(event, event_length);
        }
    }
    const dialect_word* own_word = nullptr;
    if (kind == EV_UNKNOWN && results->game_dialect->word_count) {
        const dialect& d = *results->game_dialect;
        for (size_t k = 0; k < d.word_count && !own_word; k++)
            if (strcmp(event, d.words[k].word) == 0) own_word = &d.words[k];
        if (own_word) kind = EV_DIALECT;
    }
    if (!replaying) {
        counts.forms[form]++;
        counts.events[kind]++;
        if (form == FORM_UNKNOWN || kind == EV_UNKNOWN) note_not_understood(line);
    }

    // A dropped game takes no more lines until it ends: only its chat is
    // written, and the flags that follow the log are kept.
    if (results->too_many_clients) {
        switch (kind) {
            case EV_SAY:
            case EV_GAME_START:
            case EV_GAME_END:
            case EV_EXIT:
                break;
            case EV_WARMUP:
                ignore_events = true;
                ignore_after_exit = false;
                return 0;
            case EV_SHUTDOWN:
                game_open = false;
                line_time(time_token);
                results->clear_clients();
                return 1;
            case EV_KILL:
                counts.kills[KILL_DROPPED_GAME]++;
                kill(time_token, true);
                return 0;
            case EV_INIT_GAME:
                if (!game_open || !results->game_dialect->init_game_ends_game) return 0;
                game_open = false;
                results->clear_clients();
                counts.ended_by_init_game++;
                hold_line(line);
                return 1;
            default:
                return 0;
        }
    }
    char general[GENERAL_SIZE];
    switch (kind) {
        case EV_ITEM: {
            if (ignore_events || paused) return 0;
            alignas(32) char item[ITEM_SIZE];   // compared with the item names
            next_token(general, sizeof general, ' ');
            int client = diverse::read_int(general);
            next_token(item, sizeof item, '\n');
            results->add_item(client, item, line_time(time_token));
            break;
        }
        case EV_KILL:
            kill(time_token);
            break;
        case EV_USERINFO:
            if (ignore_events) return 0;
            userinfo_changed(time_token);
            break;
        case EV_CONNECT:
            if (results->game_dialect->connect_reader) {
                line_event e;
                results->game_dialect->connect_reader(cursor, e);
                dialect_event(e, time_token);
                break;
            }
            next_token(general, sizeof general, ' ');
            results->client_connect(diverse::read_int(general), line_time(time_token));
            break;
        case EV_DISCONNECT:
            next_token(general, sizeof general, ' ');
            if (results->client_disconnect(diverse::read_int(general), line_time(time_token)))
                stop_counting(false);
            break;
        case EV_SAY:
            say();
            break;
        case EV_SCORE: {
            if (results->game_dialect->score_reader) {
                line_event e;
                results->game_dialect->score_reader(cursor, e);
                dialect_event(e, time_token);
                break;
            }
            char ping[GENERAL_SIZE];
            next_token(general, sizeof general, ' ');
            next_token(general, sizeof general, ' ');
            next_token(ping, sizeof ping, ' ');
            next_token(general, sizeof general, ' ');
            next_token(general, sizeof general, ' ');
            results->add_ping(diverse::read_int(general), diverse::read_int(ping));
            break;
        }
        case EV_INIT_GAME:
            if (game_open && results->game_dialect->init_game_ends_game) {
                // The server changed the map without ending the game: it ends
                // at the time last read, and this line starts the next one.
                game_open = false;
                results->end_game(last_time);
                counts.ended_by_init_game++;
                hold_line(line);
                return 1;
            }
            game_open = true;
            init_game(line_time(time_token));
            if (form == FORM_DATE) {
                // "[2017-05-07] [18:38:43] ": the date and the clock to the minute.
                memcpy(results->game_date, line + 1, 10);
                results->game_date[10] = ' ';
                memcpy(results->game_date + 11, line + 14, 5);
                results->game_date[16] = 0;
            }
            break;
        case EV_WARMUP:
            if (results->game_dialect->warmup_pauses) {
                paused = true;
                paused_after_exit = false;
                break;
            }
            counts.ended_by_warmup++;
            results->end_game(line_time(time_token));
            ignore_events = true;
            ignore_after_exit = false;
            break;
        case EV_GAME_START:
            ignore_events = false;
            break;
        case EV_GAME_END:
            stop_counting(true);
            break;
        case EV_EXIT:
            if (results->game_dialect->warmup_pauses) {
                paused = true;
                paused_after_exit = true;
            } else {
                stop_counting(true);
            }
            exit_seen = true;
            break;
        case EV_DIALECT: {
            line_event e;
            own_word->read(cursor, e);
            dialect_event(e, time_token);
            break;
        }
        case EV_SHUTDOWN:
            game_open = false;
            results->end_game(line_time(time_token));
            return 1;
        case EV_DASHES:
        case EV_BEGIN:
        case EV_SAYTEAM:
        case EV_UNKNOWN:
        case EVENT_KINDS:
            break;
    }
    return 0;
}

void analyzelog::hold_line(const char* line) {
    const size_t n = strnlen(line, sizeof held_line - 1);
    memcpy(held_line, line, n);
    held_line[n] = 0;
    line_held = true;
}

void analyzelog::name_from_kill_line(int client, const char* from, const char* to, int time) {
    if (client < 0 || client >= results->game_dialect->client_limit || client >= MAX_CLIENT_IDS) return;
    if (results->clients[client].state == 1) return;
    char name[NAME_SIZE];
    size_t n = static_cast<size_t>(to - from);
    if (n > NAME_SIZE - 1) n = NAME_SIZE - 1;
    memcpy(name, from, n);
    name[n] = 0;
    results->client_userinfo(client, name, -1, kept_team[client] >= 0 ? kept_team[client] : 0, time);
}

void analyzelog::dialect_event(const line_event& e, const char* time_token) {
    const bool client = e.client >= 0 && e.client < MAX_CLIENT_IDS;
    switch (e.kind) {
        case line_event::NOTHING:
            break;
        case line_event::CONNECT:
            results->client_connect(e.client, line_time(time_token));
            break;
        case line_event::NAMED_CONNECT: {
            const int time = line_time(time_token);
            results->client_connect(e.client, time);
            if (!client) break;
            kept_team[e.client] = -1;
            if (!ignore_events && results->client_userinfo(e.client, e.name, -1, 0, time)) stop_counting(false);
            break;
        }
        case line_event::TEAM:
        case line_event::RENAME: {
            if (!client || ignore_events) break;
            const int time = line_time(time_token);
            const client_t& c = results->clients[e.client];
            const bool named = c.state == 1 && c.slot >= 0 && c.slot < results->player_count;
            if (e.kind == line_event::TEAM) {
                kept_team[e.client] = static_cast<int8_t>(e.team);
                if (!named) break;
                const player_t& p = results->players[c.slot];
                const std::string name = p.name;
                if (results->client_userinfo(e.client, name.c_str(), p.bot_skill, e.team, time)) stop_counting(false);
            } else {
                const int team = named ? results->players[c.slot].team : kept_team[e.client] >= 0 ? kept_team[e.client] : 0;
                const int bot = named ? results->players[c.slot].bot_skill : -1;
                if (results->client_userinfo(e.client, e.name, bot, team, time)) stop_counting(false);
            }
            break;
        }
        case line_event::PING:
            results->add_ping(e.client, e.ping);
            break;
        case line_event::ROUND_START:
            paused = false;
            paused_after_exit = false;
            break;
    }
}

void analyzelog::userinfo_changed(const char* time_token) {
    char general[GENERAL_SIZE];
    char name[NAME_SIZE] = "";
    char skill[SKILL_SIZE] = "";
    char team_text[TEAM_SIZE] = "";
    next_token(general, sizeof general, ' ');
    int client = diverse::read_int(general);
    if (results->game_dialect->userinfo_no_change) {
        const char* p = cursor;
        while (*p == ' ') p++;
        if (strncmp(p, "<no change>", 11) == 0) return;
    }
    char key[GENERAL_SIZE];
    next_token(key, sizeof key, '\\');
    while (key[0]) {
        if (strcmp(key, "n") == 0) next_token(name, sizeof name, '\\');
        else if (strcmp(key, "skill") == 0) next_token(skill, sizeof skill, '\\');
        else if (strcmp(key, "t") == 0) next_token(team_text, sizeof team_text, '\\');
        else next_token(general, sizeof general, '\\');
        next_token(key, sizeof key, '\\');
    }
    int team = team_text[0] ? diverse::read_int(team_text) : -1;
    int bot_skill = skill[0] ? diverse::read_int(skill) : -1;
    if (results->client_userinfo(client, name, bot_skill, team, line_time(time_token)))
        stop_counting(false);
}

void analyzelog::say() {
    char speaker[SPEAKER_SIZE];
    char text[GENERAL_SIZE];
    next_token(speaker, sizeof speaker, ':');
    next_token(text, sizeof text, '\n');
    // The speaker is looked up only for a line that is written.
    const bool classic = settings->chat_log && chat && chat->is_open();
    if (!classic && !web_chat) return;
    const char* name = speaker;
    if (results->game_dialect->chat_number_first) {
        // "<client number> <name>": the name alone.
        const char* p = name;
        while (*p >= '0' && *p <= '9') p++;
        if (p != name && *p == ' ') name = p + 1;
    }
    int slot = results->find_player(name);
    bool spectator = slot >= 0 && results->players[slot].team == 3;
    const bool spectator_line = results->game_type == results->game_dialect->one_on_one_type && spectator;
    if (classic) chat->line(diverse::funname_to_html(name), diverse::funname_to_html(text), spectator_line);
    if (web_chat) web_chat(name, text, spectator_line);
}

void analyzelog::init_game(int time) {
    ignore_events = results->game_type == results->game_dialect->one_on_one_type && exit_seen;
    ignore_after_exit = ignore_events;   // the one-on-one match before ended with "Exit:"
    exit_seen = false;
    paused = false;
    paused_after_exit = false;
    results->init_game(time);
    const char* pairs = cursor;
    char key[INFO_KEY_SIZE];
    char value[INFO_VALUE_SIZE];
    bool has_game_name = false, has_type = false;
    int type = results->game_type;
    char game_name[INFO_VALUE_SIZE] = "";
    do {
        next_token(key, sizeof key, '\\');
        next_token(value, sizeof value, '\\');
        if (strcmp(key, "mapname") == 0) {
            copy_field(results->map_name, sizeof results->map_name, value);
            for (char* c = results->map_name; *c; c++)
                if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c - 'A' + 'a');
        } else if (strcmp(key, "gamename") == 0) {
            copy_field(results->game_name, sizeof results->game_name, value);
            copy_field(game_name, sizeof game_name, value);
            has_game_name = true;
        } else if (strcmp(key, "fraglimit") == 0) {
            results->fraglimit = diverse::read_int(value);
        } else if (strcmp(key, "timelimit") == 0) {
            results->timelimit = diverse::read_int(value);
        } else if (strcmp(key, "g_gametype") == 0) {
            type = diverse::read_int(value);
            has_type = true;
        }
    } while (value[0]);
    // The game's dialect, then its game type's name in that dialect.
    const dialect& d = dialect_of_game(game_name, has_game_name, pairs);
    results->set_dialect(d, d.version_of ? d.version_of(game_name) : 0);
    if (has_type || results->game_type_name[0]) results->set_game_type(type);
    const size_t index = static_cast<size_t>(dialect_index(d));
    if (counts.games_by_dialect.size() <= index) counts.games_by_dialect.resize(index + 1, 0);
    counts.games_by_dialect[index]++;
}
