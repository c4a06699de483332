// The ranking pages of the web page set, one paged set per sort key in the
// server's order, and the data for the search and for machines.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/settings.h"
#include "html/primitives.h"
#include "html/web/web_address.h"
#include "html/web/web_site.h"
#include "html/web/web_table.h"
#include "html/web/web_text.h"
#include "total/resultdata_total.h"

namespace {

constexpr size_t ROWS_PER_PAGE = 100;

struct ranking_key {
    int order;
    const char* word;
    const char* label;
};
const ranking_key KEYS[] = {
    {SORT_RATIO, "ratio", "ratio"}, {SORT_EFF, "eff", "efficiency"}, {SORT_SKILL, "skill", "skill"},
    {SORT_FRAGS, "frags", "frags"}, {SORT_KILLS, "kills", "kills"},  {SORT_PLAYTIME, "playtime", "play time"},
    {SORT_NAME, "name", "name"},
};

std::string page_file(const std::string& base, size_t page) {
    return page <= 1 ? base + ".html" : base + "_" + std::to_string(page) + ".html";
}

std::string base_of(int order, int main_order) {
    return order == main_order ? "ranking" : std::string("ranking_") + sort_order_name(order);
}

// Links to the pages of a paged list: all of them up to 15, else the first,
// the last and those near the current one.
void pager(web_page& page, const std::string& base, size_t current, size_t count, const char* label) {
    if (count <= 1) return;
    page.print("<nav class=\"pager\" aria-label=\"%s\">\n<ul>\n", label);
    for (size_t k = 1; k <= count; k++) {
        const bool near = k + 2 >= current && k <= current + 2;
        if (count > 15 && k != 1 && k != count && !near) {
            if (k == 2 || k == current + 3) page.lit("<li>&hellip;</li>\n");
            continue;
        }
        if (k == current) page.print("<li><strong>%zu</strong></li>\n", k);
        else page.print("<li><a href=\"%s\">%zu</a></li>\n", page_file(base, k).c_str(), k);
    }
    page.lit("</ul>\n</nav>\n");
}

std::string per_minute(double count, uint32_t playtime) {
    return playtime > 0 ? web_fixed(count * 60.0 / playtime, 2) : "-";
}

std::string ratio_of(const player_total_t& p) {
    return p.playtime > 0 ? web_fixed(p.ratio(), 2) : "-";
}

// The players in the order of a ranking key: the larger value first (the
// name: in alphabetical order of the matched name), ties by name. The
// classic pages sort the totals themselves, with their console progress.
std::vector<player_total_t*> in_order(const std::vector<player_total_t*>& players, int order) {
    std::vector<std::string> names(players.size());
    for (size_t i = 0; i < players.size(); i++) names[i] = players[i]->matched_name();
    std::vector<double> keys(players.size());
    // The name and team orders have no figure: their keys are all 0, ties by name.
    for (size_t i = 0; i < players.size(); i++) keys[i] = ranking_figure(*players[i], order);
    std::vector<uint32_t> index(players.size());
    for (size_t i = 0; i < index.size(); i++) index[i] = static_cast<uint32_t>(i);
    std::sort(index.begin(), index.end(), [&](uint32_t a, uint32_t b) {
        if (keys[a] != keys[b]) return keys[a] > keys[b];
        if (names[a] != names[b]) return names[a] < names[b];
        return players[a]->id < players[b]->id;
    });
    std::vector<player_total_t*> result(players.size());
    for (size_t i = 0; i < index.size(); i++) result[i] = players[index[i]];
    return result;
}

}  // namespace

