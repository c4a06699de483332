// Game pages, game-list files and the data file: whole pages for a small
// free-for-all game and a small team game, and the list and numbering rules.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/vexo_main.h"
#include "game/resultdata.h"
#include "page_expect.h"

using namespace pagetest;

namespace {

class GamePages : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        game = std::make_unique<resultdata>(&vm.settings);
    }

    void start(int type, const char* map, const char* name, int timelimit, int fraglimit) {
        resultdata& g = *game;
        g.reset();
        g.init_game(0);
        g.set_game_type(type);
        copy_field(g.map_name, sizeof g.map_name, map);
        copy_field(g.game_name, sizeof g.game_name, name);
        g.timelimit = timelimit;
        g.fraglimit = fraglimit;
    }

    // As the driver does: sort by the run's order, then hand the game over.
    bool finish(int end_time) {
        game->end_game(end_time);
        game->sort_players(vm.settings.sort_order, false);
        return vm.write_game(game.get(), nullptr);
    }

    void close_list() {
        if (vm.game_list.is_open()) vm.close_game_list();
    }

    // Free for all, 100 s: Alice, the bot Bob (coloured name), a player with an empty name
    // (from 10 s) and Idle, who never kills or dies.
    void free_for_all() {
        start(0, "arena<b>&1", "base<i>", 15, 20);
        resultdata& g = *game;
        join(g, 0, "Alice", -1, 0, 0);
        join(g, 1, "^4Bo^7b", 3, 0, 0);  // coloured in tables, plain in charts
        join(g, 2, "", -1, 0, 10);
        join(g, 3, "Idle", -1, 0, 0);
        kill(g, 0, 1, 10, 10);
        kill(g, 0, 1, 10, 20);
        kill(g, 0, 2, 6, 30);      // Alice's best life: 3 kills in 40 s
        kill(g, 1, 0, 6, 40);
        kill(g, 2, 2, 4, 50);      // suicide: a matrix cell, no Grenade chart
        kill(g, 1022, 0, 19, 60);  // the world
        for (const char* item : {"item_health", "item_health", "item_armor_shard",
                                 "item_armor_shard", "item_armor_shard", "item_quad",
                                 "weapon_railgun", "ammo_slugs", "ammo_slugs"})
            g.add_item(0, item, 5);
        for (const char* item : {"item_health_mega", "item_armor_body", "weapon_rocketlauncher",
                                 "ammo_rockets", "ammo_rockets", "ammo_rockets", "item_haste"})
            g.add_item(1, item, 5);
        for (const char* item : {"item_health_small", "item_health_small", "item_health_small",
                                 "item_health_small", "holdable_teleporter", "team_CTF_redflag",
                                 "item_unknown"})
            g.add_item(2, item, 15);
    }

    // Team deathmatch, 120 s: Rita (red), Bea (blue), Sam (red, blue from 50 s).
    void team_game() {
        start(3, "arena7", "vexotest", 20, 0);
        resultdata& g = *game;
        join(g, 0, "Rita", -1, 1, 0);
        join(g, 1, "Bea", -1, 2, 0);
        join(g, 2, "Sam", -1, 1, 0);
        kill(g, 0, 1, 3, 10);
        kill(g, 0, 2, 3, 20);  // team kill
        kill(g, 1, 0, 6, 30);
        g.client_userinfo(2, "Sam", -1, 2, 50);
        kill(g, 2, 0, 10, 60);
        kill(g, 1, 0, 10, 70);
        kill(g, 1022, 1, 19, 80);
        g.add_item(2, "item_armor_combat", 90);
    }

    // Two humans who kill each other once, and a bot.
    void small_game(int type, int team_a, int team_b) {
        start(type, "arena2", "vexotest", 10, 10);
        resultdata& g = *game;
        join(g, 0, "Hugo", -1, team_a, 0);
        join(g, 1, "Ida", -1, team_b, 0);
        join(g, 2, "Botty", 2, team_b, 0);
        kill(g, 0, 1, 3, 10);
        kill(g, 1, 0, 3, 20);
        kill(g, 2, 0, 3, 30);
    }

    vexo_main vm;
    std::unique_ptr<resultdata> game;
};

