// The end-of-run pages of the results folder: games.htm and the ranking pages
// of the full and the top set, checked whole for a small totals set.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/vexo_main.h"
#include "game/resultdata.h"
#include "page_expect.h"
#include "total/resultdata_total.h"

using namespace pagetest;

namespace {

// One ranking row as the pages show it, derived by hand from the two games
// built below (see build_totals).
struct rank_row {
    int id;
    const char* name;
    const char* bot;
    const char* ratio;
    const char* eff;
    const char* skill;
    const char* frags;
    const char* kills;
    const char* killed;
    const char* suicides;
    const char* deaths;
    const char* total_deaths;
    const char* fpm;
    const char* dpm;
    const char* playtime;
    const char* games;
    const char* ping;
};

// Alice: 6 kills, 2 killed, 900 s, 2 games, pings 50 and 61.
const rank_row A = {1, "Alice", "-", "0.27", "75.0", "2.00", "6", "6", "2", "0", "0", "2",
                    "0.40", "0.13", "00:15 h", "2", "55"};
// Bob, a bot of skill 4: 1 kill, 4 killed, 600 s.
const rank_row B = {2, "Bob", "(4)", "-0.30", "20.0", "0.20", "1", "1", "4", "0", "0", "4",
                    "0.10", "0.40", "00:10 h", "1", "-"};
// ^1Carl: 1 kill, 1 killed, 1 suicide, 1 world death, 400 s, ping 100.
const rank_row C = {3, "<font color=\"red\">Carl</font>", "-", "-0.60", "25.0", "0.25", "-1", "1", "1", "1", "1", "3",
                    "-0.15", "0.45", "00:06 h", "1", "100"};
// Dave: 1 kill, 3 killed, 300 s.
const rank_row D = {4, "Dave", "-", "-0.40", "25.0", "0.25", "1", "1", "3", "0", "0", "3",
                    "0.20", "0.60", "00:05 h", "1", "-"};
// Eve: 1 kill in a game she joined at its last second: no play time.
const rank_row E = {5, "Eve", "-", "ERR", "100.0", "1.00", "1", "1", "0", "0", "0", "0",
                    "0.00", "0.00", "00:00 h", "1", "-"};

std::string ranking_head_row(const std::string& prefix, bool bots) {
    auto link = [&](const char* file, const char* text) {
        return "<a href=\"" + prefix + file + "\">" + text + "</a>";
    };
    return "<tr align=right bgcolor=#000080>\r\n" +
           th("align=left width=20", "#") +
           th("align=left", "<a href=\"players_name.htm\">Name</a>") +
           (bots ? th("align=left", "Bot") : "") +
           th("", link("players_ratio.htm", "Ratio")) +
           th("", link("players_eff.htm", "Eff")) +
           th("", link("players_skill.htm", "Skill")) +
           th("", link("players_frags.htm", "Frags")) +
           th("", link("players_kills.htm", "Kills")) +
           th("", "Killed") + th("", "Suicides") + th("", "Deaths") + th("", "T.deaths") +
           th("", "FPM") + th("", "DPM") +
           th("", link("players_playtime.htm", "Playtime")) +
           th("", "Games") + th("", "Ping") +
           "</tr>\r\n";
}

std::string ranking_rows(const std::vector<rank_row>& rows, bool bots) {
    std::string text;
    int r = 1;
    for (const rank_row& p : rows) {
        text += (r % 2) ? "<tr align=right>\r\n" : "<tr align=right bgcolor=#808080>\r\n";
        text += td("align=left", std::to_string(r));
        text += td("align=left", "<b><a href=\"vexo_players/player_" + std::to_string(p.id) +
                                     ".htm\">" + p.name + "</a></b>");
        if (bots) text += td("align=center", p.bot);
        for (const char* value : {p.ratio, p.eff, p.skill, p.frags, p.kills, p.killed, p.suicides,
                                  p.deaths, p.total_deaths, p.fpm, p.dpm, p.playtime, p.games,
                                  p.ping})
            text += td("", value);
        text += "</tr>\r\n";
        r++;
    }
    return text;
}

struct ranking_expect {
    std::string top_lines;   // the homepage line and the link to the other set
    std::string title;       // the title paragraph
    std::string limits;      // the limits block, if any
    int games;
    std::string prefix;
    bool bots;
    std::vector<rank_row> rows;
};

std::string ranking_page(const ranking_expect& e) {
    return head() + stamp() + e.top_lines +
           "<p class=title><a href=\"games.htm\"><font color=red>Game index</font></a></p>" +
           e.title + e.limits +
           "<p class=title>Number of games: " + std::to_string(e.games) + "</p>" +
           table_open("border=1 cellspacing=0 bordercolor=#000000 bgcolor=#606060") +
           ranking_head_row(e.prefix, e.bots) + ranking_rows(e.rows, e.bots) +
           table_close() + foot(true);
}

std::string ranking_title(const char* word) {
    return std::string("<p class=title>Player ranking<br>(sorted by ") + word + ")</p>";
}

class RankingPages : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        player_id_counter = 0;
    }

    // Game 1, free for all, 600 s: Alice and the bot Bob from 0 s, Carl from 200 s.
    // Game 2, free for all, 300 s: Alice and Dave from 0 s, Eve from its last second.
    void build_totals() {
        auto game = std::make_unique<resultdata>(&vm.settings);
        resultdata& g = *game;
        g.reset();
        g.init_game(0);
        g.set_game_type(0);
        join(g, 0, "Alice", -1, 0, 0);
        join(g, 1, "Bob", 4, 0, 0);
        join(g, 2, "^1Carl", -1, 0, 200);
        kill(g, 0, 1, 10, 10, 3);
        kill(g, 0, 2, 6, 210);
        kill(g, 1, 0, 6, 220);
        kill(g, 2, 2, 4, 230);     // suicide
        kill(g, 1022, 2, 19, 240); // the world
        kill(g, 2, 1, 3, 250);
        g.add_ping(0, 50);
        g.add_ping(0, 61);
        g.add_ping(2, 100);
        g.end_game(600);
        totals.add_game(g);

        g.reset();
        g.init_game(0);
        g.set_game_type(0);
        join(g, 0, "Alice", -1, 0, 0);
        join(g, 1, "Dave", -1, 0, 0);
        join(g, 2, "Eve", -1, 0, 300);
        kill(g, 0, 1, 1, 10, 2);
        kill(g, 1, 0, 2, 30);
        kill(g, 2, 1, 8, 300);
        g.end_game(300);
        totals.add_game(g);
        vm.games_written = 2;
    }

    std::vector<bool> listed() {
        std::vector<bool> flags;
        for (const player_total_t* p : totals.player_list()) flags.push_back(p->listed);
        return flags;
    }

    int rows_in(const std::string& file) {
        const std::string page = read_page(file);
        int rows = 0;
        for (size_t at = 0; (at = page.find("<tr align=right", at)) != std::string::npos; at++)
            rows++;
        return rows - 1;  // the head row
    }

    vexo_main vm;
    resultdata_total totals;
};