std::vector<player_total_t*> web_site::write_rankings(const resultdata_total& totals) {
    std::vector<player_total_t*> with_pages;
    for (player_total_t* p : totals.player_list())
        if (!player_excluded(settings, *p)) with_pages.push_back(p);
    const std::vector<player_total_t*> ranked_main = in_order(with_pages, settings.sort_order);
    std::vector<ranking_key> keys;
    bool main_listed = false;
    for (const ranking_key& k : KEYS) {
        keys.push_back(k);
        main_listed = main_listed || k.order == settings.sort_order;
    }
    if (!main_listed) keys.insert(keys.begin(), {settings.sort_order, sort_order_name(settings.sort_order),
                                                 sort_order_name(settings.sort_order)});
    static const web_column columns[] = {
        {"#", "num"},           {"Player", "text", false, true},        {"Ratio", "num"},
        {"Eff", "num"},         {"Skill", "num"},          {"Frags", "num"},
        {"Kills", "num"},       {"Deaths", "num"},         {"Suicides", "num", true},
        {"FPM", "num", true},   {"DPM", "num", true},      {"Play time", "num", true},
        {"Games", "num"},       {"Ping", "num", true},
    };
    leaders.clear();
    for (const ranking_key& key : keys) {
        const std::vector<player_total_t*> ranked =
            key.order == settings.sort_order ? ranked_main : in_order(with_pages, key.order);
        const std::string base = base_of(key.order, settings.sort_order);
        leaders.push_back({key.order, key.label, base + ".html",
                           std::vector<player_total_t*>(ranked.begin(),
                                                        ranked.begin() + std::min<size_t>(ranked.size(), 3))});
        const size_t pages = ranked.empty() ? 1 : (ranked.size() + ROWS_PER_PAGE - 1) / ROWS_PER_PAGE;
        for (size_t k = 1; k <= pages; k++) {
            web_page page(1);
            std::string title = std::string("Ranking by ") + key.label;
            if (k > 1) title += ", page " + std::to_string(k);
            page.begin("vexo_web/" + page_file(base, k), title, links, true);
            page.lit("<nav class=\"keys\" aria-label=\"Order of the ranking\">\n<ul>\n<li>Order by:</li>\n");
            for (const ranking_key& other : keys) {
                if (other.order == key.order)
                    page.print("<li><strong>%s</strong></li>\n", other.label);
                else
                    page.print("<li><a href=\"%s.html\">%s</a></li>\n",
                               base_of(other.order, settings.sort_order).c_str(), other.label);
            }
            page.lit("</ul>\n</nav>\n");
            const size_t from = (k - 1) * ROWS_PER_PAGE;
            const size_t to = std::min(ranked.size(), from + ROWS_PER_PAGE);
            page.print("<p>%zu players ranked; this page shows places %zu to %zu. A click on a column head "
                       "sorts the rows of this page.</p>\n",
                       ranked.size(), ranked.empty() ? 0 : from + 1, to);
            web_search_form(page);
            if (ranked.empty()) {
                page.lit("<p class=\"note\">No player is within the limits of this run.</p>\n");
                page.end();
                continue;
            }
            pager(page, base, k, pages, "Pages of the ranking");
            page.lit("<div class=\"filters\">\n<label for=\"name-filter\">Filter this page:</label>\n"
                     "<input type=\"search\" class=\"filter\" id=\"name-filter\" data-table=\"ranking\" "
                     "placeholder=\"Filter by name\" aria-label=\"Filter by name\">\n</div>\n");
            web_table_open(page, "ranking", "Players by " + std::string(key.label), true, columns);
            for (size_t r = from; r < to; r++) {
                const player_total_t& p = *ranked[r];
                const player_text& t = text_of(p);
                web_row_open(page, "data-name=\"" + html_text(t.key) + "\"");
                web_cell_int(page, static_cast<long long>(r + 1));
                std::string name = "<a href=\"" + t.page + "\">" + t.html + "</a>";
                if (p.bot_skill >= 0 && !settings.skip_bots) name += " <small>(bot)</small>";
                web_row_head(page, name, t.key);
                web_cell_number(page, ratio_of(p));
                web_cell_fixed(page, p.eff(), 1);
                web_cell_fixed(page, p.skill(), 2);
                web_cell_int(page, p.frags());
                web_cell_int(page, p.total_kills());
                web_cell_int(page, p.total_deaths());
                web_cell_int(page, p.total_suicides(), true);
                web_cell_number(page, per_minute(p.frags(), p.playtime), true);
                web_cell_number(page, per_minute(p.total_deaths(), p.playtime), true);
                web_cell_number(page, web_duration(p.playtime), true, std::to_string(p.playtime));
                web_cell_int(page, p.games);
                if (p.ping_count > 0) web_cell_int(page, p.ping_sum / p.ping_count, true);
                else web_cell_number(page, "-", true);
                web_row_close(page);
            }
            web_table_close(page);
            pager(page, base, k, pages, "Pages of the ranking");
            page.end();
        }
    }
    return ranked_main;
}