TEST_F(GamePages, FreeForAllGamePageAndListFile) {
    vm.settings.top_players = 5;
    copy_field(vm.settings.homepage_address, sizeof vm.settings.homepage_address,
               "http://stats.example.org/");
    free_for_all();
    ASSERT_TRUE(finish(100));
    close_list();
    EXPECT_EQ(vm.games_written, 1);

    const layout l{false, true};
    const std::vector<int> none(8, 0);
    const std::vector<slot_row> rows = {
        {"Alice", "", "-", "0.00", "60.0", "1.00", "", "2", "3", "1", "0", "1", "2", "",
         "3 (0:40 min)", "0:33 min", "1.20", "1.20", "00:01 h",
         {0, 2, 0, 0, 50, 3, 0, 0, 15}, {1, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1, 0, 0},
         {0, 0, 0, 0, 0, 2, 0, 0}},
        {"<font color=\"blue\">Bo</font><font color=\"white\">b</font>", "", "(3)", "-0.60", "33.3", "0.33", "", "1", "1", "2", "0", "0", "2", "",
         "1 (1:20 min)", "0:33 min", "0.60", "1.20", "00:01 h",
         {0, 0, 0, 1, 100, 0, 0, 1, 100}, {0, 0, 1, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0, 0, 0},
         {0, 0, 3, 0, 0, 0, 0, 0}},
        {"", "", "-", "-2.00", "0.0", "0.00", "", "-1", "0", "1", "1", "0", "2", "", "",
         "0:30 min", "-0.67", "1.33", "00:01 h",
         {4, 0, 0, 0, 20, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 1}, none, none},
    };
    const std::vector<std::string> names = {"Alice", "Bob", ""};
    const std::string map = "arena&lt;b&gt;&amp;1";
    const std::string home = "http://stats.example.org/";

    EXPECT_PAGE(head() + game_page_top(1, 1, home, 5) +
                    game_info(map, "base&lt;i&gt;", "FFA", 15, 20) +
                    players_table("<b>Players (sorted by ratio)</b>", l, rows) +
                    pickup_tables(l, rows) + para("<b>Killcharts</b>") +
                    killchart("All weapons", names, {{0, 2, 1}, {1, 0, 0}, {0, 0, 1}}, {3, 1, 0},
                              {1, 2, 1}, 4) +
                    killchart("Rocket", names, {{0, 0, 1}, {1, 0, 0}, {0, 0, 0}}, {1, 1, 0},
                              {1, 0, 1}, 2) +
                    killchart("Railgun", names, {{0, 2, 0}, {0, 0, 0}, {0, 0, 0}}, {2, 0, 0},
                              {0, 2, 0}, 2) +
                    foot(true),
                read_page("vexo_games/game_1.htm"));

    // A free-for-all entry has no heading above its players table.
    EXPECT_PAGE(head() + list_top(home, 5, "ratio") + list_entry(1, map, "FFA") +
                    players_table("", l, rows) + foot(true),
                read_page("vexo_games/games1.htm"));
}

