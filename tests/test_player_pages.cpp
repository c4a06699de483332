// Per-player pages: player info, weapon stats with shares and the
// player-versus-player table, checked whole for the players of a team game
// and a free-for-all game merged into one totals set.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/vexo_main.h"
#include "game/resultdata.h"
#include "page_expect.h"
#include "platform/platform.h"
#include "total/resultdata_total.h"

using namespace pagetest;

namespace {

// Bea plays as ^4Bea, then as ^4bea: her pages keep the first form.
#define BEA "<font color=\"blue\">Bea</font>"

struct weapon_row {
    const char* weapon;
    const char* kills;
    const char* kill_share;
    const char* deaths;
    const char* death_share;
};

struct enemy_row {
    const char* cell;  // the linked name, or UNLISTED
    const char* kills;
    const char* deaths;
    const char* eff;   // "" in the UNLISTED row
};

struct player_expect {
    std::string name;
    int top;
    std::vector<const char*> info;  // Frags, Kills, Killed, Suicides, Deaths, T.deaths, Eff
    std::vector<weapon_row> weapons;
    std::vector<const char*> weapon_total;  // kills, deaths
    std::vector<enemy_row> enemies;
    std::vector<const char*> enemy_total;   // kills, deaths
};

std::string player_page(const player_expect& e) {
    std::string t = head() +
                    "<p class=\"title\"><a href=\"../players.htm\"><font color=red>All "
                    "players</font></a></p>";
    if (e.top > 0)
        t += "<p class=\"title\"><a href=\"../top_players.htm\"><font color=red>Top " +
             std::to_string(e.top) + " players</font></a></p>";
    t += "<p class=\"title\"><span style=\"background-color: #808080\">" + e.name + "</span></p>";

    t += para("<b>Player info</b>") + table_open("border=1 cellspacing=0 bordercolor=#000000") +
         "<tr>\r\n";
    for (const char* h : {"Frags", "Kills", "Killed", "Suicides", "Deaths", "T.deaths", "Eff"})
        t += th("bgcolor=#000080", h);
    t += "</tr>\r\n<tr align=\"right\">\r\n";
    for (const char* v : e.info) t += td("bgcolor=#606060", v);
    t += "</tr>\r\n" + table_close();

    const std::string table = "border=1 cellspacing=0 bgcolor=#606060 bordercolor=#000000";
    const std::string span = "colspan=2 align=center bgcolor=#000080";
    const std::string left = "width=120 align=left";
    const std::string right = "width=60 align=right";
    t += para("<b>Weapon stats</b>") + table_open(table) + "<tr bgcolor=000080>\r\n" +
         th("bgcolor=#000080", "Weapon") + th(span, "Kills") + th(span, "Deaths") + "</tr>\r\n";
    for (const weapon_row& w : e.weapons)
        t += "<tr>\r\n" + th(left, w.weapon) + td(right, w.kills) + td(right, w.kill_share) +
             td(right, w.deaths) + td(right, w.death_share) + "</tr>\r\n";
    t += "<tr>\r\n" + th(left, "TOTAL") + th(right, e.weapon_total[0]) + th(right, "100 %") +
         th(right, e.weapon_total[1]) + th(right, "100 %") + "</tr>\r\n" + table_close();

    t += para("<b>Player vs player stats</b>") + table_open(table) + "<tr bgcolor=000080>\r\n";
    for (const char* h : {"Enemy", "Kills", "Deaths", "Enemy Eff"}) t += th("bgcolor=#000080", h);
    t += "</tr>\r\n";
    for (const enemy_row& r : e.enemies)
        t += "<tr>\r\n" + th("align=left", r.cell) + td("align=right", r.kills) +
             td("align=right", r.deaths) +
             (*r.eff ? td("align=right", r.eff) : th("align=right", "-")) + "</tr>\r\n";
    t += "<tr>\r\n" + th("align=left", "TOTAL") + th("align=right", e.enemy_total[0]) +
         th("align=right", e.enemy_total[1]) + th("align=right", "-") + "</tr>\r\n" +
         table_close();
    return t + foot(false);
}

// The targets of every href="..." (or HREF="...") of a page.
std::vector<std::string> link_targets(const std::string& page) {
    std::vector<std::string> targets;
    for (const char* attribute : {"href=\"", "HREF=\""}) {
        const std::string a = attribute;
        for (size_t at = page.find(a); at != std::string::npos; at = page.find(a, at + 1)) {
            const size_t start = at + a.size();
            const size_t end = page.find('"', start);
            if (end == std::string::npos) break;
            targets.push_back(page.substr(start, end - start));
        }
    }
    return targets;
}

class PlayerPages : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        player_id_counter = 0;
    }

    // Team game, 120 s: Rita (red), Bea (blue), Sam (red, then blue). Rita kills
    // Bea and her team mate Sam with the Machinegun; Bea kills Rita with Rocket
    // and Railgun, Sam (now blue) kills her with the Railgun; Bea falls.
    // Free for all, 60 s: Rita kills Ugo and Bea with the Plasma, Ugo kills Rita
    // with weapon id 0, Bea kills Ugo with the Shotgun.
    // Ids: Rita 1, Bea 2, Sam 3, Ugo 4.
    // `as_the_driver_does`: each game goes through the game writer first
    // (pages, list entry, removals and team order) and is merged when listed.
    void build_totals(bool as_the_driver_does = false) {
        auto game = std::make_unique<resultdata>(&vm.settings);
        resultdata& g = *game;
        g.reset();
        g.init_game(0);
        g.set_game_type(3);
        join(g, 0, "Rita", -1, 1, 0);
        join(g, 1, "^4Bea", -1, 2, 0);
        join(g, 2, "Sam", -1, 1, 0);
        kill(g, 0, 1, 3, 10);
        kill(g, 0, 2, 3, 20);
        kill(g, 1, 0, 6, 30);
        g.client_userinfo(2, "Sam", -1, 2, 50);
        kill(g, 2, 0, 10, 60);
        kill(g, 1, 0, 10, 70);
        kill(g, 1022, 1, 19, 80);
        g.end_game(120);
        merge(g, as_the_driver_does);

        g.reset();
        g.init_game(0);
        g.set_game_type(0);
        join(g, 0, "Rita", -1, 0, 0);
        join(g, 1, "^4bea", -1, 0, 0);  // the same player
        join(g, 2, "Ugo", -1, 0, 0);
        kill(g, 0, 2, 8, 10);
        kill(g, 0, 1, 8, 20);
        kill(g, 2, 0, 0, 30);
        kill(g, 1, 2, 1, 40);
        g.end_game(60);
        merge(g, as_the_driver_does);
        if (!as_the_driver_does) vm.games_written = 2;
    }

    void merge(resultdata& g, bool as_the_driver_does) {
        if (!as_the_driver_does) {
            totals.add_game(g);
            return;
        }
        g.sort_players(vm.settings.sort_order, false);
        ASSERT_TRUE(vm.write_game(&g, nullptr));
        totals.add_game(g);
    }

    // The end of a run: rankings mark the listed players, then their pages.
    void write_pages() {
        vm.write_rankings(&totals, 0);
        ASSERT_TRUE(platform::make_dir("vexo_players"));
        ASSERT_EQ(chdir("vexo_players"), 0);
        testing::internal::CaptureStdout();
        vm.write_player_pages(&totals);
        progress = testing::internal::GetCapturedStdout();
        ASSERT_EQ(chdir(".."), 0);
    }

    vexo_main vm;
    resultdata_total totals;
    std::string progress;  // what write_player_pages printed
};

