// The game page of the web page set: facts, teams, scoreboard, frags over
// the game's time and the kill matrix. Written on the page thread.
#include <algorithm>
#include <map>

#include "app/settings.h"
#include "game/resultdata.h"
#include "html/web/web_address.h"
#include "html/web/web_site.h"
#include "html/web/web_svg.h"
#include "html/web/web_table.h"
#include "html/web/web_text.h"

namespace {

// Players beyond this many are left out of the kill matrix (it would be
// wider than any screen), with a note.
constexpr int MATRIX_PLAYERS = 16;
constexpr int CHART_PLAYERS = 8;

const char* team_name(int team) {
    switch (team) {
        case 1: return "Red";
        case 2: return "Blue";
        case 3: return "Spectator";
        default: return "-";
    }
}

std::string linked(const std::pair<std::string, std::string>& slot) {
    return slot.second.empty() ? slot.first : "<a href=\"" + slot.second + "\">" + slot.first + "</a>";
}

}  // namespace

void web_site::write_game_page(const resultdata& game, const web_game_task& task) const {
    const web_game& g = *task.game;
    const std::vector<std::pair<std::string, std::string>>& slots = task.slots;
    const std::string n = std::to_string(g.number);
    web_page page(1);
    page.begin("vexo_web/" + game_address(g.number), "Game " + n + ": " + g.map->name + " (" + *g.type + ")", links, false);

    page.lit("<dl class=\"summary\">\n");
    web_fact(page, "Map", "<a href=\"" + g.map->page + "\">" + html_text(g.map->name) + "</a>");
    web_fact(page, "Type", html_text(*g.type));
    if (g.date[0]) web_fact(page, "Date", "<time>" + html_text(g.date) + "</time>");
    web_fact(page, "Duration", web_duration(g.duration));
    web_fact(page, "Players", std::to_string(g.players));
    if (game.timelimit > 0) web_fact(page, "Time limit", std::to_string(game.timelimit) + " min");
    if (game.fraglimit > 0) web_fact(page, "Frag limit", std::to_string(game.fraglimit));
    if (task.chat) web_fact(page, "Chat", "<a href=\"chat.html#g" + n + "\">Chat of this game</a>");
    page.lit("</dl>\n");
    page.lit("<nav class=\"pager\" aria-label=\"Other games\">\n<ul>\n");
    if (g.number > 1) page.print("<li><a href=\"game_%i.html\">Game %i</a></li>\n", g.number - 1, g.number - 1);
    page.lit("<li><a href=\"games.html\">All games</a></li>\n</ul>\n</nav>\n");

    if (g.team_game) {
        page.lit("<section>\n<h2>Teams</h2>\n");
        static const web_column team_columns[] = {
            {"Team", nullptr, false, true}, {"Score", nullptr}, {"Frags", nullptr}, {"Kills", nullptr},
            {"Deaths", nullptr}, {"Team kills", nullptr, true},
        };
        web_table_open(page, "", "Score of each team (frags less team kills)", false, team_columns);
        for (int t : {1, 2}) {
            const player_t& r = game.team_results[t];
            web_row_open(page, std::string("class=\"team-") + (t == 1 ? "red" : "blue") + "\"");
            web_row_head(page, team_name(t));
            web_cell_int(page, game.team_strength(t));
            web_cell_int(page, r.frags());
            web_cell_int(page, r.total_kills());
            web_cell_int(page, r.total_deaths());
            web_cell_int(page, r.teamkills[0], true);
            web_row_close(page);
        }
        web_table_close(page);
        page.lit("</section>\n");
    }

    page.lit("<section>\n<h2>Scoreboard</h2>\n");
    std::vector<web_column> columns = {
        {"Player", "text", false, true}, {"Team", "text"},          {"Frags", "num"},
        {"Kills", "num"},                {"Deaths", "num"},         {"Suicides", "num", true},
        {"Team kills", "num", true},     {"Eff", "num"},            {"Time", "num", true},
        {"Ping", "num", true},           {"Best life", "num", true},
    };
    if (!g.team_game) columns.erase(columns.begin() + 1);
    web_table_open(page, "scoreboard", "Players of game " + n, true, columns.data(), columns.size());
    // The players by frags; in a team game team by team, in the order of
    // the teams in the record (the stronger first).
    std::vector<int> by_frags;
    for (int i = 0; i < game.player_count; i++) by_frags.push_back(i);
    std::stable_sort(by_frags.begin(), by_frags.end(),
                     [&game](int a, int b) { return game.players[a].frags() > game.players[b].frags(); });
    std::vector<int> rows = by_frags;
    if (g.team_game) {
        std::map<int, int> team_place;   // team -> the first slot of that team
        for (int i = game.player_count - 1; i >= 0; i--) team_place[game.players[i].team] = i;
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            return team_place[game.players[a].team] < team_place[game.players[b].team];
        });
    }
    for (int row = 0; row < game.player_count; row++) {
        const int i = rows[static_cast<size_t>(row)];
        const player_t& p = game.players[i];
        web_row_open(page, g.team_game && (p.team == 1 || p.team == 2)
                               ? std::string("class=\"team-") + (p.team == 1 ? "red" : "blue") + "\""
                               : std::string());
        web_row_head(page, linked(slots[static_cast<size_t>(i)]));
        if (g.team_game) web_cell(page, team_name(p.team));
        web_cell_int(page, p.frags());
        web_cell_int(page, p.total_kills());
        web_cell_int(page, p.total_deaths());
        web_cell_int(page, p.total_suicides(), true);
        web_cell_int(page, p.total_teamkills(), true);
        web_cell_fixed(page, p.compute_eff(), 1);
        web_cell_number(page, web_duration(p.playtime), true, std::to_string(p.playtime));
        if (p.ping_count > 0) web_cell_int(page, p.ping_sum / p.ping_count, true);
        else web_cell_number(page, "-", true);
        web_cell_int(page, p.mkiol, true);
        web_row_close(page);
    }
    web_table_close(page);
    page.lit("</section>\n");

    // Frags over the game's time, of the players with the most frags.
    std::vector<int> order = by_frags;
    if (order.size() > CHART_PLAYERS) order.resize(CHART_PLAYERS);
    std::vector<svg_series> series;
    const double end = g.duration / 60.0;
    for (int i : order) {
        const player_t& p = game.players[i];
        svg_series s{linked(slots[static_cast<size_t>(i)]), {{0.0, 0.0}}, true};
        int frags = 0;
        // Steps closer than a 300th of the game are one step on the chart:
        // a long game's chart stays small.
        const double close = end > 0 ? end / 300 : 0;
        for (const frag_step& step : p.frag_steps) {
            frags += step.change;
            double t = (static_cast<double>(step.time) - game.start_time) / 60.0;
            t = std::max(0.0, std::min(t, end > 0 ? end : t));
            if (s.points.size() > 1 && t - s.points.back().first < close) s.points.back().second = frags;
            else s.points.push_back({t, static_cast<double>(frags)});
        }
        if (end > s.points.back().first) s.points.push_back({end, static_cast<double>(frags)});
        series.push_back(std::move(s));
    }
    page.lit("<section>\n<h2>Frags over time</h2>\n");
    page.puts(svg_line_chart(series, "Frags of the leading players over the minutes of game " + n, "min", "frags"));
    page.lit("</section>\n");

    const int shown = std::min(game.player_count, MATRIX_PLAYERS);
    page.lit("<section>\n<h2>Kill matrix</h2>\n");
    if (game.player_count > shown)
        page.print("<p>The %i players with the most frags; %i more are left out.</p>\n", shown,
                   game.player_count - shown);
    std::vector<int> matrix_players(by_frags.begin(), by_frags.begin() + shown);
    page.lit("<div class=\"scroll\">\n<table class=\"matrix\">\n<caption>Kills in game ");
    page.puts(n);
    page.lit(": the row's player killed the column's player so many times (the diagonal: suicides)"
             "</caption>\n<thead>\n<tr><td class=\"sticky\"></td>");
    for (int v : matrix_players) {
        page.lit("<th scope=\"col\" class=\"n\">");
        page.puts(slots[static_cast<size_t>(v)].first);
        page.lit("</th>");
    }
    page.lit("</tr>\n</thead>\n<tbody>\n");
    for (int k : matrix_players) {
        web_row_open(page);
        web_row_head(page, linked(slots[static_cast<size_t>(k)]));
        for (int v : matrix_players) {
            const unsigned count = game.get_kills_vs(k, v, 0);
            page.puts(k == v ? "<td class=\"n self\">" : count > 0 ? "<td class=\"n\">" : "<td class=\"n zero\">");
            page.put_uint(count);
            page.lit("</td>");
        }
        web_row_close(page);
    }
    page.lit("</tbody>\n</table>\n</div>\n</section>\n");
    page.end();
}
