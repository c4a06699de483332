// web_site: what the web page set keeps while the logs are read, and the
// order of its end-of-run pages.
#include "html/web/web_site.h"

#include <cstring>

#include "app/fatal.h"
#include "app/settings.h"
#include "game/resultdata.h"
#include "html/primitives.h"
#include "html/web/web_address.h"
#include "html/web/web_assets.h"
#include "html/web/web_text.h"
#include "platform/platform.h"
#include "total/resultdata_total.h"

web_site::web_site(const settings_t& settings, const web_links& links)
    : settings(settings), links(links), charset(static_cast<log_charset>(settings.charset)),
      first_id(player_id_counter) {}

web_site::~web_site() {}

void web_site::open() {
    for (const char* folder : {"vexo_web", "vexo_web/g", "vexo_web/p", "vexo_web/m"}) {
        platform::make_dir(folder);
        // Pages of these folders must never land elsewhere.
        if (!platform::is_real_directory(folder)) fatal_error("Couldn't open %s", folder);
    }
    if (links.chat) {
        chat.reset(new web_chat(charset, settings.no_funnames));
        chat->open(links);
    }
}

std::string web_site::name_html(const char* raw) const {
    const std::string text = to_utf8(raw, strlen(raw), charset);
    const std::string plain = plain_text(text);
    // A name of colour codes and blanks only would be an empty link.
    if (plain.find_first_not_of(' ') == std::string::npos) return "<i>(no name)</i>";
    return settings.no_funnames ? html_text(plain) : coloured_html(text);
}

std::string web_site::page_of(const player_total_t& player) const {
    // The limits only grow towards a page: a player within them now is
    // within them at the end of the run, when the pages are written.
    if (player_excluded(settings, player)) return std::string();
    return player_address(player.matched_name());
}

web_game* web_site::note_game(const resultdata& game, int number, resultdata_total& totals) {
    games.emplace_back();
    web_game& g = games.back();
    g.number = number;
    g.map = to_utf8(game.map_name, strlen(game.map_name), charset);
    g.map_page = map_address(game.map_name);
    g.type = game.game_type_name;
    g.date = game.game_date;
    g.duration = game.end_time > game.start_time ? game.end_time - game.start_time : 0;
    g.players = game.player_count;
    g.team_game = game.team_game;
    if (g.team_game) {
        g.red = game.team_strength(1);
        g.blue = game.team_strength(2);
    }
    map_record& m = maps[game.map_name];
    if (m.page.empty()) m.page = g.map_page;
    m.games.push_back(number);
    bool first = true;
    for (int i = 0; i < game.player_count; i++) {
        const player_t& p = game.players[i];
        player_total_t* t = totals.find_player(p.name);
        std::string html = name_html(p.name);
        const int frags = p.frags();
        if (first || frags > g.leader_frags) {
            g.leader_frags = frags;
            g.leader_html = html;
            first = false;
        }
        g.slots.emplace_back(std::move(html), page_of(*t));
        const size_t at = static_cast<size_t>(t->id - first_id - 1);
        if (at >= history.size()) history.resize(at + 1);
        std::vector<history_entry>& h = history[at];
        if (h.size() >= HISTORY_KEPT) h.erase(h.begin());
        h.push_back({number, static_cast<int32_t>(p.total_kills()), static_cast<int32_t>(p.total_deaths()), frags});
        map_player& mp = m.players[t->id];
        mp.frags += frags;
        mp.kills += static_cast<int32_t>(p.total_kills());
        mp.deaths += static_cast<int32_t>(p.total_deaths());
        mp.games++;
    }
    return &g;
}

const std::vector<web_site::history_entry>* web_site::history_of(const player_total_t& player) const {
    const size_t at = static_cast<size_t>(player.id - first_id - 1);
    return at < history.size() ? &history[at] : nullptr;
}

void web_site::chat_line(const char* speaker, const char* text, bool spectator) {
    if (chat) chat->line(speaker, text, spectator);
}

void web_site::chat_game_listed(int number) {
    if (chat) chat->game_listed(number);
}

void web_site::write_assets() const {
    for (size_t i = 0; i < web_asset_count; i++) {
        outfile out;
        const std::string path = std::string("vexo_web/") + web_assets[i].name;
        out.open(path.c_str());
        out.write(reinterpret_cast<const char*>(web_assets[i].data), web_assets[i].size);
        out.close();
    }
}

void web_site::finish(resultdata_total& totals) {
    if (chat) chat->finish();
    write_assets();
    // The players with pages, in the order of the main ranking.
    const std::vector<player_total_t*> ranked = write_rankings(totals);
    write_search_data(ranked);
    write_json(ranked, totals);
    for (size_t i = 0; i < ranked.size(); i++) write_player_page(*ranked[i], totals, i + 1, ranked.size());
    std::vector<const player_total_t*> by_id;
    for (const player_total_t* p : totals.player_list()) {
        const size_t at = static_cast<size_t>(p->id - first_id - 1);
        if (at >= by_id.size()) by_id.resize(at + 1, nullptr);
        by_id[at] = p;
    }
    write_game_lists();
    write_maps(by_id);
    write_landing(totals, ranked);
}
