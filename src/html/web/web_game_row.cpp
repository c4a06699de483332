// web_game_row: a game's row in the game tables.
#include "html/web/web_game_row.h"

#include "html/web/web_address.h"
#include "html/web/web_text.h"

namespace {

std::string result_of(const web_game& g) {
    if (g.team_game) return "Red " + std::to_string(g.red) + " : " + std::to_string(g.blue) + " Blue";
    return std::to_string(g.leader_frags) + (g.leader_frags == 1 ? " frag" : " frags");
}

}  // namespace

const web_column WEB_GAME_COLUMNS[WEB_GAME_COLUMN_COUNT] = {
    {"Game", "num", false, true}, {"Date", "text", true}, {"Map", "text"},   {"Type", "text"},
    {"Players", "num", true},     {"Result", "text"},     {"Best player", "text"},
};

// The links lead from the page (page.site()) into vexo_web/.
void web_game_row(web_page& page, const web_game& g, const web_site& site) {
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

