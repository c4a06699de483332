// The per-player pages: overall figures, kills and deaths by weapon with their
// shares, and the player-versus-player table, for every listed player.
#include "app/vexo_main.h"
#include "html/html_writer.h"
#include "html/primitives.h"
#include "platform/platform.h"
#include "total/resultdata_total.h"

void vexo_main::write_player_pages(resultdata_total* totals) {
    const int n = totals->count_players();
    long long c = 0;
    for (player_total_t* p : totals->player_list()) {
        c += 100;
        if (!p->listed) continue;
        printf("\b\b\b\b\b\b\b(%3i %%)", static_cast<int>(c / n));
        platform::flush_console();
        char name[64];
        snprintf(name, sizeof name, "player_%i.htm", p->id);
        html_page out(page_folder::subfolder);
        out.open((std::string("vexo_players/") + name).c_str(), name);
        html_page_head(out, settings);
        out.puts("<p class=\"title\"><a href=\"../players.htm\"><font color=red>All players</font></a></p>");
        if (settings.top_players > 0)
            out.print("<p class=\"title\"><a href=\"../top_players.htm\"><font color=red>Top %i players</font></a></p>",
                      settings.top_players);
        out.print("<p class=\"title\"><span style=\"background-color: #808080\">%s</span></p>",
                  p->get_display_name(settings.no_funnames));
        html_writer writer(totals, &out, &settings, 0);
        writer.player_info(*p);
        writer.weapon_stats(*p);
        writer.player_vs_player(*p);
        html_page_foot(out, false);
        out.close();
    }
    printf("\b\b\b\b\b\b\b(100 %%)");
}

void html_writer::player_info(const player_total_t& p) {
    html_page& o = *out;
    html_paragraph(o, "<b>Player info</b>");
    html_table_open(o, "border=1 cellspacing=0 bordercolor=#000000");
    o.puts("<tr>\r\n");
    html_set_cell_attributes(o, "bgcolor=#000080");
    for (const char* head : {"Frags", "Kills", "Killed", "Suicides", "Deaths", "T.deaths", "Eff"})
        html_head_cell_text(o, head);
    o.puts("</tr>\r\n");
    o.puts("<tr align=\"right\">\r\n");
    html_set_cell_attributes(o, "bgcolor=#606060");
    html_count_cells(o, p);
    html_cell_fixed(o, p.eff(), 2);
    o.puts("</tr>\r\n");
    html_table_close(o);
}

// Share of a count in its total, rounded half up; 0 when the total is 0.
static int share(uint32_t part, uint32_t total) {
    return total > 0 ? static_cast<int>(part * 100.0 / total + 0.5) : 0;
}

void html_writer::weapon_stats(const player_total_t& p) {
    html_page& o = *out;
    html_paragraph(o, "<b>Weapon stats</b>");
    html_set_cell_attributes(o, "bgcolor=#000080");
    html_table_open(o, "border=1 cellspacing=0 bgcolor=#606060 bordercolor=#000000");
    o.puts("<tr bgcolor=000080>\r\n");
    html_head_cell_text(o, "Weapon");
    html_set_cell_attributes(o, "colspan=2 align=center bgcolor=#000080");
    html_head_cell_text(o, "Kills");
    html_head_cell_text(o, "Deaths");
    html_set_cell_attributes(o, "");
    o.puts("</tr>\r\n");
    for (int w : p.weapons_used()) {
        const uint32_t kills = p.get_kills(w), killed = p.get_killed(w);
        if (kills == 0 && killed == 0) continue;
        o.puts("<tr>\r\n");
        html_set_cell_attributes(o, "width=120 align=left");
        html_head_cell_text(o, weapon_name(w));
        html_set_cell_attributes(o, "width=60 align=right");
        html_cell_int(o, kills);
        html_cell(o, "%i %%", share(kills, p.total_kills()));
        html_cell_int(o, killed);
        html_cell(o, "%i %%", share(killed, p.total_killed()));
        o.puts("</tr>\r\n");
    }
    o.puts("<tr>\r\n");
    html_set_cell_attributes(o, "width=120 align=left");
    html_head_cell_text(o, "TOTAL");
    html_set_cell_attributes(o, "width=60 align=right");
    html_head_cell(o, "%u", p.total_kills());
    html_head_cell_text(o, "100 %");
    html_head_cell(o, "%u", p.total_killed());
    html_head_cell_text(o, "100 %");
    o.puts("</tr>\r\n");
    html_table_close(o);
}

void html_writer::player_vs_player(player_total_t& p) {
    html_page& o = *out;
    totals->sort_p2ps(&p, SORT_KILLS);
    html_paragraph(o, "<b>Player vs player stats</b>");
    html_set_cell_attributes(o, "bgcolor=#000080");
    html_table_open(o, "border=1 cellspacing=0 bgcolor=#606060 bordercolor=#000000");
    o.puts("<tr bgcolor=000080>\r\n");
    for (const char* head : {"Enemy", "Kills", "Deaths", "Enemy Eff"}) html_head_cell_text(o, head);
    html_set_cell_attributes(o, "");
    o.puts("</tr>\r\n");
    unsigned long long sum_kills = 0, sum_killed = 0;
    for (const p2p_t& q : totals->p2p_list(&p)) {
        if (q.total_kills() == 0 && q.total_killed() == 0) continue;
        const player_total_t* opponent = q.opponent();
        if (player_excluded(*settings, *opponent)) {
            sum_kills += q.total_kills();
            sum_killed += q.total_killed();
            continue;
        }
        o.puts("<tr>\r\n");
        html_set_cell_attributes(o, "align=left");
        html_head_cell(o, "<a href=\"player_%i.htm\">%s</a>", opponent->id,
                       opponent->get_display_name(settings->no_funnames));
        html_set_cell_attributes(o, "align=right");
        html_cell_int(o, q.total_kills());
        html_cell_int(o, q.total_killed());
        html_cell_fixed(o, opponent->eff(), 2);
        o.puts("</tr>\r\n");
    }
    if (sum_kills > 0 || sum_killed > 0) {
        o.puts("<tr>\r\n");
        html_set_cell_attributes(o, "align=left");
        html_head_cell_text(o, "UNLISTED");
        html_set_cell_attributes(o, "align=right");
        html_cell(o, "%llu", sum_kills);
        html_cell(o, "%llu", sum_killed);
        html_head_cell_text(o, "-");
        o.puts("</tr>\r\n");
    }
    o.puts("<tr>\r\n");
    html_set_cell_attributes(o, "align=left");
    html_head_cell_text(o, "TOTAL");
    html_set_cell_attributes(o, "align=right");
    html_head_cell(o, "%u", p.total_kills());
    html_head_cell(o, "%u", p.total_killed());
    html_head_cell_text(o, "-");
    o.puts("</tr>\r\n");
    html_table_close(o);
}