TEST_F(RankingPages, FullSetWithoutLimits) {
    build_totals();
    vm.settings.sort_order = 7;  // players.htm by frags
    vm.write_rankings(&totals, 0);

    struct page {
        const char* file;
        const char* word;
        std::vector<rank_row> rows;
    };
    // Each file sorts the list as the file before it left it; ties keep the
    // order the exchange sort gives them.
    const page pages[] = {
        {"players.htm", "frags", {A, B, D, E, C}},
        {"players_ratio.htm", "ratio", {A, B, D, C, E}},
        {"players_name.htm", "name", {A, B, C, D, E}},
        {"players_eff.htm", "eff", {E, A, D, C, B}},
        {"players_skill.htm", "skill", {A, E, D, C, B}},
        {"players_frags.htm", "frags", {A, E, D, B, C}},
        {"players_kills.htm", "kills", {A, E, D, B, C}},
        {"players_playtime.htm", "playtime", {A, B, C, D, E}},
    };
    for (const page& p : pages) {
        SCOPED_TRACE(p.file);
        EXPECT_PAGE(ranking_page({"", ranking_title(p.word), "", 2, "", true, p.rows}),
                    read_page(p.file));
    }
    EXPECT_FALSE(file_exists("top_players.htm"));
    EXPECT_EQ(listed(), std::vector<bool>(5, true));
}

TEST_F(RankingPages, LimitsLeaveOutPlayersWithoutGapsAndSkipBotsDropsTheBotColumn) {
    build_totals();
    vm.settings.filters_given = true;
    vm.settings.min_kills = 1;
    vm.settings.min_games = 1;
    vm.settings.min_playtime = 350;  // Dave (300 s) and Eve (0 s) fall short
    vm.settings.skip_bots = true;
    vm.write_rankings(&totals, 0);

    const std::string limits =
        "<p><b><font size=3>Limits used:</font></b>"
        "<br>min_kills: 1<br>min_games: 1<br>min_playtime: 00:05:50 h<br>no_bots: true</p>";
    // By ratio the list is Alice, Bob, Dave, Carl, Eve: Carl takes row 3.
    EXPECT_PAGE(ranking_page({"", ranking_title("ratio"), limits, 2, "", false, {A, B, C}}),
                read_page("players.htm"));
    EXPECT_PAGE(ranking_page({"", ranking_title("name"), limits, 2, "", false, {A, B, C}}),
                read_page("players_name.htm"));
    EXPECT_EQ(listed(), (std::vector<bool>{true, true, true, false, false}));
}

