// analyzelog: reads a log file line by line, cuts each line into tokens and
// dispatches its event word to the game record and the chat log.
#include "parse/analyzelog.h"

#include <cstring>

#include "app/fatal.h"
#include "app/settings.h"
#include "game/resultdata.h"
#include "parse/chat_log.h"
#include "parse/funname.h"
#include "parse/numbers.h"

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

analyzelog::analyzelog(log_reader* log_stream, resultdata* results, settings_t* settings, chat_log* chat)
    : chat(chat), log_stream(log_stream), results(results), settings(settings), cursor(""),
      last_time(0), exit_seen(false) {}

analyzelog::~analyzelog() {}

int analyzelog::parse() {
    char line[LOG_LINE_MAX];
    for (;;) {
        if (log_stream->read_line(line)) {
            if (parse_line(line)) return 1;
            continue;
        }
        if (log_stream->eof()) {
            results->end_game(last_time);
            return 0;
        }
        if (log_stream->error()) fatal_error("analyzelog::parse - logfile read error");
        fatal_error("analyzelog::parse - unknown error");
    }
}

void analyzelog::first_token(const char* line, char* out, size_t out_size, char separator) {
    cursor = line;
    next_token(out, out_size, separator);
}

void analyzelog::next_token(char* out, size_t out_size, char separator) {
    while (*cursor && (*cursor == separator || *cursor == ' ')) cursor++;
    const char* start = cursor;
    while (*cursor && *cursor != separator && *cursor != '\r' && *cursor != '\n') cursor++;
    size_t length = static_cast<size_t>(cursor - start);
    if (length > out_size - 1) length = out_size - 1;
    memcpy(out, start, length);
    out[length] = 0;
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

namespace {

enum event_kind {
    EV_NONE, EV_ITEM, EV_KILL, EV_USERINFO, EV_CONNECT, EV_DISCONNECT, EV_SAY, EV_SCORE,
    EV_INIT_GAME, EV_WARMUP, EV_GAME_START, EV_GAME_END, EV_EXIT, EV_SHUTDOWN
};

// The event words, compared whole and with case; a word beginning with "----"
// (a separator line) and the words without an action ("ClientBegin:",
// "sayteam:") come out as EV_NONE. The first character picks the candidates.
event_kind classify(const char* event) {
    switch (event[0]) {
        case 'I':
            if (strcmp(event, "Item:") == 0) return EV_ITEM;
            if (strcmp(event, "InitGame:") == 0) return EV_INIT_GAME;
            break;
        case 'K':
            if (strcmp(event, "Kill:") == 0) return EV_KILL;
            break;
        case 'C':
            if (strcmp(event, "ClientUserinfoChanged:") == 0) return EV_USERINFO;
            if (strcmp(event, "ClientConnect:") == 0) return EV_CONNECT;
            if (strcmp(event, "ClientDisconnect:") == 0) return EV_DISCONNECT;
            break;
        case 's':
            if (strcmp(event, "say:") == 0) return EV_SAY;
            if (strcmp(event, "score:") == 0) return EV_SCORE;
            break;
        case 'W':
            if (strcmp(event, "Warmup:") == 0) return EV_WARMUP;
            break;
        case 'G':
            if (strcmp(event, "Game_Start:") == 0) return EV_GAME_START;
            if (strcmp(event, "Game_End:") == 0) return EV_GAME_END;
            break;
        case 'E':
            if (strcmp(event, "Exit:") == 0) return EV_EXIT;
            break;
        case 'S':
            if (strcmp(event, "ShutdownGame:") == 0) return EV_SHUTDOWN;
            break;
    }
    return EV_NONE;
}

}  // namespace

int analyzelog::parse_line(char* line) {
    char time_token[TIME_SIZE];
    char event[EVENT_SIZE];
    first_token(line, time_token, sizeof time_token, ' ');
    event[0] = 0;
    size_t time_length = strlen(time_token);
    if (time_length <= 8) {
        next_token(event, sizeof event, ' ');
    } else if (time_token[time_length - 1] == ':') {
        // Time stamp and event word run together ("1234:56Kill:").
        strcpy(event, time_token + 7);
        time_token[7] = 0;
    }

    const event_kind kind = classify(event);
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
                return 0;
            case EV_SHUTDOWN:
                read_time(time_token);
                results->clear_clients();
                return 1;
            default:
                return 0;
        }
    }
    char general[GENERAL_SIZE];
    switch (kind) {
        case EV_ITEM: {
            if (ignore_events) return 0;
            char item[ITEM_SIZE];
            next_token(general, sizeof general, ' ');
            int client = diverse::read_int(general);
            next_token(item, sizeof item, '\n');
            results->add_item(client, item, read_time(time_token));
            break;
        }
        case EV_KILL: {
            if (ignore_events) return 0;
            next_token(general, sizeof general, ' ');
            int killer = diverse::read_int(general);
            next_token(general, sizeof general, ' ');
            int victim = diverse::read_int(general);
            next_token(general, sizeof general, ' ');
            int weapon = diverse::read_int(general);
            results->add_kill(killer, victim, weapon, read_time(time_token));
            break;
        }
        case EV_USERINFO:
            if (ignore_events) return 0;
            userinfo_changed(time_token);
            break;
        case EV_CONNECT:
            next_token(general, sizeof general, ' ');
            results->client_connect(diverse::read_int(general), read_time(time_token));
            break;
        case EV_DISCONNECT:
            next_token(general, sizeof general, ' ');
            if (results->client_disconnect(diverse::read_int(general), read_time(time_token)))
                ignore_events = true;
            break;
        case EV_SAY:
            say();
            break;
        case EV_SCORE: {
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
            init_game(read_time(time_token));
            break;
        case EV_WARMUP:
            results->end_game(read_time(time_token));
            ignore_events = true;
            break;
        case EV_GAME_START:
            ignore_events = false;
            break;
        case EV_GAME_END:
            ignore_events = true;
            break;
        case EV_EXIT:
            ignore_events = true;
            exit_seen = true;
            break;
        case EV_SHUTDOWN:
            results->end_game(read_time(time_token));
            return 1;
        case EV_NONE:
            break;
    }
    return 0;
}

