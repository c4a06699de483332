// The end-of-run pages of the results folder: the game index and the player
// ranking, written once per sort key (and again as the top-players set).
#include "app/vexo_main.h"
#include "html/html_writer.h"
#include "html/primitives.h"
#include "platform/platform.h"
#include "total/resultdata_total.h"

void vexo_main::write_game_index() {
    html_page out(page_folder::results);
    out.open("games.htm");
    html_page_head(out, settings);
    html_timestamp(out);
    html_homepage_line(out, settings);
    html_ranking_links(out, settings);
    if (settings.report_page)
        out.puts("<p class=\"title\"><a href=\"report.htm\"><font color=red>Run report</font></a></p>");
    const int n = settings.games_per_file;
    const int g = games_written;
    const int lists = g >= 1 ? (g - 1) / n + 1 : 0;
    for (int k = 1; k <= lists; k++) {
        int last = k * n < g ? k * n : g;
        html_paragraph(out, "<a href=\"vexo_games/games%i.htm\"><font color=\"#FFFFFF\"><b>Games %i - %i</b></font></a>",
                       k, (k - 1) * n + 1, last);
    }
    html_page_foot(out, false);
    out.close();
}

void vexo_main::write_rankings(resultdata_total* totals, int top) {
    static const struct {
        const char* file;
        int order;   // -1: the setting sort_order
    } files[8] = {
        {"players.htm", -1},          {"players_ratio.htm", SORT_RATIO}, {"players_name.htm", SORT_NAME},
        {"players_eff.htm", SORT_EFF}, {"players_skill.htm", SORT_SKILL}, {"players_frags.htm", SORT_FRAGS},
        {"players_kills.htm", SORT_KILLS}, {"players_playtime.htm", SORT_PLAYTIME},
    };
    const std::string prefix = top > 0 ? "top_" : "";
    for (const auto& f : files) {
        std::string name = prefix + f.file;
        html_page out(page_folder::results);
        out.open(name.c_str());
        printf("\nWriting player stats to \"%s\"", name.c_str());
        totals->sort_players(f.order < 0 ? settings.sort_order : f.order);
        html_writer writer(totals, &out, &settings, games_written);
        writer.ranking_page(top);
        out.close();
    }
}

void html_writer::ranking_page(int top) {
    html_page& o = *out;
    const settings_t& s = *settings;
    const char* prefix = top > 0 ? "top_" : "";
    const int key = totals->sort_key;
    html_page_head(o, s);
    html_timestamp(o);
    if (s.homepage_address[0])
        o.print("<p class=title><a href=\"%s\"><font color=red>%s</font></a>", s.homepage_address, s.homepage_string);
    if (top > 0)
        o.puts("<p class=title><a href=\"players.htm\"><font color=red>All players</font></a></p>");
    else if (s.top_players > 0)
        o.print("<p class=title><a href=\"top_players.htm\"><font color=red>Top %i players</font></a></p>", s.top_players);
    o.puts("<p class=title><a href=\"games.htm\"><font color=red>Game index</font></a></p>");
    if (top > 0)
        o.print("<p class=title>Top %i players<br>(sorted by %s)</p>", s.top_players, sort_order_name(key));
    else
        o.print("<p class=title>Player ranking<br>(sorted by %s)</p>", sort_order_name(key));
    const bool max_applies = s.max_players > 0 && key != SORT_NAME;
    if (s.filters_given) {
        html_p_open(o);
        o.puts("<b><font size=3>Limits used:</font></b>");
        if (s.min_kills != 0) o.print("<br>min_kills: %i", static_cast<int>(s.min_kills));
        if (s.min_games != 0) o.print("<br>min_games: %i", static_cast<int>(s.min_games));
        if (s.min_playtime != 0) o.print("<br>min_playtime: %s", format_hms(static_cast<int>(s.min_playtime)).c_str());
        if (max_applies) o.print("<br>max_players: %i", s.max_players);
        if (s.skip_bots) o.puts("<br>no_bots: true");
        html_p_close(o);
    }
    o.print("<p class=title>Number of games: %i</p>", games);

    html_table_open(o, "border=1 cellspacing=0 bordercolor=#000000 bgcolor=#606060");
    o.puts("<tr align=right bgcolor=#000080>\r\n");
    html_set_cell_attributes(o, "align=left width=20");
    html_head_cell_text(o, "#");
    html_set_cell_attributes(o, "align=left");
    html_head_cell(o, "<a href=\"players_name.htm\">Name</a>");
    if (!s.skip_bots) html_head_cell_text(o, "Bot");
    html_set_cell_attributes(o, "");
    html_head_cell(o, "<a href=\"%splayers_ratio.htm\">Ratio</a>", prefix);
    html_head_cell(o, "<a href=\"%splayers_eff.htm\">Eff</a>", prefix);
    html_head_cell(o, "<a href=\"%splayers_skill.htm\">Skill</a>", prefix);
    html_head_cell(o, "<a href=\"%splayers_frags.htm\">Frags</a>", prefix);
    html_head_cell(o, "<a href=\"%splayers_kills.htm\">Kills</a>", prefix);
    for (const char* head : {"Killed", "Suicides", "Deaths", "T.deaths", "FPM", "DPM"}) html_head_cell_text(o, head);
    html_head_cell(o, "<a href=\"%splayers_playtime.htm\">Playtime</a>", prefix);
    html_head_cell_text(o, "Games");
    html_head_cell_text(o, "Ping");
    o.puts("</tr>\r\n");

    int r = 1;
    for (player_total_t* p : totals->player_list()) {
        if (top > 0 && r > top) break;
        if (max_applies && r > s.max_players) break;
        if (player_excluded(s, *p)) continue;
        p->listed = true;
        o.puts(r % 2 == 1 ? "<tr align=right>\r\n" : "<tr align=right bgcolor=#808080>\r\n");
        html_set_cell_attributes(o, "align=left");
        html_cell_int(o, r);
        html_cell(o, "<b><a href=\"vexo_players/player_%i.htm\">%s</a></b>", p->id,
                  p->get_display_name(s.no_funnames));
        if (!s.skip_bots) html_bot_cell(o, *p);
        html_set_cell_attributes(o, "");
        html_cell_text(o, ratio_text(p->ratio()));
        html_cell_fixed(o, p->eff(), 1);
        html_cell_fixed(o, p->skill(), 2);
        html_count_cells(o, *p);
        html_rate_cells(o, *p);
        html_cell_text(o, format_hm(static_cast<int>(p->playtime)));
        html_cell_int(o, p->games);
        if (p->ping_count > 0) html_cell_int(o, static_cast<long long>(p->ping_sum / p->ping_count));
        else html_cell_text(o, "-");
        o.puts("</tr>\r\n");
        r++;
    }
    html_table_close(o);
    html_page_foot(o, true);
}
