// vexo_main: a run from the banner to the elapsed time. Prepares the results
// folder, analyses the log files game by game (each game written and merged
// as soon as it is read) and writes the end-of-run pages.
#include "app/vexo_main.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

#include "app/config_file.h"
#include "app/fatal.h"
#include "app/warnings.h"
#include "game/resultdata.h"
#include "html/web/charset.h"
#include "html/web/web_site.h"
#include "parse/analyzelog.h"
#include "parse/chat_log.h"
#include "parse/log_reader.h"
#include "platform/input_file.h"
#include "platform/platform.h"
#include "total/resultdata_total.h"

vexo_main::vexo_main() : games_written(0), chat(new chat_log()) {}

vexo_main::~vexo_main() {
    if (game_list.is_open()) game_list.close();
    delete chat;
    platform::unlock_folder(results_lock);
}

void vexo_main::print_banner() {
    printf("\n%s %s, %s\n%s\n", VEXO_NAME, VEXO_BUILD, VEXO_DATE, VEXO_CREDIT);
}

static void print_usage_and_note() {
    vexo_main::print_banner();
    settings_t::print_usage();
    printf("\n\nOptions can be specified in upper or lower case with the prefix '/' or '-'");
}

void vexo_main::usage() {
    print_usage_and_note();
    printf("\n");
    fflush(stdout);
    exit(1);
}

static bool is_help(const char* arg) {
    return strcasecmp(arg, "-h") == 0 || strcasecmp(arg, "--help") == 0 || strcmp(arg, "-?") == 0 ||
           strcmp(arg, "/?") == 0;
}

int vexo_main::run(int argc, const char* const* argv) {
    if (argc < 2) usage();
    for (int i = 1; i < argc; i++) {
        // Help and version end here: the same text as the usage, or the
        // banner alone, without the closing line of a run.
        if (is_help(argv[i])) {
            print_usage_and_note();
            printf("\n");
            fflush(stdout);
            exit(0);
        }
        if (strcasecmp(argv[i], "--version") == 0) {
            print_banner();
            fflush(stdout);
            exit(0);
        }
    }
    // /q is known before the banner, which it leaves out.
    settings.apply_command_line(argc, argv);
    if (settings.quiet) make_console_quiet();
    print_banner();
    const int64_t start = platform::clock_ms();
    settings.apply_command_line(argc, argv, true);
    printf("\nReading CFG: %s", settings.cfg_file);
    analyzedemo config(&settings);
    config.parse(settings.cfg_file);
    printf("\n");
    settings.apply_command_line(argc, argv, false);
    log_charset charset = log_charset::automatic;
    if (!charset_by_name(settings.log_charset, charset))
        warn(WARN_LOG_CHARSET, "\nWARNING: log_charset \"%s\" unknown, auto used", settings.log_charset);
    settings.charset = static_cast<int32_t>(charset);
    settings.print();
    write_results(settings.log_file);
    printf("\n%.2f seconds elapsed", static_cast<double>(platform::clock_ms() - start) * 0.001);
    if (settings.open_results)
        platform::open_in_viewer(results_dir, settings.web_pages ? "index.html" : "players.htm");
    return 0;
}

