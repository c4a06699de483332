// settings_t: defaults, the option table, applying the command line, and the
// banner, usage and "Current settings" texts.
#include "app/settings.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/warnings.h"
#include "parse/numbers.h"
#include "platform/platform.h"

const char* const VEXO_NAME = "VEXO - Vexotron";
const char* const VEXO_BUILD = "build 056";
const char* const VEXO_DATE = "2000-10-07";
const char* const VEXO_CREDIT = "by the VEXO project <vexo@example.org>";
const char* const VEXO_HOME_URL = "https://vexo.example.org/";
const char* const VEXO_CONTACT = "vexo@example.org";
const char* const VEXO_AUTHOR = "the VEXO project";

const option_row option_table[OPTION_ROWS] = {
    {"a", 0}, {"b", 1}, {"l", 2}, {"d", 3}, {"f", 4}, {"o", 5}, {"cfg:", 6},
    {"g:", 7}, {"min_kills:", 8}, {"min_games:", 9}, {"min_playtime:", 10},
    {"max_players:", 11}, {"top", 12}, {"r", 13}, {"q", 14}, {"w", 15},
};

void copy_field(char* dst, size_t size, const char* src) {
    size_t n = strlen(src);
    if (n > size - 1) n = size - 1;
    memcpy(dst, src, n);
    dst[n] = 0;
}

settings_t::settings_t()
    : min_kills(0), min_games(0), min_playtime(0), max_players(0), top_players(0),
      games_per_file(50), filters_given(false), skip_bots(false), no_funnames(false),
      data_file(false), open_results(false), stylesheet_file(false),
      chat_log(false), sort_order(SORT_RATIO), report_page(false), quiet(false),
      lock_wait(3600), web_pages(false), charset(0) {
    copy_field(log_charset, sizeof log_charset, "auto");
    log_file[0] = 0;
    output_directory[0] = 0;
    homepage_address[0] = 0;
    copy_field(homepage_string, sizeof homepage_string, "VEXO homepage");
    copy_field(font_size_title, sizeof font_size_title, "12");
    copy_field(font_size_text, sizeof font_size_text, "10");
    copy_field(cfg_file, sizeof cfg_file, "vexo.cfg");
}

settings_t::~settings_t() {}

int settings_t::find_option(const char* text) {
    if (!text || !*text) return -1;
    size_t len = strlen(text);
    for (int row = 0; row < OPTION_ROWS; row++) {
        size_t n = strlen(option_table[row].name);
        if (len >= n && strncasecmp(text, option_table[row].name, n) == 0) return row;
    }
    return -1;
}

// An argument that begins with "/" is a path when it holds a second "/" and the
// text before its last "/" names an existing folder ("/var/log/games.log").
static bool is_absolute_path(const char* arg) {
    if (arg[0] != '/' || !strchr(arg + 1, '/')) return false;
    const char* last = strrchr(arg, '/');
    std::string folder(arg, static_cast<size_t>(last - arg));
    if (folder.empty()) folder = "/";
    return platform::is_directory(folder);
}

static int sort_order_of_letter(char letter) {
    switch (letter) {
        case 'T': return SORT_TEAM;
        case 'R': return SORT_RATIO;
        case 'E': return SORT_EFF;
        case 'S': return SORT_SKILL;
        case 'K': return SORT_KILLS;
        case 'N': return SORT_NAME;
        case 'F': return SORT_FRAGS;
        case 'C': return SORT_SCORE;
        case 'P': return SORT_PLAYTIME;
        default: return -1;
    }
}

