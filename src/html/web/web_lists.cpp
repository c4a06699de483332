// The lists of the web page set: the game lists (newest first, paged), the
// map list and a page per map, and the landing page index.html.
#include <algorithm>
#include <cstring>
#include <set>

#include "app/settings.h"
#include "html/primitives.h"
#include "html/web/web_address.h"
#include "html/web/web_site.h"
#include "html/web/web_table.h"
#include "html/web/web_text.h"
#include "total/resultdata_total.h"

namespace {

constexpr size_t GAMES_PER_PAGE = 100;
constexpr size_t MAP_GAMES_SHOWN = 100;
constexpr size_t MAP_PLAYERS_SHOWN = 20;
constexpr size_t LATEST_GAMES = 10;

std::string list_file(size_t page) {
    return page <= 1 ? std::string("games.html") : "games_" + std::to_string(page) + ".html";
}

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

std::string result_of(const web_game& g) {
    if (g.team_game) return "Red " + std::to_string(g.red) + " : " + std::to_string(g.blue) + " Blue";
    return std::to_string(g.leader_frags) + (g.leader_frags == 1 ? " frag" : " frags");
}

const web_column GAME_COLUMNS[] = {
    {"Game", "num", false, true}, {"Date", "text", true}, {"Map", "text"},   {"Type", "text"},
    {"Players", "num", true},     {"Result", "text"},     {"Best player", "text"},
};

// One row of a game table; `site` leads from the page into vexo_web/.
void game_row(web_page& page, const web_game& g, const web_site& site) {
    const std::string s = page.site();
    web_row_open(page, "data-map=\"" + html_text(g.map->name) + "\" data-type=\"" + html_text(*g.type) + "\"");
    web_row_head(page, "<a href=\"" + s + game_address(g.number) + "\">Game " +
                           std::to_string(g.number) + "</a>",
                 std::to_string(g.number));
    web_cell(page, g.date[0] ? html_text(g.date) : std::string("-"), true);
    web_cell(page, "<a href=\"" + s + g.map->page + "\">" + html_text(g.map->name) + "</a>");
    web_cell(page, html_text(*g.type));
    web_cell_int(page, g.players, true);
    web_cell(page, result_of(g));
    web_cell(page, site.shown_by_id(g.leader, page.site()));
    web_row_close(page);
}

void filter_select(web_page& page, const char* table, const char* key, const char* all,
                   const std::set<std::string>& values) {
    page.print("<select class=\"filter-select\" data-table=\"%s\" data-key=\"%s\" aria-label=\"%s\">\n", table, key,
               all);
    page.print("<option value=\"\">%s</option>\n", all);
    for (const std::string& v : values) {
        const std::string h = html_text(v);
        page.print("<option value=\"%s\">%s</option>\n", h.c_str(), h.c_str());
    }
    page.lit("</select>\n");
}

}  // namespace

void web_site::write_game_lists() const {
    std::set<std::string> map_names;
    for (const auto& m : maps) map_names.insert(m.second.name);
    const size_t pages = games.empty() ? 1 : (games.size() + GAMES_PER_PAGE - 1) / GAMES_PER_PAGE;
    for (size_t k = 1; k <= pages; k++) {
        web_page page(1);
        page.begin("vexo_web/" + list_file(k), k == 1 ? "Games" : "Games, page " + std::to_string(k), links, false);
        const size_t from = (k - 1) * GAMES_PER_PAGE;
        const size_t to = std::min(games.size(), from + GAMES_PER_PAGE);
        page.print("<p>%zu games, newest first; this page shows %zu to %zu of them.</p>\n", games.size(),
                   games.empty() ? 0 : from + 1, to);
        if (games.empty()) {
            page.end();
            continue;
        }
        page.lit("<div class=\"filters\">\n");
        filter_select(page, "games", "map", "All maps", map_names);
        filter_select(page, "games", "type", "All game types", types);
        page.lit("</div>\n");
        web_table_open(page, "games", "Games " + std::to_string(from + 1) + " to " + std::to_string(to) +
                                          " counted from the newest",
                       true, GAME_COLUMNS);
        for (size_t i = from; i < to; i++) game_row(page, games[games.size() - 1 - i], *this);
        web_table_close(page);
        if (pages > 1) {
            page.lit("<nav class=\"pager\" aria-label=\"Pages of the game list\">\n<ul>\n");
            for (size_t p = 1; p <= pages; p++) {
                if (p == k) page.print("<li><strong>%zu</strong></li>\n", p);
                else page.print("<li><a href=\"%s\">%zu</a></li>\n", list_file(p).c_str(), p);
            }
            page.lit("</ul>\n</nav>\n");
        }
        page.end();
    }
}

