// vexo_main: the top-level object of a run. run() carries a run from the
// banner to the elapsed time; write_results() prepares the results folder,
// analyses every log file and writes the end-of-run pages.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "app/old_page_folders.h"
#include "app/page_staging.h"
#include "app/page_worker.h"
#include "app/run_report.h"
#include "app/settings.h"
#include "html/html_page.h"

class resultdata;
class resultdata_total;
class analyzelog;
class chat_log;
class web_site;

class vexo_main {
public:
    vexo_main();
    virtual ~vexo_main();

    settings_t settings;
    int games_written;
    html_page game_list{page_folder::subfolder};   // the open list of vexo_games

    int run(int argc, const char* const* argv);
    void write_results(const char* log_file);
    // `last` tells the analysis of the run's last log file (it completes chat.htm).
    void analyze(const char* name, resultdata_total* totals, bool last = true);

    static void print_banner();
    [[noreturn]] static void usage();

    // Drops the bots (with /b) and inactive players of a game just read; a
    // game with two players left is numbered and listed (true). Otherwise
    // last_drop tells why it is not.
    bool list_game(resultdata* game, analyzelog* parser);
    bool write_game(resultdata* game, analyzelog* parser);   // list_game, then its pages
    drop_reason last_drop = DROP_NONE;

    // Report (implemented with the pages, src/html).
    // The game's entry in its game list, its page and its data-file lines.
    void write_game_pages(resultdata* game, int game_number);
    void open_game_list(int game_number);
    void close_game_list();
    void write_game_index();
    // The run report "report.htm" (/r), from `report` and the totals.
    void write_report(resultdata_total* totals);
    void write_rankings(resultdata_total* totals, int top);
    void write_player_pages(resultdata_total* totals);

private:
    run_report report;   // gathered whatever the options; written with /r
    void enter_results_folder();

    chat_log* chat;
    std::unique_ptr<web_site> web;   // the web pages (/w), else none
    // Enough records that the page thread's queue fills before the run
    // comes back to a record whose pages are not yet written; see analyze.
    static constexpr int GAME_RECORDS = page_worker::CAPACITY + 2;
    std::unique_ptr<resultdata> records[GAME_RECORDS];   // read into in turn
    old_page_folders old_pages;   // the page folders of the run before, deleted on the side
    page_staging staging;         // where the pages are written until they are published
    // Writes a game's pages while the next one is read; declared after the
    // records and the staging folder, so that it stops before they go.
    page_worker pages;
    std::string start_dir;
    std::string results_dir;   // absolute
    int results_lock = -1;     // held from entering the results folder to the end of the run
};