namespace {

struct log_file {
    std::string path;   // to open, relative to the starting directory
    bool regular;       // a regular file, or a link to one: anything else is not read
};

struct log_group {
    std::string spec;                  // as typed
    std::vector<log_file> files;
    bool matched = false;              // a file matched (perhaps one analysed already)
    bool folder = false;               // no file matched, and the argument names a folder
};

// Resolves every log specification before the first file is analysed: the
// folder part is used as typed, the file-name part is matched without regard
// to case, matches come in byte order, and a file named twice counts once.
std::vector<log_group> resolve_log_specs(const std::vector<std::string>& specs) {
    std::vector<log_group> groups;
    std::set<std::pair<uint64_t, uint64_t>> seen;
    for (const std::string& spec : specs) {
        log_group group{spec, {}, false, false};
        size_t slash = spec.rfind('/');
        std::string folder = slash == std::string::npos ? "" : spec.substr(0, slash);
        std::string pattern = slash == std::string::npos ? spec : spec.substr(slash + 1);
        std::string prefix = slash == std::string::npos ? "" : spec.substr(0, slash + 1);
        if (!pattern.empty()) {
            for (const platform::dir_entry& e : platform::find_entries(folder.empty() && slash != std::string::npos ? "/" : folder,
                                                                        pattern, true)) {
                if (e.is_dir || e.name[0] == '.') continue;
                std::string path = prefix + e.name;
                group.matched = true;
                uint64_t device = 0, inode = 0;
                if (platform::file_identity(path, device, inode) && !seen.insert({device, inode}).second)
                    continue;   // named by an earlier specification: analysed there
                group.files.push_back({path, platform::is_regular_file(path)});
            }
        }
        group.folder = !group.matched && platform::is_directory(spec);
        groups.push_back(std::move(group));
    }
    return groups;
}

void print_unmatched(const log_group& g) {
    if (g.folder) warn(WARN_FOLDER_NOT_LOG, "\nWARNING: %s is a folder, not a log file", g.spec.c_str());
    else if (!g.matched) warn(WARN_NO_LOG_MATCH, "\nWARNING: no log file matches %s", g.spec.c_str());
}

void warn_not_regular(const char* name) {
    warn(WARN_NOT_REGULAR, "\nWARNING: %s is not a regular file", name);
}

}  // namespace

// Creates the results folder when it is missing, enters it and locks it for
// the rest of the run. A folder this run created is removed again when the
// run ends on an error, so nothing is left in the starting folder.
void vexo_main::enter_results_folder() {
    const std::string out_dir = settings.output_directory;
    bool waited = false;
    int created_action = -1;
    do {
        if (!out_dir.empty() && platform::make_dir(out_dir) && created_action < 0) {
            const std::string created = out_dir[0] == '/' ? out_dir : start_dir + "/" + out_dir;
            created_action = add_fatal_action([created](std::string&) { platform::remove_dir(created); });
        }
        results_lock = platform::lock_folder(out_dir.empty() ? "." : out_dir, [&waited] {
            if (!waited) printf("\nWaiting for another run in this results folder");
            waited = true;
            fflush(stdout);
        }, settings.lock_wait);
    } while (results_lock == platform::LOCK_FOLDER_GONE);
    if (results_lock == platform::LOCK_FOLDER_BUSY)
        fatal_error("Another run has held this results folder for %i seconds", settings.lock_wait);
    if (results_lock >= 0) results_dir = platform::current_dir();
    if (results_lock < 0 || results_dir.empty())
        fatal_error("Couldn't enter results folder %s", settings.output_directory);
    old_pages.set_folder(results_lock);
    if (!staging.open(results_lock)) fatal_error("Couldn't enter results folder %s", settings.output_directory);
}