TEST_F(PlayerPages, OpponentsBelowTheLimitsAddUpInTheUnlistedRow) {
    build_totals();
    vm.settings.filters_given = true;
    vm.settings.min_games = 2;  // Sam and Ugo played one game each
    write_pages();

    EXPECT_FALSE(file_exists("vexo_players/player_3.htm"));
    EXPECT_FALSE(file_exists("vexo_players/player_4.htm"));
    // The list is left by frags, kills, playtime: Rita, Bea, then the two who
    // have no page and print no progress.
    EXPECT_EQ(progress, "\b\b\b\b\b\b\b( 25 %)\b\b\b\b\b\b\b( 50 %)\b\b\b\b\b\b\b(100 %)");

    // Rita: 3 kills (Machinegun 1, Plasma 2), 4 times killed (Rocket 1,
    // Railgun 2, and the kill of weapon id 0, which has no row of its own).
    // Her team kill of Sam counts against Sam in her table, not in her kills.
    EXPECT_PAGE(player_page({"Rita", 0,
                             {"3", "3", "4", "0", "0", "4", "42.86"},
                             {{"Machinegun", "1", "33 %", "0", "0 %"},
                              {"Rocket", "0", "0 %", "1", "25 %"},
                              {"Plasma", "2", "67 %", "0", "0 %"},
                              {"Railgun", "0", "0 %", "2", "50 %"}},
                             {"3", "4"},
                             {{"<a href=\"player_2.htm\">" BEA "</a>", "2", "2", "50.00"},
                              {"UNLISTED", "2", "2", ""}},
                             {"3", "4"}}),
                read_page("vexo_players/player_1.htm"));

    // Bea never met Sam in a kill: no row and nothing in UNLISTED for him.
    EXPECT_PAGE(player_page({BEA, 0,
                             {"2", "3", "2", "0", "1", "3", "50.00"},
                             {{"Shotgun", "1", "33 %", "0", "0 %"},
                              {"Machinegun", "0", "0 %", "1", "50 %"},
                              {"Rocket", "1", "33 %", "0", "0 %"},
                              {"Plasma", "0", "0 %", "1", "50 %"},
                              {"Railgun", "1", "33 %", "0", "0 %"}},
                             {"3", "2"},
                             {{"<a href=\"player_1.htm\">Rita</a>", "2", "2", "42.86"},
                              {"UNLISTED", "1", "0", ""}},
                             {"3", "2"}}),
                read_page("vexo_players/player_2.htm"));
}