void web_site::write_search_data(const std::vector<player_total_t*>& ranked) const {
    outfile out;
    out.open("vexo_web/search.js");
    out.lit("var VEXO_SEARCH=[");
    std::string line;
    for (size_t i = 0; i < ranked.size(); i++) {
        const player_total_t& p = *ranked[i];
        line.clear();
        if (i > 0) line += ",\n";
        line += '[';
        append_json(line, text_of(p).plain);
        line += ',';
        append_json(line, text_of(p).page);
        line += ']';
        out.puts(line);
    }
    out.lit("];\n");
    out.close();
}

void web_site::write_json(const std::vector<player_total_t*>& ranked, resultdata_total& /*totals*/) const {
    outfile out;
    out.open("vexo_web/vexo.json");
    out.print("{\n\"version\": 1,\n\"generator\": \"%s %s\",\n\"sort_order\": \"%s\",\n\"players\": [", VEXO_NAME,
              VEXO_BUILD, sort_order_name(settings.sort_order));
    std::string line;
    for (size_t i = 0; i < ranked.size(); i++) {
        const player_total_t& p = *ranked[i];
        line = i > 0 ? ",\n{" : "\n{";
        line += "\"rank\": " + std::to_string(i + 1) + ", \"name\": ";
        append_json(line, text_of(p).plain);
        line += ", \"page\": ";
        append_json(line, text_of(p).page);
        line += ", \"games\": " + std::to_string(p.games) + ", \"frags\": " + std::to_string(p.frags()) +
                ", \"kills\": " + std::to_string(p.total_kills()) + ", \"killed\": " +
                std::to_string(p.total_killed()) + ", \"suicides\": " + std::to_string(p.total_suicides()) +
                ", \"deaths\": " + std::to_string(p.total_deaths()) + ", \"eff\": " + web_fixed(p.eff(), 2) +
                ", \"skill\": " + web_fixed(p.skill(), 3) + ", \"ratio\": " +
                (p.playtime > 0 ? web_fixed(p.ratio(), 3) : "null") + ", \"playtime\": " +
                std::to_string(p.playtime) + ", \"ping\": " +
                (p.ping_count > 0 ? std::to_string(p.ping_sum / p.ping_count) : "null") +
                ", \"bot\": " + (p.bot_skill >= 0 ? "true" : "false") + "}";
        out.puts(line);
    }
    out.lit("\n],\n\"games\": [");
    bool first = true;
    for (const web_game& g : games) {
        line = first ? "\n{" : ",\n{";
        first = false;
        line += "\"number\": " + std::to_string(g.number) + ", \"page\": \"" + game_address(g.number) + "\", \"map\": ";
        append_json(line, g.map->name);
        line += ", \"type\": ";
        append_json(line, *g.type);
        line += ", \"date\": ";
        if (!g.date[0]) line += "null";
        else append_json(line, g.date);
        line += ", \"duration\": " + std::to_string(g.duration) + ", \"players\": " + std::to_string(g.players) + "}";
        out.puts(line);
    }
    out.lit("\n]\n}\n");
    out.close();
}
