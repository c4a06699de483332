// The landing page of the web page set, index.html in the results folder:
// totals of the run, the first players of each ranking, the latest games, the
// player search, and the way to the classic pages.
#include <cstring>

#include "app/settings.h"
#include "html/web/web_game_row.h"
#include "html/web/web_site.h"
#include "html/web/web_table.h"
#include "html/web/web_text.h"
#include "total/resultdata_total.h"

namespace {

constexpr size_t LATEST_GAMES = 10;

// The figure of a player by which a ranking orders, as the leaders show it.
std::string key_value(int order, const player_total_t& p) {
    switch (order) {
        case SORT_RATIO: return p.playtime > 0 ? web_fixed(p.ratio(), 2) : "-";
        case SORT_EFF: return web_fixed(p.eff(), 1) + " %";
        case SORT_SKILL: return web_fixed(p.skill(), 2);
        case SORT_KILLS: return std::to_string(p.total_kills());
        case SORT_KILLED: return std::to_string(p.total_killed());
        case SORT_FRAGS: return std::to_string(p.frags());
        case SORT_SCORE: return std::to_string(p.score());
        case SORT_PLAYTIME: return web_duration(p.playtime);
        default: return std::string();
    }
}

}  // namespace

void web_site::write_landing(resultdata_total& totals, const std::vector<player_total_t*>& ranked) {
    web_page page(0);
    page.begin("index.html", "Game server statistics", links, true);
    web_search_form(page);

    unsigned long long kills = 0, playtime = 0;
    for (const player_total_t* p : totals.player_list()) {
        kills += p->total_kills();
        playtime += p->playtime;
    }
    page.lit("<section>\n<h2>This run</h2>\n<dl class=\"summary\">\n");
    page.print("<dt>Games</dt><dd>%zu</dd>\n", games.size());
    page.print("<dt>Players</dt><dd>%i</dd>\n", totals.count_players());
    page.print("<dt>Ranked players</dt><dd>%zu</dd>\n", ranked.size());
    page.print("<dt>Kills</dt><dd>%llu</dd>\n", kills);
    page.print("<dt>Maps</dt><dd>%zu</dd>\n", maps.size());
    page.print("<dt>Play time</dt><dd>%s</dd>\n", web_duration(static_cast<long long>(playtime)).c_str());
    page.lit("</dl>\n</section>\n");

    page.lit("<section>\n<h2>Leaders</h2>\n");
    static const web_column leader_columns[] = {
        {"Ranking", nullptr, false, true}, {"First", nullptr}, {"Second", nullptr, true}, {"Third", nullptr, true},
    };
    web_table_open(page, "leaders", "The first three players of each ranking", false, leader_columns);
    for (const leader_row& l : leaders) {
        const std::vector<player_total_t*>& rows = l.players;
        web_row_open(page);
        web_row_head(page, "<a href=\"vexo_web/" + l.page + "\">By " + html_text(l.key) + "</a>");
        for (size_t i = 0; i < 3; i++) {
            if (i < rows.size()) {
                const player_total_t& p = *rows[i];
                const std::string value = key_value(l.order, p);
                web_cell(page, "<a href=\"vexo_web/" + text_of(p).page + "\">" + text_of(p).html + "</a>" +
                                   (value.empty() ? "" : " <small>" + value + "</small>"),
                         i > 0);
            } else {
                web_cell(page, "-", i > 0);
            }
        }
        web_row_close(page);
    }
    web_table_close(page);
    page.lit("<p><a href=\"vexo_web/ranking.html\">The whole ranking</a></p>\n</section>\n");

    page.lit("<section>\n<h2>Latest games</h2>\n");
    if (!games.empty()) {
        web_table_open(page, "latest", "The newest games", false, WEB_GAME_COLUMNS);
        for (size_t i = 0; i < games.size() && i < LATEST_GAMES; i++)
            web_game_row(page, games[games.size() - 1 - i], *this);
        web_table_close(page);
    }
    page.lit("<p><a href=\"vexo_web/games.html\">All games</a> &middot; <a href=\"vexo_web/maps.html\">Maps</a></p>\n"
             "</section>\n");

    page.lit("<section>\n<h2>Classic pages</h2>\n<ul>\n<li><a href=\"players.htm\">Player ranking</a></li>\n"
             "<li><a href=\"games.htm\">Game index</a></li>\n");
    if (links.top_players > 0)
        page.print("<li><a href=\"top_players.htm\">Top %i players</a> (<a href=\"top_players_name.htm\">by "
                   "name</a>)</li>\n",
                   links.top_players);
    if (links.chat) page.lit("<li><a href=\"chat.htm\">Chat log</a></li>\n");
    if (links.report) page.lit("<li><a href=\"report.htm\">Run report</a></li>\n");
    page.lit("</ul>\n</section>\n");
    page.end();
}
