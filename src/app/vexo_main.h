// vexo_main: the top-level object of a run. run() carries a run from the
// banner to the elapsed time; write_results() prepares the results folder,
// analyses every log file and writes the end-of-run pages.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "app/old_page_folders.h"
#include "app/outfile.h"
#include "app/page_staging.h"
#include "app/page_worker.h"
#include "app/settings.h"

class resultdata;
class resultdata_total;
class analyzelog;
class chat_log;

class vexo_main {
public:
    vexo_main();
    virtual ~vexo_main();

    settings_t settings;
    int games_written;
    outfile game_list;

    int run(int argc, const char* const* argv);
    void write_results(const char* log_file);
    // `last` tells the analysis of the run's last log file (it completes chat.htm).
    void analyze(const char* name, resultdata_total* totals, bool last = true);

    static void print_banner();
    [[noreturn]] static void usage();

    // Report (implemented with the pages).
    // Drops the bots (with /b) and inactive players of a game just read; a
    // game with two players left is numbered and listed (true).
    bool list_game(resultdata* game, analyzelog* parser);
    // The game's entry in its game list, its page and its data-file lines.
    void write_game_pages(resultdata* game, int game_number);
    bool write_game(resultdata* game, analyzelog* parser);   // both, in turn
    void open_game_list(int game_number);
    void close_game_list();
    void write_game_index();
    void write_rankings(resultdata_total* totals, int top);
    void write_player_pages(resultdata_total* totals);

private:
    void enter_results_folder();

    chat_log* chat;
    static constexpr int GAME_RECORDS = page_worker::CAPACITY + 2;
    std::unique_ptr<resultdata> records[GAME_RECORDS];   // read into in turn; see analyze
    old_page_folders old_pages;   // the page folders of the run before, deleted on the side
    page_staging staging;         // where the pages are written until they are published
    // Writes a game's pages while the next one is read; declared after the
    // records and the staging folder, so that it stops before they go.
    page_worker pages;
    std::string start_dir;
    std::string results_dir;   // absolute
    std::string pages_dir;     // absolute: the staging folder
    int results_lock = -1;     // held from entering the results folder to the end of the run
};