TEST_F(RankingPages, MaxPlayersCutsEveryPageButTheNamePage) {
    build_totals();
    vm.settings.filters_given = true;
    vm.settings.max_players = 2;
    vm.write_rankings(&totals, 0);

    const std::string block = "<p><b><font size=3>Limits used:</font></b>";
    EXPECT_PAGE(ranking_page({"", ranking_title("ratio"), block + "<br>max_players: 2</p>", 2, "",
                              true, {A, B}}),
                read_page("players.htm"));
    EXPECT_PAGE(ranking_page({"", ranking_title("name"), block + "</p>", 2, "", true,
                              {A, B, C, D, E}}),
                read_page("players_name.htm"));
    for (const char* file : {"players_ratio.htm", "players_eff.htm", "players_skill.htm",
                             "players_frags.htm", "players_kills.htm", "players_playtime.htm"}) {
        EXPECT_EQ(rows_in(file), 2) << file;
        EXPECT_NE(read_page(file).find("<br>max_players: 2</p>"), std::string::npos) << file;
    }
    EXPECT_EQ(listed(), std::vector<bool>(5, true));
}

TEST_F(RankingPages, TopSetWithHomepage) {
    build_totals();
    vm.settings.top_players = 3;
    copy_field(vm.settings.homepage_address, sizeof vm.settings.homepage_address,
               "http://stats.example.org/");
    vm.write_rankings(&totals, 0);
    vm.write_rankings(&totals, 3);

    // On ranking pages the homepage line has no closing paragraph tag.
    const std::string home =
        "<p class=title><a href=\"http://stats.example.org/\"><font color=red>VEXO homepage</font></a>";
    EXPECT_PAGE(ranking_page({home +
                                  "<p class=title><a href=\"top_players.htm\"><font color=red>Top 3 "
                                  "players</font></a></p>",
                              ranking_title("ratio"), "", 2, "", true, {A, B, D, C, E}}),
                read_page("players.htm"));

    const std::string all_players =
        "<p class=title><a href=\"players.htm\"><font color=red>All players</font></a></p>";
    EXPECT_PAGE(ranking_page({home + all_players,
                              "<p class=title>Top 3 players<br>(sorted by ratio)</p>", "", 2,
                              "top_", true, {A, B, D}}),
                read_page("top_players.htm"));
    EXPECT_PAGE(ranking_page({home + all_players,
                              "<p class=title>Top 3 players<br>(sorted by name)</p>", "", 2,
                              "top_", true, {A, B, C}}),
                read_page("top_players_name.htm"));
    for (const char* file : {"top_players_ratio.htm", "top_players_eff.htm", "top_players_skill.htm",
                             "top_players_frags.htm", "top_players_kills.htm",
                             "top_players_playtime.htm"})
        EXPECT_EQ(rows_in(file), 3) << file;
}

TEST_F(RankingPages, PlainNamesWhenColourNamesAreOff) {
    build_totals();
    vm.settings.no_funnames = true;
    vm.write_rankings(&totals, 0);
    rank_row plain_carl = C;
    plain_carl.name = "Carl";
    EXPECT_PAGE(ranking_page({"", ranking_title("ratio"), "", 2, "", true, {A, B, D, plain_carl, E}}),
                read_page("players.htm"));
}

TEST_F(RankingPages, RunWithoutGamesHasNoRows) {
    vm.write_rankings(&totals, 0);
    EXPECT_PAGE(ranking_page({"", ranking_title("ratio"), "", 0, "", true, {}}),
                read_page("players.htm"));
    EXPECT_PAGE(ranking_page({"", ranking_title("name"), "", 0, "", true, {}}),
                read_page("players_name.htm"));
}

TEST_F(RankingPages, GameIndexLinksEveryListFile) {
    // A link to list file `list` with its first and last game.
    auto link = [](int list, int first, int last) {
        return para("<a href=\"vexo_games/games" + std::to_string(list) +
                    ".htm\"><font color=\"#FFFFFF\"><b>Games " + std::to_string(first) + " - " +
                    std::to_string(last) + "</b></font></a>");
    };
    struct index_case {
        int games;
        int top;
        std::string homepage;
        std::string links;
    };
    const index_case cases[] = {
        {0, 0, "", ""},
        {100, 0, "", link(1, 1, 50) + link(2, 51, 100)},
        {120, 10, "http://stats.example.org/?a=1&b=2",
         link(1, 1, 50) + link(2, 51, 100) + link(3, 101, 120)},
        {1, 0, "", link(1, 1, 1)},
        {51, 0, "", link(1, 1, 50) + link(2, 51, 51)},
    };
    for (const index_case& c : cases) {
        SCOPED_TRACE(c.games);
        vm.games_written = c.games;
        vm.settings.top_players = c.top;
        copy_field(vm.settings.homepage_address, sizeof vm.settings.homepage_address,
                   c.homepage.c_str());
        vm.write_game_index();
        std::string expected = head() + stamp();
        if (!c.homepage.empty())
            expected += "<p class=\"title\"><a href=\"" + c.homepage +
                        "\"><font color=red>VEXO homepage</font></a></p>";
        expected += "<p class=\"title\"><a href=\"players.htm\"><font color=red>All "
                    "players</font></a></p>";
        if (c.top > 0)
            expected += "<p class=\"title\"><a href=\"top_players.htm\"><font color=red>Top " +
                        std::to_string(c.top) + " players</font></a></p>";
        expected += c.links + foot(false);
        EXPECT_PAGE(expected, read_page("games.htm"));
    }
}

}  // namespace
