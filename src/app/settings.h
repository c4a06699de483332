// settings_t: the one record of run settings (command-line options, the
// configuration file's values and the two flags the page writers switch),
// with the option table, the banner, the usage text and the settings block.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Sort orders of players (game pages, ranking pages, p2p lists).
enum sort_order_t {
    SORT_TEAM = 0, SORT_RATIO = 1, SORT_EFF = 2, SORT_SKILL = 3, SORT_KILLS = 4,
    SORT_KILLED = 5, SORT_NAME = 6, SORT_FRAGS = 7, SORT_SCORE = 8, SORT_PLAYTIME = 9
};

extern const char* const VEXO_NAME;     // "VEXO - Vexotron"
extern const char* const VEXO_BUILD;    // "build 056"
extern const char* const VEXO_DATE;     // "2000-10-07"
extern const char* const VEXO_CREDIT;   // banner credit line
extern const char* const VEXO_HOME_URL; // the program's own home page (page footer)
extern const char* const VEXO_CONTACT;  // contact address (page footer)
extern const char* const VEXO_AUTHOR;   // credited name (page footer)

struct option_row {
    const char* name;
    int id;
};
constexpr int OPTION_ROWS = 16;
extern const option_row option_table[OPTION_ROWS];

class settings_t {
public:
    settings_t();
    virtual ~settings_t();

    char log_file[256];
    char output_directory[256];
    char homepage_address[256];
    char homepage_string[256];
    char font_size_title[16];
    char font_size_text[16];
    char cfg_file[256];
    uint32_t min_kills;
    uint32_t min_games;
    uint32_t min_playtime;
    int32_t max_players;
    int32_t top_players;
    int32_t games_per_file;
    bool filters_given;
    bool skip_bots;
    bool no_funnames;
    bool data_file;
    bool open_results;
    bool stylesheet_file;
    bool chat_log;
    int32_t sort_order;
    bool report_page;       // write the run report "report.htm" (/r)
    bool quiet;             // print only warnings and fatal errors (/q)
    int32_t lock_wait;      // seconds to wait for another run's lock on the results folder
    bool web_pages;         // write the web page set: index.html and vexo_web/ (/w)
    // Configuration key log_charset: the code page of names and chat that
    // are not valid UTF-8 ("auto" by default), as given, and the web pages'
    // decoder of it (an index of log_charset, see html/web/charset.h).
    char log_charset[32];
    int32_t charset;

    // Every plain argument as typed (cut to 255 characters), in order: the
    // log specifications of the run. `log_file` keeps the last one upper-cased.
    std::vector<std::string> log_specs;

    // Applies every argument after the program name. `report` is true on the
    // first pass only: warnings about refused values are printed once per run.
    void apply_command_line(int argc, const char* const* argv, bool report = false);
    static int find_option(const char* text);
    static void print_option_names(int id);
    static void print_usage();
    void print() const;
};

// Copies `src` into a field of `size` bytes (terminator included), cutting it.
void copy_field(char* dst, size_t size, const char* src);