TEST_F(GamePages, TeamGamePageAndListFile) {
    vm.settings.sort_order = 6;  // by name: Bea, Rita, Sam; then by team: Bea, Sam, Rita
    team_game();
    ASSERT_TRUE(finish(120));
    close_list();

    const std::string red = "<font color=red>R</font>";
    const std::string blue = "<font color=blue>B</font>";
    const layout l{true, true};
    const std::vector<int> none(8, 0);
    const std::vector<int> no_health(9, 0);
    const std::vector<slot_row> rows = {
        {"Bea", blue, "-", "-0.50", "50.0", "0.67", "1", "1", "2", "1", "0", "1", "2", "0",
         "2 (1:10 min)", "0:40 min", "0.50", "1.00", "00:02 h", no_health, none, none, none},
        {"Sam", red + blue, "-", "0.50", "100.0", "1.00", "1", "1", "1", "0", "0", "0", "0", "0",
         "1 (1:40 min)", "2:00 min", "0.50", "0.00", "00:02 h", {0, 0, 0, 0, 0, 0, 1, 0, 50},
         none, none, none},
        {"Rita", red, "-", "-1.00", "25.0", "0.25", "0", "1", "1", "3", "0", "0", "3", "1",
         "2 (0:30 min)", "0:30 min", "0.50", "1.50", "00:02 h", no_health, none, none, none},
    };

    // Blue is stronger (frags 2 against red's 1 less 1 team kill): Blue first.
    std::string teams = para("<b>Teams</b>") + table_open(GREY_TABLE) +
                        "<tr align=right bgcolor=#000080>\r\n";
    for (const char* h : {"Team", "Eff", "Skill", "Score", "Frags", "Kills", "Killed", "Suicides",
                          "Deaths", "T.deaths", "Teamkills"})
        teams += th("align=left", h);
    teams += "</tr>\r\n";
    auto team_row = [](const std::string& label, std::vector<const char*> cells) {
        std::string t = "<tr align=right>\r\n" + td("align=left", label);
        for (const char* c : cells) t += td("", c);
        return t + "</tr>\r\n";
    };
    teams += team_row("<b><font color=blue>Blue</font></b>",
                      {"60.0", "1.00", "2", "2", "3", "1", "0", "1", "2", "0"});
    teams += team_row("<b><font color=red>Red</font></b>",
                      {"25.0", "0.25", "-1", "0", "1", "3", "0", "0", "3", "1"});
    teams += table_close();

    const std::string heading = "<b>Players (sorted by team and score)</b>";
    const std::vector<std::string> names = {"Bea", "Sam", "Rita"};
    EXPECT_PAGE(head() + game_page_top(1, 1, "", 0) +
                    game_info("arena7", "vexotest", "team DM", 20, 0) + teams +
                    players_table(heading, l, rows) + pickup_tables(l, rows) +
                    para("<b>Killcharts</b>") +
                    killchart("All weapons", names, {{0, 0, 2}, {0, 0, 1}, {1, 1, 0}}, {2, 1, 1},
                              {1, 0, 3}, 4) +
                    // the team kill shows in the matrix, not in Rita's KILLS
                    killchart("Machinegun", names, {{0, 0, 0}, {0, 0, 0}, {1, 1, 0}}, {0, 0, 1},
                              {1, 0, 0}, 1) +
                    killchart("Rocket", names, {{0, 0, 1}, {0, 0, 0}, {0, 0, 0}}, {1, 0, 0},
                              {0, 0, 1}, 1) +
                    killchart("Railgun", names, {{0, 0, 1}, {0, 0, 1}, {0, 0, 0}}, {1, 1, 0},
                              {0, 0, 2}, 2) +
                    foot(true),
                read_page("vexo_games/game_1.htm"));

    EXPECT_PAGE(head() + list_top("", 0, "name") + list_entry(1, "arena7", "team DM") + teams +
                    players_table(heading, l, rows) + foot(true),
                read_page("vexo_games/games1.htm"));
}

TEST_F(GamePages, EqualTeamStrengthListsBlueFirstButRedPlayersFirst) {
    small_game(3, 1, 2);  // Hugo red, Ida and the bot blue; the bot's kill makes blue stronger
    game->add_kill(1, 1, 3, 40);  // Ida's suicide evens it: 1 - 0 = 2 - 1
    ASSERT_TRUE(finish(60));
    const std::string page = read_page("vexo_games/game_1.htm");
    const size_t blue = page.find("<b><font color=blue>Blue</font></b>");
    const size_t red = page.find("<b><font color=red>Red</font></b>");
    ASSERT_NE(blue, std::string::npos);
    ASSERT_NE(red, std::string::npos);
    EXPECT_LT(blue, red);
    const size_t players = page.find("<b>Players (sorted by team and score)</b>");
    const size_t hugo = page.find("<b>Hugo</b>", players);
    const size_t ida = page.find("<b>Ida</b>", players);
    const size_t botty = page.find("<b>Botty</b>", players);
    ASSERT_NE(players, std::string::npos);
    EXPECT_LT(hugo, ida);
    EXPECT_LT(hugo, botty);
}