void web_site::write_maps() const {
    web_page list(1);
    list.begin("vexo_web/maps.html", "Maps", links, false);
    static const web_column map_columns[] = {
        {"Map", "text", false, true}, {"Games", "num"}, {"Latest game", "num"},
    };
    if (maps.empty()) list.lit("<p class=\"note\">No game is listed.</p>\n");
    else web_table_open(list, "maps", "Maps played, with their games", true, map_columns);
    for (const auto& [raw, m] : maps) {
        const std::string name = html_text(m.name);
        web_row_open(list);
        web_row_head(list, "<a href=\"" + m.page + "\">" + name + "</a>");
        web_cell_int(list, static_cast<long long>(m.games.size()));
        const int latest = m.games.back();
        web_cell(list, "<a href=\"" + game_address(latest) + "\">Game " + std::to_string(latest) + "</a>",
                 false, std::to_string(latest));
        web_row_close(list);
    }
    if (!maps.empty()) web_table_close(list);
    list.end();

    for (const auto& [raw, m] : maps) {
        const std::string& name = m.name;
        web_page page(1);
        page.begin("vexo_web/" + m.page, "Map " + name, links, false);
        page.print("<p>%zu games on this map.</p>\n", m.games.size());

        std::vector<std::pair<int32_t, web_map::player>> best(m.players.begin(), m.players.end());
        std::sort(best.begin(), best.end(), [](const auto& a, const auto& b) {
            if (a.second.frags != b.second.frags) return a.second.frags > b.second.frags;
            return a.first < b.first;
        });
        if (best.size() > MAP_PLAYERS_SHOWN) best.resize(MAP_PLAYERS_SHOWN);
        page.lit("<section>\n<h2>Best players</h2>\n");
        static const web_column player_columns[] = {
            {"Player", "text", false, true}, {"Frags", "num"}, {"Kills", "num"}, {"Deaths", "num"},
            {"Games", "num"},
        };
        web_table_open(page, "map-players", "Players with the most frags on " + html_text(name), true,
                       player_columns);
        for (const auto& [id, stats] : best) {
            const size_t at = static_cast<size_t>(id - first_id - 1);
            const player_total_t* p = at < by_id.size() ? by_id[at] : nullptr;
            if (!p) continue;
            const std::string& where = text_of(*p).page;
            const std::string& shown = text_of(*p).html;
            web_row_open(page);
            web_row_head(page, where.empty() ? shown : "<a href=\"" + where + "\">" + shown + "</a>");
            web_cell_int(page, stats.frags);
            web_cell_int(page, stats.kills);
            web_cell_int(page, stats.deaths);
            web_cell_int(page, stats.games);
            web_row_close(page);
        }
        web_table_close(page);
        page.lit("</section>\n<section>\n<h2>Games</h2>\n");
        if (m.games.size() > MAP_GAMES_SHOWN)
            page.print("<p>The newest %zu games; the game list has all of them.</p>\n", MAP_GAMES_SHOWN);
        web_table_open(page, "map-games", "Games on " + html_text(name) + ", newest first", true, GAME_COLUMNS);
        const size_t shown = std::min(m.games.size(), MAP_GAMES_SHOWN);
        for (size_t i = 0; i < shown; i++) {
            const int number = m.games[m.games.size() - 1 - i];
            const web_game& g = games[static_cast<size_t>(number - games.front().number)];
            game_row(page, g, *this);
        }
        web_table_close(page);
        page.lit("</section>\n");
        page.end();
    }
}

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
        web_table_open(page, "latest", "The newest games", false, GAME_COLUMNS);
        for (size_t i = 0; i < games.size() && i < LATEST_GAMES; i++)
            game_row(page, games[games.size() - 1 - i], *this);
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