void settings_t::apply_command_line(int argc, const char* const* argv, bool report) {
    log_specs.clear();
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        char upper[256];
        copy_field(upper, sizeof upper, arg);
        for (char* c = upper; *c; c++)
            if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');

        if ((upper[0] != '-' && upper[0] != '/') || is_absolute_path(arg)) {
            copy_field(log_file, sizeof log_file, upper);
            log_specs.emplace_back(arg, strnlen(arg, 255));
            continue;
        }
        int row = find_option(upper + 1);
        if (row < 0) continue;
        const char* colon = strchr(upper, ':');
        int number = colon ? diverse::read_int(colon + 1) : 0;
        switch (option_table[row].id) {
            case 0: open_results = true; break;
            case 1: skip_bots = true; break;
            case 2: chat_log = true; break;
            case 3: data_file = true; break;
            case 4: no_funnames = true; break;
            case 5: {
                int order = sort_order_of_letter(upper[2]);
                if (order >= 0) sort_order = order;
                break;
            }
            case 6: {
                const char* typed_colon = strchr(arg, ':');
                copy_field(cfg_file, sizeof cfg_file, typed_colon ? typed_colon + 1 : "");
                break;
            }
            case 7:
                // The game lists hold games_per_file games each; below 1 has no meaning.
                if (number < 1) {
                    if (report) warn(WARN_GAMES_PER_FILE, "\nWARNING: games per file below 1 refused: %i", number);
                } else {
                    games_per_file = number;
                }
                break;
            case 8: min_kills = static_cast<uint32_t>(number); filters_given = true; break;
            case 9: min_games = static_cast<uint32_t>(number); filters_given = true; break;
            case 10: min_playtime = static_cast<uint32_t>(number); filters_given = true; break;
            case 11: max_players = number; filters_given = true; break;
            case 12: top_players = diverse::read_int(arg + 4); break;
            case 13: report_page = true; break;
            case 14: quiet = true; break;
            case 15: web_pages = true; break;
        }
    }
}

void settings_t::print_option_names(int id) {
    bool first = true;
    for (const option_row& row : option_table) {
        if (row.id != id) continue;
        printf(first ? "%s" : ",%s", row.name);
        first = false;
    }
}

void settings_t::print_usage() {
    static const struct {
        int id;
        const char* text;
    } entries[] = {
        {0, "\t\t  open results after analysis"},
        {1, "\t\t  don't include bots in results"},
        {2, "\t\t  write chat log"},
        {3, "\t\t  write data file (vexodata.txt)"},
        {4, "\t\t  don't use \"funnames\""},
        {5, "<x>\t\t  sortorder (<x> can be N,R,E,S,F,K,P,T - see readme)"},
        {6, "<filespec>\t  use custom CFG - no spaces in <filespec> allowed"},
        {8, "<x>\t  exclude players with less than <x> kills from player stats"},
        {9, "<x>\t  exclude players with less than <x> games from player stats"},
        {10, "<x> exclude players with less than <x> seconds playtime"},
        {11, "<x>  no more than <x> players in player stats"},
        {7, "<x>            no more than <x> games per html file (default: 50)"},
        {12, "<x>           write additional top <x> players file"},
        {13, "\t\t  write run report (report.htm)"},
        {14, "\t\t  quiet: print only warnings and errors (for cron)"},
        {15, "\t\t  write web pages (index.html, vexo_web/)"},
    };
    printf("\nUsage: vexo [OPTIONS] <logfile> [OPTIONS]\n");
    printf("\nOptions:\n");
    for (const auto& e : entries) {
        printf("\n/");
        print_option_names(e.id);
        printf("%s", e.text);
    }
}

void settings_t::print() const {
    static const char* const order_words[10] = {"by team", "by ratio", "by eff", "by skill",
                                                "by kills", "by killed", "by name", "by frags",
                                                "by score", "by playtime"};
    printf("\nCurrent settings:\n");
    printf("\tSkipping bots in log: %s\n", skip_bots ? "YES" : "NO");
    printf("\tWrite chat log: %s\n", chat_log ? "YES" : "NO");
    printf("\tFunnames: %s\n", no_funnames ? "NO" : "YES");
    printf("\tMax players: %i\n", max_players);
    printf("\tTop x players: %i\n", top_players);
    printf("\tMin kills: %i\n", static_cast<int>(min_kills));
    printf("\tMin games: %i\n", static_cast<int>(min_games));
    printf("\tMin playing time: %i\n", static_cast<int>(min_playtime));
    printf("\tWriting data file: %s\n", data_file ? "YES" : "NO");
    // Printed only with /r: without it the block stays as it always was.
    if (report_page) printf("\tWriting run report: YES\n");
    if (web_pages) printf("\tWriting web pages: YES\n");
    printf("\tSort order: %s\n", sort_order >= 0 && sort_order <= 9 ? order_words[sort_order] : "");
    printf("\n");
}