TEST_F(GamePages, SkipBotsRemovesTheBotColumns) {
    struct row {
        int type, team_a, team_b;
        bool skip_bots;
        int colspan;
        int players;
    };
    const row rows[] = {
        {0, 0, 0, false, 3, 3},
        {0, 0, 0, true, 2, 2},
        {3, 1, 2, false, 4, 3},
        {3, 1, 2, true, 3, 2},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::to_string(r.type) + (r.skip_bots ? " without bots" : " with bots"));
        vm.settings.skip_bots = r.skip_bots;
        small_game(r.type, r.team_a, r.team_b);
        ASSERT_TRUE(finish(60));
        EXPECT_EQ(game->player_count, r.players);
        const std::string page =
            read_page("vexo_games/game_" + std::to_string(vm.games_written) + ".htm");
        EXPECT_NE(page.find("<tr align=right bgcolor=#000080>\r\n" +
                            td("colspan=" + std::to_string(r.colspan), "&nbsp;")),
                  std::string::npos);
        EXPECT_EQ(page.find(th("", "Bot")) != std::string::npos, !r.skip_bots);
        EXPECT_EQ(page.find(th("align=center", "Bot")) != std::string::npos, !r.skip_bots);
        EXPECT_EQ(page.find("Botty") != std::string::npos, !r.skip_bots);
        EXPECT_EQ(page.find(th("align=left", "Team")) != std::string::npos, r.type == 3);
        EXPECT_EQ(page.find(th("", "Teamkills")) != std::string::npos, r.type == 3);
        EXPECT_EQ(page.find(th("", "Score")) != std::string::npos, r.type == 3);
    }
}

TEST_F(GamePages, GameWithFewerThanTwoActivePlayersIsNotListed) {
    start(0, "arena2", "vexotest", 10, 10);
    join(*game, 0, "Hugo", -1, 0, 0);
    join(*game, 1, "Ida", -1, 0, 0);
    game->add_kill(0, 0, 6, 10);  // only Hugo is active
    EXPECT_FALSE(finish(60));
    EXPECT_EQ(vm.games_written, 0);
    EXPECT_FALSE(vm.game_list.is_open());
    EXPECT_FALSE(file_exists("vexo_games"));
}

TEST_F(GamePages, FiftyGamesPerListFileAndGame51OpensTheSecond) {
    for (int i = 0; i < 51; i++) {
        small_game(0, 0, 0);
        ASSERT_TRUE(finish(60));
    }
    const std::string first = read_page("vexo_games/games1.htm");
    EXPECT_NE(first.find("<a href=\"game_50.htm\">"), std::string::npos);
    EXPECT_EQ(first.find("<a href=\"game_51.htm\">"), std::string::npos);
    EXPECT_EQ(first.substr(first.size() - foot(true).size()), foot(true));
    EXPECT_TRUE(vm.game_list.is_open());  // games2.htm waits for more games
    close_list();
    const std::string second = read_page("vexo_games/games2.htm");
    EXPECT_EQ(second.find("<a href=\"game_50.htm\">"), std::string::npos);
    EXPECT_NE(second.find(list_entry(51, "arena2", "FFA")), std::string::npos);
    EXPECT_EQ(second.substr(second.size() - foot(true).size()), foot(true));

    EXPECT_NE(read_page("vexo_games/game_50.htm").find(title_link("games1.htm", "Game list")),
              std::string::npos);
    EXPECT_NE(read_page("vexo_games/game_51.htm").find(title_link("games2.htm", "Game list")),
              std::string::npos);
    EXPECT_FALSE(file_exists("vexo_games/games3.htm"));
}

TEST_F(GamePages, OneGamePerListFileWithLinkedStylesheet) {
    vm.settings.games_per_file = 1;
    vm.settings.stylesheet_file = true;
    for (int i = 0; i < 2; i++) {
        small_game(0, 0, 0);
        ASSERT_TRUE(finish(60));
        EXPECT_FALSE(vm.game_list.is_open()) << "closed at once";
    }
    for (int g = 1; g <= 2; g++) {
        const std::string n = std::to_string(g);
        const std::string list = read_page("vexo_games/games" + n + ".htm");
        EXPECT_EQ(list.substr(0, linked_head(true).size()), linked_head(true));
        EXPECT_NE(list.find(list_entry(g, "arena2", "FFA")), std::string::npos);
        EXPECT_EQ(list.substr(list.size() - foot(true).size()), foot(true));
        const std::string page = read_page("vexo_games/game_" + n + ".htm");
        EXPECT_EQ(page.substr(0, linked_head(true).size() + stamp().size()),
                  linked_head(true) + stamp());
        EXPECT_NE(page.find(title_link("games" + n + ".htm", "Game list")), std::string::npos);
    }
}

