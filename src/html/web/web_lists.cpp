// The lists of the web page set: the game lists (newest first, paged), the
// map list and a page per map.
#include <algorithm>
#include <cstring>
#include <set>

#include "app/settings.h"
#include "html/primitives.h"
#include "html/web/web_address.h"
#include "html/web/web_game_row.h"
#include "html/web/web_site.h"
#include "html/web/web_table.h"
#include "html/web/web_text.h"
#include "total/resultdata_total.h"

namespace {

constexpr size_t GAMES_PER_PAGE = 100;
constexpr size_t MAP_GAMES_SHOWN = 100;
constexpr size_t MAP_PLAYERS_SHOWN = 20;

std::string list_file(size_t page) {
    return page <= 1 ? std::string("games.html") : "games_" + std::to_string(page) + ".html";
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
                       true, WEB_GAME_COLUMNS);
        for (size_t i = from; i < to; i++) web_game_row(page, games[games.size() - 1 - i], *this);
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
        web_table_open(page, "map-games", "Games on " + html_text(name) + ", newest first", true, WEB_GAME_COLUMNS);
        const size_t shown = std::min(m.games.size(), MAP_GAMES_SHOWN);
        for (size_t i = 0; i < shown; i++) {
            const int number = m.games[m.games.size() - 1 - i];
            const web_game& g = games[static_cast<size_t>(number - games.front().number)];
            web_game_row(page, g, *this);
        }
        web_table_close(page);
        page.lit("</section>\n");
        page.end();
    }
}