TEST_F(PlayerPages, EveryOpponentLinkedWithoutLimits) {
    build_totals();
    vm.settings.top_players = 2;
    write_pages();

    for (int id = 1; id <= 4; id++)
        EXPECT_TRUE(file_exists("vexo_players/player_" + std::to_string(id) + ".htm")) << id;

    // Sam was never killed: his death share is 0 %.
    EXPECT_PAGE(player_page({"Sam", 2,
                             {"1", "1", "0", "0", "0", "0", "100.00"},
                             {{"Railgun", "1", "100 %", "0", "0 %"}},
                             {"1", "0"},
                             {{"<a href=\"player_1.htm\">Rita</a>", "1", "1", "42.86"}},
                             {"1", "0"}}),
                read_page("vexo_players/player_3.htm"));

    // Ugo's only kill was of weapon id 0: it is in the totals, never a row.
    EXPECT_PAGE(player_page({"Ugo", 2,
                             {"1", "1", "2", "0", "0", "2", "33.33"},
                             {{"Shotgun", "0", "0 %", "1", "50 %"},
                              {"Plasma", "0", "0 %", "1", "50 %"}},
                             {"1", "2"},
                             {{"<a href=\"player_1.htm\">Rita</a>", "1", "1", "42.86"},
                              {"<a href=\"player_2.htm\">" BEA "</a>", "0", "1", "50.00"}},
                             {"1", "2"}}),
                read_page("vexo_players/player_4.htm"));
}

TEST_F(PlayerPages, NoListedPlayerNoPage) {
    build_totals();
    vm.settings.filters_given = true;
    vm.settings.min_kills = 100;
    write_pages();
    EXPECT_TRUE(std::filesystem::is_empty("vexo_players"));
    EXPECT_EQ(progress, "\b\b\b\b\b\b\b(100 %)");
}

// Every link of a results tree written as at the end of a run leads to a
// file of the tree (web and mail addresses aside).
TEST_F(PlayerPages, EveryLinkOfTheResultsTreeResolves) {
    vm.settings.top_players = 2;
    vm.settings.data_file = true;
    vm.settings.stylesheet_file = true;
    vm.settings.games_per_file = 1;
    { std::ofstream css("vexo.css"); css << "body { }\n"; }
    build_totals(true);
    if (vm.game_list.is_open()) vm.close_game_list();
    vm.write_game_index();
    vm.write_rankings(&totals, 0);
    vm.write_rankings(&totals, vm.settings.top_players);
    write_pages();

    namespace fs = std::filesystem;
    int links = 0;
    int pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
        if (entry.path().extension() != ".htm") continue;
        pages++;
        const std::string page = read_raw(entry.path().string());
        for (const std::string& target : link_targets(page)) {
            if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0)
                continue;
            links++;
            EXPECT_TRUE(fs::exists(entry.path().parent_path() / target))
                << entry.path() << " links " << target;
        }
    }
    // games.htm, 16 ranking pages, 2 game pages, 2 list files, 4 player pages
    EXPECT_EQ(pages, 25);
    EXPECT_GT(links, 200);
    EXPECT_TRUE(file_exists("vexodata.txt"));
}

}  // namespace