TEST_F(GamePages, DataFileLinesOfThreeGames) {
    vm.settings.data_file = true;

    start(0, "arena1", "vexotest", 0, 0);  // 100 s
    join(*game, 0, "Ann", -1, 0, 0);
    join(*game, 1, "Ben", -1, 0, 0);
    kill(*game, 0, 1, 1, 10);
    kill(*game, 0, 1, 5, 20);  // grenade splash counts as Grenade
    kill(*game, 1, 0, 18, 30);
    ASSERT_TRUE(finish(100));

    start(0, "arena1", "vexotest", 0, 0);  // 3725 s
    join(*game, 0, "Cid", -1, 0, 0);
    join(*game, 1, "Dan", -1, 0, 0);
    join(*game, 2, "Eli", -1, 0, 0);
    kill(*game, 0, 1, 7, 10);  // rocket splash counts as Rocket
    kill(*game, 1, 2, 11, 20);
    kill(*game, 2, 0, 12, 30);
    kill(*game, 2, 2, 8, 40);
    kill(*game, 1022, 1, 19, 50);
    ASSERT_TRUE(finish(3725));

    start(0, "arena1", "vexotest", 0, 0);  // 59 s; Gus joins at the last second
    join(*game, 0, "Fay", -1, 0, 0);
    join(*game, 1, "Gus", -1, 0, 59);
    join(*game, 2, "Hal", -1, 0, 0);  // inactive: no line
    kill(*game, 0, 1, 3, 59, 2);
    kill(*game, 1, 0, 2, 59);
    ASSERT_TRUE(finish(59));
    close_list();

    // game, name, kills, killed, suicides, deaths, playtime, then kills and deaths
    // by Shotgun, Gauntlet, Machinegun, Grenade, Rocket, Plasma, Railgun,
    // Lightning gun, BFG, Telefrag, Suicide.
    EXPECT_EQ(read_raw("vexodata.txt"),
              "1,Ann,2,1,0,0,00:01:40 h,1,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0\r\n"
              "1,Ben,1,2,0,0,00:01:40 h,0,0,0,0,0,0,0,0,0,1,0,1,0,0,1,0,0,0,0,0,0,0\r\n"
              "2,Cid,1,1,0,0,01:02:05 h,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0\r\n"
              "2,Dan,1,1,0,1,01:02:05 h,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n"
              "2,Eli,1,1,1,0,01:02:05 h,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,1,0,0,0\r\n"
              "3,Fay,2,1,0,0,00:00:59 h,0,0,2,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0\r\n"
              "3,Gus,1,2,0,0,00:00:00 h,0,1,0,0,0,0,0,0,0,0,0,0,0,2,0,0,0,0,0,0,0,0\r\n");

    // Gus, without play time, has ERR as ratio and no rates on his game page.
    const std::string page = read_page("vexo_games/game_3.htm");
    EXPECT_NE(page.find(td("align=center", "-") + td("", "ERR") + td("", "33.3") +
                        td("", "0.33") + td("", "1")),
              std::string::npos);
    EXPECT_NE(page.find(td("", "0:00 min") + td("", "0.00") + td("", "0.00") +
                        td("", "00:00 h") + "</tr>\r\n"),
              std::string::npos);
}

TEST_F(GamePages, PlainNamesWhenColourNamesAreOff) {
    vm.settings.no_funnames = true;
    start(0, "arena2", "vexotest", 10, 10);
    join(*game, 0, "^1Hu^3go", -1, 0, 0);
    join(*game, 1, "Ida", -1, 0, 0);
    kill(*game, 0, 1, 3, 10);
    ASSERT_TRUE(finish(60));
    close_list();
    for (const char* file : {"vexo_games/game_1.htm", "vexo_games/games1.htm"}) {
        const std::string page = read_page(file);
        EXPECT_NE(page.find(td("align=left", "<b>Hugo</b>")), std::string::npos) << file;
        EXPECT_EQ(page.find("<font color=\"red\">"), std::string::npos) << file;
    }
}

}  // namespace
