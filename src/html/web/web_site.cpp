// web_site: what the web page set keeps while the logs are read, and the
// order of its end-of-run pages.
#include "html/web/web_site.h"

#include <cstdio>
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

std::shared_ptr<web_game_task> web_site::note_game(const resultdata& game, int number, resultdata_total& totals) {
    games.emplace_back();
    web_game& g = games.back();
    auto task = std::make_shared<web_game_task>();
    task->game = &g;
    task->chat = listed_game_chat;
    g.number = number;
    g.type = &*types.insert(game.game_type_name).first;
    copy_field(g.date, sizeof g.date, game.game_date);
    g.duration = game.end_time > game.start_time ? game.end_time - game.start_time : 0;
    g.players = game.player_count;
    g.team_game = game.team_game;
    if (g.team_game) {
        g.red = game.team_strength(1);
        g.blue = game.team_strength(2);
    }
    web_map& m = maps[game.map_name];
    if (m.page.empty()) {
        m.name = to_utf8(game.map_name, strlen(game.map_name), charset);
        m.page = map_address(game.map_name);
    }
    g.map = &m;
    m.games.push_back(number);
    bool first = true;
    for (int i = 0; i < game.player_count; i++) {
        const player_t& p = game.players[i];
        player_total_t* t = totals.find_player(p.name);
        const int frags = p.frags();
        if (first || frags > g.leader_frags) {
            g.leader_frags = frags;
            g.leader = t->id;
            first = false;
        }
        task->slots.emplace_back(name_html(p.name), page_of(*t));
        const size_t at = static_cast<size_t>(t->id - first_id - 1);
        if (at >= history.size()) history.resize(at + 1);
        std::vector<history_entry>& h = history[at];
        if (h.size() >= HISTORY_KEPT) h.erase(h.begin());
        h.push_back({number, static_cast<int32_t>(p.total_kills()), static_cast<int32_t>(p.total_deaths()), frags});
        web_map::player& mp = m.players[t->id];
        mp.frags += frags;
        mp.kills += static_cast<int32_t>(p.total_kills());
        mp.deaths += static_cast<int32_t>(p.total_deaths());
        mp.games++;
    }
    return task;
}

std::string web_site::shown_by_id(int32_t id, const char* site) const {
    const size_t at = static_cast<size_t>(id - first_id - 1);
    if (at >= by_id.size() || !by_id[at]) return "-";
    const player_text& t = text_of(*by_id[at]);
    return t.page.empty() ? t.html : "<a href=\"" + std::string(site) + t.page + "\">" + t.html + "</a>";
}

const web_site::player_text& web_site::text_of(const player_total_t& player) const {
    const size_t at = static_cast<size_t>(player.id - first_id - 1);
    if (at >= texts.size()) texts.resize(at + 1);
    if (!texts[at]) {
        texts[at].reset(new player_text);
        player_text& t = *texts[at];
        t.html = name_html(player.get_name());
        t.plain = plain_text(to_utf8(player.get_name(), strlen(player.get_name()), charset));
        t.key = lower_text(t.plain);
        t.page = page_of(player);
    }
    return *texts[at];
}

const std::vector<web_site::history_entry>* web_site::history_of(const player_total_t& player) const {
    const size_t at = static_cast<size_t>(player.id - first_id - 1);
    return at < history.size() ? &history[at] : nullptr;
}

void web_site::chat_line(const char* speaker, const char* text, bool spectator) {
    if (chat) chat->line(speaker, text, spectator);
}

void web_site::chat_game_listed(int number) {
    listed_game_chat = chat && chat->game_listed(number);
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
    for (const player_total_t* p : totals.player_list()) {
        const size_t at = static_cast<size_t>(p->id - first_id - 1);
        if (at >= by_id.size()) by_id.resize(at + 1, nullptr);
        by_id[at] = p;
    }
    // The players with pages, in the order of the main ranking.
    const std::vector<player_total_t*> ranked = write_rankings(totals);
    write_search_data(ranked);
    write_json(ranked, totals);
    for (size_t i = 0; i < ranked.size(); i++) write_player_page(*ranked[i], totals, i + 1, ranked.size());
    write_game_lists();
    write_maps();
    write_landing(totals, ranked);
}
