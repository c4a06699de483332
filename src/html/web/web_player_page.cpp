// The player pages of the web page set: summary, form over the last games,
// weapons, opponents (with nemesis and favourite victim) and the games.
#include <algorithm>
#include <cstring>

#include "app/settings.h"
#include "game/weapon_registry.h"
#include "html/web/web_address.h"
#include "html/web/web_site.h"
#include "html/web/web_svg.h"
#include "html/web/web_table.h"
#include "html/web/web_text.h"
#include "total/resultdata_total.h"

namespace {

std::string times(uint32_t n) { return n == 1 ? "once" : n == 2 ? "twice" : std::to_string(n) + " times"; }

double share(uint32_t part, uint32_t whole) { return whole > 0 ? static_cast<double>(part) / whole : 0.0; }

std::string percent(uint32_t part, uint32_t whole) {
    return web_fixed(share(part, whole) * 100.0, 0) + " %";
}

}  // namespace

void web_site::write_player_page(player_total_t& p, resultdata_total& totals, size_t place, size_t ranked) const {
    const player_text& me = text_of(p);
    const std::string& address = me.page;
    const std::string& shown = me.html;
    web_page page(1);
    page.begin("vexo_web/" + address, me.plain, links, true, shown);

    // Opponents first: nemesis and favourite victim belong to the summary.
    // Most kills first; the list of the totals keeps its order.
    std::vector<p2p_t> opponents = totals.p2p_list(&p);
    std::stable_sort(opponents.begin(), opponents.end(),
                     [](const p2p_t& a, const p2p_t& b) { return a.total_kills() > b.total_kills(); });
    const p2p_t* nemesis = nullptr;
    const p2p_t* victim = nullptr;
    for (const p2p_t& q : opponents) {
        // Two slots of one name in a game meet as the player and itself:
        // that is no one's nemesis or favourite victim.
        if (q.opponent() == &p) continue;
        if (q.total_killed() > 0 && (!nemesis || q.total_killed() > nemesis->total_killed())) nemesis = &q;
        if (q.total_kills() > 0 && (!victim || q.total_kills() > victim->total_kills())) victim = &q;
    }
    auto opponent_html = [this](const p2p_t& q) {
        const player_total_t& o = *q.opponent();
        const player_text& t = text_of(o);
        return t.page.empty() ? t.html : "<a href=\"" + t.page + "\">" + t.html + "</a>";
    };

    page.lit("<section>\n<h2>Summary</h2>\n<dl class=\"summary\">\n");
    web_fact(page, "Place", "<a href=\"" + std::string(place <= 100 ? "ranking.html" : "ranking_" +
                            std::to_string((place - 1) / 100 + 1) + ".html") + "\">" + std::to_string(place) +
                            " of " + std::to_string(ranked) + "</a>");
    web_fact(page, "Games", std::to_string(p.games));
    web_fact(page, "Frags", std::to_string(p.frags()));
    web_fact(page, "Kills", std::to_string(p.total_kills()));
    web_fact(page, "Deaths", std::to_string(p.total_deaths()));
    web_fact(page, "Suicides", std::to_string(p.total_suicides()));
    web_fact(page, "Efficiency", web_fixed(p.eff(), 1) + " %");
    web_fact(page, "Skill", web_fixed(p.skill(), 2));
    web_fact(page, "Ratio", p.playtime > 0 ? web_fixed(p.ratio(), 2) : "-");
    web_fact(page, "Play time", web_duration(p.playtime));
    web_fact(page, "Ping", p.ping_count > 0 ? std::to_string(p.ping_sum / p.ping_count) : "-");
    if (nemesis)
        web_fact(page, "Nemesis",
             opponent_html(*nemesis) + " (killed " + shown + " " + times(nemesis->total_killed()) + ")");
    if (victim)
        web_fact(page, "Favourite victim",
             opponent_html(*victim) + " (killed " + times(victim->total_kills()) + ")");
    page.lit("</dl>\n</section>\n");

    const std::vector<history_entry>* games_of = history_of(p);
    if (games_of && games_of->size() >= 2) {
        svg_series frags{"Frags per game", {}, false};
        double x = 1;
        for (const history_entry& h : *games_of) frags.points.push_back({x++, static_cast<double>(h.frags)});
        page.lit("<section>\n<h2>Form</h2>\n");
        page.puts(svg_line_chart({frags}, "Frags in each of the last " + std::to_string(games_of->size()) + " games",
                                 "games", "frags per game"));
        page.lit("</section>\n");
    }

    page.lit("<section>\n<h2>Weapons</h2>\n");
    static const web_column weapon_columns[] = {
        {"Weapon", "text", false, true}, {"Kills", "num"}, {"Share of kills", nullptr, true},
        {"Deaths", "num"},               {"Share of deaths", nullptr, true},
    };
    const std::vector<int> weapons = p.weapons_used();
    bool any_weapon = false;
    for (int w : weapons) any_weapon = any_weapon || p.get_kills(w) > 0 || p.get_killed(w) > 0;
    if (any_weapon) web_table_open(page, "weapons", "Kills and deaths by weapon", true, weapon_columns);
    else page.lit("<p class=\"note\">No kills and no deaths by another player.</p>\n");
    for (int w : weapons) {
        const uint32_t kills = p.get_kills(w), killed = p.get_killed(w);
        if (kills == 0 && killed == 0) continue;
        web_row_open(page);
        web_row_head(page, html_text(weapon_name(w)));
        web_cell_int(page, kills);
        web_cell(page, svg_bar(share(kills, p.total_kills())) + " " + percent(kills, p.total_kills()), true);
        web_cell_int(page, killed);
        web_cell(page, svg_bar(share(killed, p.total_killed())) + " " + percent(killed, p.total_killed()), true);
        web_row_close(page);
    }
    if (any_weapon) web_table_close(page);
    page.lit("</section>\n");

    page.lit("<section>\n<h2>Opponents</h2>\n");
    static const web_column versus_columns[] = {
        {"Opponent", "text", false, true}, {"Kills", "num"}, {"Deaths", "num"}, {"Share won", "num", true},
    };
    bool any_opponent = false;
    for (const p2p_t& q : opponents) any_opponent = any_opponent || q.total_kills() > 0 || q.total_killed() > 0;
    if (any_opponent)
        web_table_open(page, "versus", "Kills of " + shown + " on each opponent, and deaths by them", true,
                       versus_columns);
    else
        page.lit("<p class=\"note\">No kills of or by another player.</p>\n");
    for (const p2p_t& q : opponents) {
        if (q.total_kills() == 0 && q.total_killed() == 0) continue;
        const player_total_t& o = *q.opponent();
        web_row_open(page);
        web_row_head(page, opponent_html(q),
                     text_of(o).key);
        web_cell_int(page, q.total_kills());
        web_cell_int(page, q.total_killed());
        web_cell_number(page, percent(q.total_kills(), q.total_kills() + q.total_killed()),
                 true, web_fixed(share(q.total_kills(), q.total_kills() + q.total_killed()) * 100, 1));
        web_row_close(page);
    }
    if (any_opponent) web_table_close(page);
    page.lit("</section>\n");

    page.lit("<section>\n<h2>Games</h2>\n");
    if (games_of && !games_of->empty()) {
        if (static_cast<size_t>(p.games) > games_of->size())
            page.print("<p>The last %zu of %i games.</p>\n", games_of->size(), p.games);
        static const web_column game_columns[] = {
            {"Game", "num", false, true}, {"Map", "text"},         {"Frags", "num"},
            {"Kills", "num", true},       {"Deaths", "num", true},
        };
        web_table_open(page, "player-games", "Games of " + shown + ", newest first", true, game_columns);
        for (auto h = games_of->rbegin(); h != games_of->rend(); ++h) {
            const web_game& g = games[static_cast<size_t>(h->game - games.front().number)];
            web_row_open(page);
            web_row_head(page, "<a href=\"" + game_address(h->game) + "\">Game " +
                                   std::to_string(h->game) + "</a>",
                         std::to_string(h->game));
            web_cell(page, "<a href=\"" + g.map->page + "\">" + html_text(g.map->name) + "</a>");
            web_cell_int(page, h->frags);
            web_cell_int(page, h->kills, true);
            web_cell_int(page, h->deaths, true);
            web_row_close(page);
        }
        web_table_close(page);
    }
    page.lit("</section>\n");
    page.end();
}