void analyzelog::userinfo_changed(const char* time_token) {
    char general[GENERAL_SIZE];
    char name[NAME_SIZE] = "";
    char skill[SKILL_SIZE] = "";
    char team_text[TEAM_SIZE] = "";
    next_token(general, sizeof general, ' ');
    int client = diverse::read_int(general);
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
    if (results->client_userinfo(client, name, bot_skill, team, read_time(time_token)))
        ignore_events = true;
}

void analyzelog::say() {
    char speaker[SPEAKER_SIZE];
    char text[GENERAL_SIZE];
    next_token(speaker, sizeof speaker, ':');
    next_token(text, sizeof text, '\n');
    // The speaker is looked up only for a line that is written.
    if (!settings->chat_log || !chat || !chat->is_open()) return;
    int slot = results->find_player(speaker);
    bool spectator = slot >= 0 && results->players[slot].team == 3;
    chat->line(diverse::funname_to_html(speaker), diverse::funname_to_html(text),
               results->game_type == 1 && spectator);
}

void analyzelog::init_game(int time) {
    ignore_events = results->game_type == 1 && exit_seen;
    exit_seen = false;
    results->init_game(time);
    char key[INFO_KEY_SIZE];
    char value[INFO_VALUE_SIZE];
    do {
        next_token(key, sizeof key, '\\');
        next_token(value, sizeof value, '\\');
        if (strcmp(key, "mapname") == 0) {
            copy_field(results->map_name, sizeof results->map_name, value);
            for (char* c = results->map_name; *c; c++)
                if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c - 'A' + 'a');
        } else if (strcmp(key, "gamename") == 0) {
            copy_field(results->game_name, sizeof results->game_name, value);
        } else if (strcmp(key, "fraglimit") == 0) {
            results->fraglimit = diverse::read_int(value);
        } else if (strcmp(key, "timelimit") == 0) {
            results->timelimit = diverse::read_int(value);
        } else if (strcmp(key, "g_gametype") == 0) {
            results->set_game_type(diverse::read_int(value));
        }
    } while (value[0]);
}