void vexo_main::write_results(const char* /*log_file*/) {
    std::unique_ptr<resultdata_total> totals(new resultdata_total());
    start_dir = platform::current_dir();
    const std::string out_dir = settings.output_directory;

    std::string stylesheet;
    if (!out_dir.empty() && out_dir != ".") {
        printf("Reading vexo.css\n");
        // Read only when it is a regular file: a FIFO there must not hang the run.
        if (FILE* css = platform::open_input("vexo.css").stream) {
            char buffer[65536];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, css)) > 0) stylesheet.append(buffer, n);
            fclose(css);
            settings.stylesheet_file = true;
        }
    }
    // From here on every file of the run is written in the staging folder.
    enter_results_folder();
    if (settings.data_file) {
        for (const char* name : {"vexodata.txt", "vexoweapons.txt"}) {
            outfile data;
            data.open(name);
            data.close();
        }
    }
    const bool css_published = platform::file_exists(results_dir + "/vexo.css");
    if (settings.stylesheet_file) {
        if (css_published) {
            printf("\nUsing existing stylesheet file vexo.css");
        } else if (outfile css; css.try_open("vexo.css")) {
            printf("\nCopied stylesheet file vexo.css to results folder");
            css.puts(stylesheet);
            css.close();
        } else {
            print_message("\nCouldn't write vexo.css, using default stylesheets");
            settings.stylesheet_file = false;
        }
    } else if (css_published) {
        printf("\nUsing existing stylesheet file vexo.css");
        settings.stylesheet_file = true;
    } else {
        printf("\nNo vexo.css found, using default stylesheets");
    }
    printf("\n");
    stylesheet.clear();
    if (settings.web_pages) {
        web_links links;
        links.chat = settings.chat_log;
        links.report = settings.report_page;
        links.top_players = settings.top_players;
        web.reset(new web_site(settings, links));
        web->open();
        staging.replace_folder("vexo_web");
    }
    platform::change_dir(start_dir);

    std::vector<log_group> groups = resolve_log_specs(settings.log_specs);
    const log_file* last_file = nullptr;
    for (const log_group& g : groups)
        for (const log_file& f : g.files)
            if (f.regular) last_file = &f;
    // A typing error in a command line must not replace the pages with empty ones.
    if (!last_file) {
        for (const log_group& g : groups) {
            print_unmatched(g);
            for (const log_file& f : g.files) warn_not_regular(f.path.c_str());
        }
        fatal_error("No log file to analyse");
    }
    old_pages.start(staging.folder_name());
    for (const log_group& g : groups) {
        print_unmatched(g);
        for (const log_file& f : g.files) {
            if (f.regular) analyze(f.path.c_str(), totals.get(), &f == last_file);
            else warn_not_regular(f.path.c_str());
            platform::change_dir(start_dir);
        }
    }
    // Every file was swapped for something else after the names were resolved.
    if (report.files.empty()) fatal_error("No log file to analyse");
    if (chat->is_open()) chat->finish();
    printf("\n");
    if (game_list.is_open()) close_game_list();
    staging.enter();
    write_game_index();
    if (settings.report_page) write_report(totals.get());
    write_rankings(totals.get(), 0);
    if (settings.top_players > 0) write_rankings(totals.get(), settings.top_players);
    const bool in_players_folder = staging.make_folder("vexo_players");
    printf("\nWriting per player stats        ");
    if (in_players_folder) write_player_pages(totals.get());
    else fatal_error("Couldn't open %s", "vexo_players");
    printf("\n");
    if (web) {
        staging.enter();
        printf("\nWriting web pages to index.html and vexo_web/\n");
        platform::flush_console();
        web->finish(*totals);
        web.reset();
    }
    platform::change_dir(results_dir);
    old_pages.finish();
    // The folders replaced now are moved aside; the next run deletes them.
    staging.publish(old_pages);
    platform::change_dir(start_dir);
    platform::unlock_folder(results_lock);
    results_lock = -1;
}

bool vexo_main::list_game(resultdata* game, analyzelog* parser) {
    last_drop = DROP_NONE;
    if (game->too_many_clients) {
        last_drop = DROP_TOO_MANY_CLIENTS;
        return false;
    }
    if (settings.skip_bots) {
        const int before = game->player_count;
        game->remove_bots();
        if (before >= 2 && game->player_count < 2) last_drop = DROP_BOTS_LEFT_OUT;
    }
    game->remove_inactive();
    if (game->player_count < 2) {
        if (last_drop == DROP_NONE) last_drop = DROP_FEW_PLAYERS;
        return false;
    }

    const int g = ++games_written;
    if (settings.chat_log && parser && parser->chat && parser->chat->is_open()) parser->chat->heading(g + 1);
    if (web) web->chat_game_listed(g);
    // The players of a team game are shown, and merged into the totals, by
    // team and score.
    if (game->team_game) game->sort_by_team();
    return true;
}

bool vexo_main::write_game(resultdata* game, analyzelog* parser) {
    if (!list_game(game, parser)) return false;
    write_game_pages(game, games_written);
    return true;
}

