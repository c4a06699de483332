// Shared helpers of the page tests: a scratch results folder per test, reading
// a written page back with its time stamps masked, and the fixed fragments
// (head, foot, cells) from which the expected pages are assembled.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"

namespace pagetest {

// Every test runs in a fresh temporary folder, which is the results folder
// of the page writers; the previous folder is restored afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        char pattern[] = "/tmp/vexo_pages_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        std::filesystem::current_path(folder);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    std::string previous;
};

// A client that connects and sends its first user info at `time`.
inline void join(resultdata& game, int client, const char* name, int bot_skill, int team, int time) {
    game.client_connect(client, time);
    game.client_userinfo(client, name, bot_skill, team, time);
}

// Kills `count` times at the given time.
inline void kill(resultdata& game, int killer, int victim, int weapon, int time, int count = 1) {
    for (int i = 0; i < count; i++) game.add_kill(killer, victim, weapon, time);
}

inline bool file_exists(const std::string& path) {
    return std::filesystem::exists(path);
}

inline std::string read_raw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void write_raw(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// The text put in place of each well-formed time stamp.
inline const char* const MASK = "<date>";

// True when `t` has the fixed form "Sun Dec 06 20:00:24 2026".
inline bool is_timestamp(const std::string& t) {
    static const std::string days = "SunMonTueWedThuFriSat";
    static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    auto one_of = [](const std::string& names, const std::string& name) {
        for (size_t i = 0; i + 3 <= names.size(); i += 3)
            if (names.compare(i, 3, name) == 0) return true;
        return false;
    };
    const std::string shape = "www mmm 00 00:00:00 0000";  // 0: a digit
    if (t.size() != shape.size()) return false;
    for (size_t i = 0; i < shape.size(); i++) {
        if (shape[i] == '0' && !(t[i] >= '0' && t[i] <= '9')) return false;
        if ((shape[i] == ' ' || shape[i] == ':') && t[i] != shape[i]) return false;
    }
    return one_of(days, t.substr(0, 3)) && one_of(months, t.substr(4, 3)) && t[8] <= '3' &&
           t[11] <= '2' && t[14] <= '5' && t[17] <= '6';
}

// Replaces the 24 characters of every time stamp "<p class=text>[...\n]" by
// MASK when they have the fixed form; a stamp of any other form stays as
// written, so the comparison shows it.
inline std::string mask_timestamps(std::string page) {
    const std::string open = "<p class=text>[";
    size_t at = 0;
    while ((at = page.find(open, at)) != std::string::npos) {
        const size_t start = at + open.size();
        if (page.size() >= start + 26 && page.compare(start + 24, 2, "\n]") == 0 &&
            is_timestamp(page.substr(start, 24))) {
            page.replace(start, 24, MASK);
        }
        at = start;
    }
    return page;
}

inline std::string read_page(const std::string& path) {
    return mask_timestamps(read_raw(path));
}

// The time stamp paragraph as it reads after masking.
inline std::string stamp() {
    return std::string("<p class=text>[") + MASK + "\n]</p>\r\n";
}

inline std::string head_start() {
    return "<html>\r\n<head>\r\n<title>VEXO results</title>\r\n";
}

inline std::string body_tag() {
    return "<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF "
           "alink=#FFFFFF>\r\n";
}

inline std::string inline_style(const std::string& title_pt = "12", const std::string& text_pt = "10") {
    return "<style>\r\n<!--\r\n"
           ".text { color: #FFFFFF; font-family: Arial; font-size: " + text_pt +
           "pt; text-align: center }\r\n"
           ".title { color: #FFFFFF; font-family: Arial; font-size: " + title_pt +
           "pt; text-align: center; font-weight: bold }\r\n"
           "table td { color: #FFFFFF; font-family: Arial; font-size: " + text_pt + "pt }\r\n"
           "table th { color: #FFFFFF; font-family: Arial; font-size: " + text_pt + "pt }\r\n"
           "-->\r\n</style>\r\n";
}

// Page head with the default inline style.
inline std::string head() {
    return head_start() + inline_style() + "</head>\r\n" + body_tag();
}

// Page head linking the stylesheet file; `up` for pages one folder below.
inline std::string linked_head(bool up) {
    return head_start() + "<LINK REL=StyleSheet HREF=\"" + (up ? "../" : "") +
           "vexo.css\" TYPE=\"text/css\">" + "</head>\r\n" + body_tag();
}

inline std::string legend() {
    return std::string("<p>") +
           "<b>Ratio</b> is calculated as (FPM - DPM)" +
           "<br><b>Eff</b> is calculated as (100 * kills / (kills + total deaths))" +
           "<br><b>Skill</b> is calculated as (kills / (total deaths + 1))" +
           "<br><b>MKIOL</b> means \"Most Kills In One Life\"" +
           "<br><b>Suicides</b> - if you kill yourself with your own weapons" +
           "<br><b>Deaths</b> - if you drown, fall, melt to death etc." +
           "<br><b>T.deaths</b> is total deaths (killed + suicides + deaths)" +
           "<br><b>FPM</b> is Frags Per Minute" +
           "<br><b>DPM</b> is total Deaths Per Minute" +
           "</p>";
}

inline std::string foot(bool with_legend) {
    return (with_legend ? legend() : std::string()) +
           "<p>" +
           "<a href=\"" + VEXO_HOME_URL + "\">" +
           "<font color=#FF0000>VEXO</font></a> build 056, 2000-10-07" +
           " by <a href=\"mailto:" + VEXO_CONTACT + "\"><font color=#FFFFFF>" + VEXO_AUTHOR +
           "</font></a>" +
           "</p>" + "\r\n</body>" + "\r\n</html>";
}

inline std::string table_open(const std::string& attributes) {
    return "\r\n<table " + attributes + ">\r\n";
}
inline std::string table_close() { return "</table>\r\n"; }

inline std::string th(const std::string& attributes, const std::string& text) {
    return "<th " + attributes + ">" + text + "</th>\r\n";
}
inline std::string td(const std::string& attributes, const std::string& text) {
    return "<td " + attributes + ">" + text + "</td>\r\n";
}
inline std::string para(const std::string& text) { return "<p>" + text + "</p>"; }

// Cells of one row, all with one attribute text; header cells with `head`.
inline std::string cells(const std::string& attributes, const std::vector<std::string>& texts,
                         bool head = false) {
    std::string row;
    for (const std::string& t : texts) row += head ? th(attributes, t) : td(attributes, t);
    return row;
}

// ------------------------------------------------ game pages and game lists

// One player slot as the tables of a game page show it.
struct slot_row {
    std::string name;     // display name
    std::string letters;  // team letters (team games)
    std::string bot;
    std::string ratio, eff, skill, score, frags, kills, killed, suicides, deaths, total_deaths,
        teamkills;
    std::string mkiol;    // "" when the player had no kill in any life
    std::string avg_life, fpm, dpm, playtime;
    std::vector<int> health;    // small, normal, large, mega, points; shard, combat, body, points
    std::vector<int> powerups;  // quad, regen, haste, invis, b-suit, flight, medkit, teleporter
    std::vector<int> weapons;   // shotgun, grenade l., rocket l., machinegun, lightning, rail, plasma, bfg
    std::vector<int> ammo;      // the same order
};

struct layout {
    bool team;
    bool bots;  // the Bot column (skip_bots not set)
};

inline const char* const GREY_TABLE = "border=1 cellspacing=0 bordercolor=#000000 bgcolor=#606060";
inline const char* const HEAD_ROW = "<tr align=right bgcolor=#000080>\r\n";

// Row `i` of a game table: grey first, then plain; #, name, team letters, bot.
inline std::string left_cells(layout l, size_t i, const slot_row& p) {
    return (i % 2 == 0 ? "<tr align=right bgcolor=#808080>\r\n" : "<tr align=right>\r\n") +
           td("align=left", std::to_string(i + 1)) + td("align=left", "<b>" + p.name + "</b>") +
           (l.team ? td("align=left", "<center><b>" + p.letters + "</b></center>") : "") +
           (l.bots ? td("align=center", p.bot) : "");
}

inline std::string players_table(const std::string& heading, layout l, const std::vector<slot_row>& rows) {
    std::string t = (heading.empty() ? "" : para(heading)) + table_open(GREY_TABLE) + HEAD_ROW +
                    th("align=left width=20", "#") + th("align=left", "Name") +
                    (l.team ? th("align=left", "Team") : "") + (l.bots ? th("", "Bot") : "") +
                    cells("", {"Ratio", "Eff", "Skill"}, true) + (l.team ? th("", "Score") : "") +
                    cells("", {"Frags", "Kills", "Killed", "Suicides", "Deaths", "T.deaths"}, true) +
                    (l.team ? th("", "Teamkills") : "") +
                    cells("", {"MKIOL", "Avg. life", "FPM", "DPM", "Playtime"}, true) + "</tr>\r\n";
    for (size_t i = 0; i < rows.size(); i++) {
        const slot_row& p = rows[i];
        t += left_cells(l, i, p) + cells("", {p.ratio, p.eff, p.skill}) +
             (l.team ? td("", p.score) : "") +
             cells("", {p.frags, p.kills, p.killed, p.suicides, p.deaths, p.total_deaths}) +
             (l.team ? td("", p.teamkills) : "") +
             (p.mkiol.empty() ? td("align=center", "-") : td("", p.mkiol)) +
             cells("", {p.avg_life, p.fpm, p.dpm, p.playtime}) + "</tr>\r\n";
    }
    return t + table_close();
}

// The four pickup tables of a game page.
inline std::string pickup_tables(layout l, const std::vector<slot_row>& rows) {
    const std::string left = th("align=left width=20", "#") + th("align=left", "Name") +
                             (l.team ? th("align=left", "Team") : "") +
                             (l.bots ? th("align=center", "Bot") : "");
    auto table = [&](const std::string& title, const std::string& heads,
                     std::vector<int> slot_row::*values) {
        std::string t = para("<b>" + title + "</b>") + table_open(GREY_TABLE) + HEAD_ROW + left + heads;
        for (size_t i = 0; i < rows.size(); i++) {
            t += left_cells(l, i, rows[i]);
            for (int v : rows[i].*values) t += td("", std::to_string(v));
            t += "</tr>\r\n";
        }
        return t + table_close();
    };
    const std::vector<std::string> arms = {"Shotgun", "G-Launcher", "R-Launcher", "Machinegun",
                                           "Lightning", "Railgun", "Plasmagun", "BFG"};
    return table("Health & Armor pickups",
                 th("align=center colspan=5", "Health") + th("align=center colspan=4", "Armor") +
                     "</tr>\r\n" + HEAD_ROW +
                     td("colspan=" + std::to_string(2 + l.team + l.bots), "&nbsp;") +
                     "<td>Small</td><td>Normal</td><td>Large</td><td>Mega</td><td><b>Total</b></td>"
                     "<td>Shard</td><td>Combat</td><td>Body</td><td><b>Total</b></td></tr>\r\n",
                 &slot_row::health) +
           table("Powerup pickups",
                 cells("align=center", {"Quad", "Regen", "Haste", "Invis", "B-suit", "Flight",
                                        "Medkit", "Teleporter"}, true) + "</tr>\r\n",
                 &slot_row::powerups) +
           table("Weapon pickups", cells("", arms, true) + "</tr>\r\n", &slot_row::weapons) +
           table("Ammo pickups", cells("", arms, true) + "</tr>\r\n", &slot_row::ammo);
}

// A kill chart: `names` are the plain names of the slots, `matrix[i][j]` the
// kills of slot i on slot j, `kills` the KILLS column, `deaths` the DEATHS row.
inline std::string killchart(const std::string& weapon, const std::vector<std::string>& names,
                             const std::vector<std::vector<int>>& matrix, const std::vector<int>& kills,
                             const std::vector<int>& deaths, int total) {
    auto number = [](size_t n) {
        return "<p align=center><font color=#FF0000><b>" + std::to_string(n) + "</b></font></p></td>\r\n";
    };
    auto bold = [](int n) { return "<td><p align=right><b>" + std::to_string(n) + "</b></p></td>\r\n"; };
    const size_t n = names.size();
    std::string t = table_open("border=1 cellspacing=0 bgcolor=#606060 bordercolor=#000000") +
                    "<tr bgcolor=000080>\r\n<td align=center colspan=" + std::to_string(n + 3) +
                    "><b>Killchart (" + weapon + ")</b></td>\r\n</tr>\r\n" +
                    "<tr>\r\n<td>&nbsp;</td>\r\n<td>&nbsp;</td>\r\n";
    for (size_t j = 1; j <= n; j++) t += "<td>" + number(j);
    t += "<td><b>KILLS</b></td>\r\n</tr>\r\n";
    for (size_t i = 0; i < n; i++) {
        t += "<tr>\r\n" +
             (names[i].empty() ? "<td>&nbsp;</td>\r\n" : "<td><b>" + names[i] + "</b></td>\r\n") +
             "<td width=20>" + number(i + 1);
        for (size_t j = 0; j < n; j++) {
            const std::string c = std::to_string(matrix[i][j]);
            t += i == j ? "<td width=20><p align=right><font color=#0000FF>" + c + "</font></p></td>\r\n"
                        : "<td width=20><p align=right>" + c + "</p></td>\r\n";
        }
        t += bold(kills[i]) + "</tr>\r\n";
    }
    t += "<tr>\r\n<td><b>DEATHS</b></td>\r\n<td>&nbsp;</td>\r\n";
    for (int d : deaths) t += bold(d);
    return t + bold(total) + "</tr>\r\n" + table_close() + "<p></p>";
}

inline std::string game_info(const std::string& map, const std::string& name, const std::string& type,
                             int timelimit, int fraglimit) {
    std::string t = para("<b>Game info</b>") + table_open("border=1 cellspacing=0 bordercolor=#000000");
    const std::pair<const char*, std::string> rows[] = {
        {"Map", map}, {"Game", name}, {"Gametype", type},
        {"Timelimit", std::to_string(timelimit)}, {"Fraglimit", std::to_string(fraglimit)}};
    for (const auto& r : rows)
        t += "<tr>\r\n" + th("bgcolor=#000080", r.first) +
             td("bgcolor=#606060", "<p align=right>" + r.second + "</p>") + "</tr>\r\n";
    return t + table_close();
}

inline std::string title_link(const std::string& href, const std::string& text) {
    return "<p class=\"title\"><a href=\"" + href + "\"><font color=red>" + text + "</font></a></p>";
}

// The links at the top of game pages and list files (up to the game index).
inline std::string top_links(const std::string& homepage, int top, const char* index_word) {
    std::string t = stamp();
    if (!homepage.empty()) t += title_link(homepage, "VEXO homepage");
    t += title_link("../players.htm", "All players");
    if (top > 0) t += title_link("../top_players.htm", "Top " + std::to_string(top) + " players");
    return t + title_link("../games.htm", index_word);
}

inline std::string game_page_top(int game, int list, const std::string& homepage, int top) {
    return top_links(homepage, top, "Game index") +
           title_link("games" + std::to_string(list) + ".htm", "Game list") +
           "<p class=\"title\">Game " + std::to_string(game) + "</p>";
}

inline std::string list_top(const std::string& homepage, int top, const std::string& word) {
    return top_links(homepage, top, "Game Index") +
           para("<b>Games with less than two players are not listed\r\n</b>") +
           para("<b>Players without kills or deaths are ignored</b>") +
           para("<b>Players are sorted by " + word + "</b><br>(in team games by team and score)");
}

inline std::string list_entry(int game, const std::string& map, const std::string& type) {
    const std::string g = std::to_string(game);
    return para("<b><font size=\"3\"><a href=\"game_" + g + ".htm\"><font color=\"#FF0000\">Game " +
                g + "</font></a><br>(" + map + " - " + type + ")</font></b>");
}

// The position of the first difference, to make a failed page comparison
// readable (gtest prints both texts in full as well).
inline std::string first_difference(const std::string& expected, const std::string& actual) {
    size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) i++;
    auto around = [i](const std::string& s) {
        const size_t from = i > 60 ? i - 60 : 0;
        return s.substr(from, 140);
    };
    return "first difference at byte " + std::to_string(i) + "\nexpected: ..." + around(expected) +
           "\nactual:   ..." + around(actual);
}

#define EXPECT_PAGE(expected, actual)                                                  \
    do {                                                                               \
        const std::string expected_page_ = (expected);                                 \
        const std::string actual_page_ = (actual);                                     \
        EXPECT_TRUE(expected_page_ == actual_page_)                                    \
            << pagetest::first_difference(expected_page_, actual_page_);               \
    } while (0)

}  // namespace pagetest
