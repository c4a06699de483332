// The game writer: a listed game's entry in the current game-list file, its
// own page and its data-file block.
#include "app/vexo_main.h"
#include "app/fatal.h"
#include "game/resultdata.h"
#include "html/html_writer.h"
#include "html/primitives.h"
#include "platform/platform.h"

// The game pages and lists are opened as "vexo_games/<name>" of the staging
// folder (by its handle, see page_staging::create_file) and named "<name>" in
// messages.
static std::string in_games_folder(const char* file) { return std::string("vexo_games/") + file; }

static void top_players_line(outfile& out, const settings_t& settings) {
    if (settings.top_players > 0)
        out.print("<p class=\"title\"><a href=\"../top_players.htm\"><font color=red>Top %i players</font></a></p>",
                  settings.top_players);
}

void vexo_main::open_game_list(int game_number) {
    const int list = (game_number - 1) / settings.games_per_file + 1;
    char name[64];
    snprintf(name, sizeof name, "games%i.htm", list);
    // Pages of this folder must never land elsewhere.
    if (!staging.make_folder("vexo_games")) fatal_error("Couldn't open vexo_games/%s", name);
    game_list.open(in_games_folder(name).c_str(), name);
    html_page_head(game_list, settings);
    html_timestamp(game_list);
    html_homepage_line(game_list, settings);
    game_list.puts("<p class=\"title\"><a href=\"../players.htm\"><font color=red>All players</font></a></p>");
    top_players_line(game_list, settings);
    game_list.puts("<p class=\"title\"><a href=\"../games.htm\"><font color=red>Game Index</font></a></p>");
    html_paragraph(game_list, "<b>Games with less than two players are not listed\r\n</b>");
    html_paragraph(game_list, "<b>Players without kills or deaths are ignored</b>");
    html_paragraph(game_list, "<b>Players are sorted by %s</b><br>(in team games by team and score)",
                   sort_order_name(settings.sort_order));
}

void vexo_main::close_game_list() {
    html_page_foot(game_list, true);
    game_list.close();
}

void vexo_main::write_game_pages(resultdata* game, int g) {
    const int per_file = settings.games_per_file;
    if ((g - 1) % per_file == 0) open_game_list(g);

    const std::string map = html_escape(game->map_name);
    html_writer entry(game, &game_list, &settings);
    html_p_open(game_list);
    game_list.print("<b><font size=\"3\"><a href=\"game_%i.htm\"><font color=\"#FF0000\">Game %i</font></a><br>(%s - %s)</font></b>",
                    g, g, map.c_str(), game->game_type_name);
    html_p_close(game_list);
    entry.teams_table();
    entry.players_table(false);

    char name[64];
    snprintf(name, sizeof name, "game_%i.htm", g);
    html_page page(page_folder::subfolder);
    page.open(in_games_folder(name).c_str(), name);
    html_page_head(page, settings);
    html_writer writer(game, &page, &settings);
    html_timestamp(page);
    html_homepage_line(page, settings);
    page.puts("<p class=\"title\"><a href=\"../players.htm\"><font color=red>All players</font></a></p>");
    top_players_line(page, settings);
    page.puts("<p class=\"title\"><a href=\"../games.htm\"><font color=red>Game index</font></a></p>");
    page.print("<p class=\"title\"><a href=\"games%i.htm\"><font color=red>Game list</font></a></p>",
               (g - 1) / per_file + 1);
    page.print("<p class=\"title\">Game %i</p>", g);

    writer.game_info();
    writer.teams_table();
    writer.players_table(true);
    if (game->game_dialect->base_items) {
        writer.health_armor_pickups();
        writer.powerup_pickups();
        writer.weapon_pickups();
        writer.ammo_pickups();
    }
    html_paragraph(page, "<b>Killcharts</b>");
    for (int slot : game->weapon_slots_in_order()) writer.killchart(slot);
    if (settings.data_file) writer.write_data_file(g);
    html_page_foot(page, true);
    page.close();

    if (g % per_file == 0) close_game_list();
}