void vexo_main::analyze(const char* name, resultdata_total* totals, bool last) {
    // Never blocks, whatever the name stands for by now.
    const platform::input_file input = platform::open_input(name);
    if (!input.regular) {
        warn_not_regular(name);
        return;
    }
    FILE* file = input.stream;
    if (!file) fatal_error("vexo_main::analyze - can't open %s", name);
    // The log is read up to the size it has now; what is written to it
    // while it is read is for the next run.
    const long long size = input.size;
    const std::string parsing = "\nParsing " + std::string(name) + " [" + std::to_string(size) + " byte]";
    fputs(parsing.c_str(), stdout);
    set_message_heading(parsing);
    staging.enter();
    printf("\n- Writing game stats        ");
    platform::flush_console();

    // A ring of game records: the next game is read into one while the pages
    // of the games before are written from the others. A record is read into
    // again only once the task that writes its pages is done; with more
    // records than the page thread queues, the run seldom waits for that.
    // The records live for the whole run: a 16 MiB kill matrix allocated
    // again for every log file would be cleared again as well.
    page_worker::task_number pages_of[GAME_RECORDS] = {};   // the task writing each record's pages
    int current = 0;
    long long shown_percent = -1;
    if (!records[0]) records[0].reset(new resultdata(&settings));
    records[0]->renew();
    resultdata* game = records[0].get();
    log_reader reader(file, size);
    if (settings.chat_log && !chat->is_open()) chat->open();
    report.files.emplace_back();
    file_report& file_counts = report.files.back();
    file_counts.name = name;
    file_counts.size = size;
    {
        analyzelog parser(&reader, game, &settings, chat);
        if (web && settings.chat_log)
            parser.web_chat = [this](const char* speaker, const char* text, bool spectator) {
                web->chat_line(speaker, text, spectator);
            };
        for (;;) {
            game->reset();
            const uint64_t kill_lines_before = parser.counts.kills[KILL_COUNTED];
            if (!parser.parse()) break;
            file_counts.kills_without_weapon_slot += game->kills_without_weapon_slot();
            game->sort_players(settings.sort_order, false);
            long long percent = size > 0 ? reader.position() * 100 / size : 100;
            printf("\b\b\b\b\b\b\b(%3i %%)", static_cast<int>(percent));
            // The same bytes either way; the console is only pushed when
            // the figure it shows changes.
            if (percent != shown_percent) platform::flush_console();
            shown_percent = percent;
            if (!list_game(game, &parser)) {
                file_counts.add_game({0, last_drop});
                continue;
            }
            file_counts.add_game({games_written, DROP_NONE});
            file_counts.listed++;
            file_counts.kill_lines_listed += parser.counts.kills[KILL_COUNTED] - kill_lines_before;
            for (int i = 0; i < game->player_count; i++) report.kills_listed += game->players[i].kills[0];
            totals->add_game(*game);
            std::shared_ptr<web_game_task> web_page = web ? web->note_game(*game, games_written, *totals) : nullptr;
            const int following = (current + 1) % GAME_RECORDS;
            pages.wait_for(pages_of[following]);
            if (!records[following]) records[following].reset(new resultdata(&settings));
            resultdata* next = records[following].get();
            next->carry_over(*game);
            const int g = games_written;
            pages_of[current] = pages.run([this, game, g, web_page] {
                write_game_pages(game, g);
                if (web_page) web->write_game_page(*game, *web_page);
            });
            current = following;
            game = next;
            parser.results = game;
        }
        pages.wait();
        printf("\b\b\b\b\b\b\b(100 %%)");
        file_counts.counts = parser.counts;
        if (file_counts.listed == 0) {
            const uint64_t kill_lines = parser.counts.events[EV_KILL];
            warn(WARN_NO_GAME_LISTED, "\nWARNING: no game listed from %s (%i kill lines read)", name,
                 kill_lines > INT32_MAX ? INT32_MAX : static_cast<int>(kill_lines));
        }
        if (settings.data_file) printf("\nWriting vexodata.txt");
        const long long now = platform::current_size(file);
        if (now > size) file_counts.bytes_left = now - size;
        fclose(file);
    }
    set_message_heading("");
    if (last && chat->is_open()) chat->finish();
}
