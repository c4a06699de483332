// Mods' logs read as their own games. Each dialect's small log (the inputs of
// the golden case "dialects", which runs them together) run alone and checked
// by the per-weapon data file, the data file, the pages and the run report;
// the MOD text rules and the choice of a game's dialect.
#include "game/dialect.h"
#include "harness.h"

namespace {

using namespace harness;

const std::string LOGS = std::string(VEXO_SOURCE_DIR) + "/tests/golden/dialects/in/";

struct dialect_case {
    const char* log;
    // vexoweapons.txt, lines joined by " | "
    const char* weapons;
    // in vexodata.txt, the report, chat.htm and the pages of game 1
    std::vector<const char*> data;
    std::vector<std::string> report;
    std::vector<const char*> chat, page;
};

std::string joined(const std::string& text) {
    std::string all, line;
    std::istringstream lines(text);
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        all += (all.empty() ? "" : " | ") + line;
    }
    return all;
}

std::string row(const std::string& label, const std::string& value) {
    return "<td align=left>" + label + "</td>\r\n<td align=right>" + value + "</td>";
}

TEST(Dialects, EachModsLogCountsItsWeaponsAndMatches) {
    const std::vector<dialect_case> cases = {
        // Warm-up kill and the kill between the halves skipped; rounds and the
        // second half counted with the teams swapped at half time; a team
        // change; the map changed without ShutdownGame: (4.2 numbers its
        // ids otherwise: 42 is the flag there); a game without InitRound:
        // counts nothing and is dropped.
        {"urt.log",
         "1,Ann,Knife,0,1 | 1,Ann,AK103,1,0 | 1,Ann,Negev,0,1 | 1,Ann,M4A1,1,0 | 1,Bob,Knife,1,0 | "
         "1,Bob,AK103,0,1 | 1,Bob,Negev,1,0 | 1,Bob,M4A1,0,1 | 2,Ann,Negev,0,1 | 2,Ann,Flag,1,0 | "
         "2,Bob,Negev,1,0 | 2,Bob,Flag,0,1",
         {"1,Ann,2,2,0,0,00:00:26 h,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"},
         {row("Games ended by the next InitGame: (no ShutdownGame: before it)", "1"),
          row("Games dropped: fewer than two active players", "1"), row("Counted", "6"),
          row("No counter changed: after Exit: or Game_End:", "1"),
          row("No counter changed: during a warm-up or while events are skipped", "2"),
          row("No counter changed: team change", "1"), row("Urban Terror", "3"), row("AK103", "1")},
         {"<b>Ann</b>: nice shot<br>"},
         {"<p align=right>TS</p>", "Killchart (Knife)", "Killchart (M4A1)"}},
        // Named by connect lines (JA++ and OpenJK), by a team and a kill line
        // (Bob), renamed (Cid); a connect line without its closing bracket
        // names nobody (Dee); an NPC kill, a world death and a team change
        // change no counter of a weapon; the next InitGame: ends the game.
        {"ja.log",
         "1,Cyd,Bryar pistol,1,0 | 1,Cyd,Dark force,1,0 | 1,Ann,Saber,1,0 | 1,Ann,Dark force,0,1 | "
         "1,Bob,Saber,0,1 | 1,Bob,Bryar pistol,0,1",
         {"1,Ann,1,1,0,1,00:00:15 h,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"},
         {row("Counted", "4"), row("No counter changed: not a player", "1"),
          row("No counter changed: team change", "1"), row("Jedi Academy", "2"), row("Dark force", "1"),
          row("No counter changed: unknown client", "0")},
         {},
         {"<p align=right>FFA</p>", "Killchart (Saber)", "Killchart (Dark force)"}},
        // Team Arena's chaingun, the grapple (its id is another build's), a MOD
        // text of no table, an id past the table without a MOD text; a MOD
        // text of another id (the id decides); OSP's team switch.
        {"q3.log",
         "1,Ann,Railgun,1,0 | 1,Ann,Lightning gun,0,1 | 1,Ann,Chaingun,1,0 | 1,Ann,Grapple,0,1 | "
         "1,Ann,Foo bar,1,0 | 1,Ann,weapon 27,1,0 | 1,Bob,Railgun,0,1 | 1,Bob,Lightning gun,1,0 | "
         "1,Bob,Chaingun,0,1 | 1,Bob,Grapple,1,0 | 1,Bob,Foo bar,0,1 | 1,Bob,weapon 27,0,1",
         {"1,Ann,4,2,0,0,00:00:09 h,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0\r\n"},
         {row("MOD text of another id in the dialect's weapon table", "1"), row("Quake III", "1"),
          row("No counter changed: team change", "1"), row("Foo bar", "1")},
         {},
         {"Killchart (Lightning gun)", "Killchart (Chaingun)", "Killchart (Grapple)", "Killchart (Foo bar)"}},
    };
    for (const dialect_case& c : cases) {
        scratch_dir dir;
        write_file(dir / c.log, read_file(LOGS + c.log));
        const run_result r = run_vexo(dir.path, {"/d", "/r", "/l", c.log});
        EXPECT_EQ(r.code, 0) << c.log << r.out;
        EXPECT_EQ(joined(read_file(dir / "vexoweapons.txt")), c.weapons) << c.log;
        const std::string data = read_file(dir / "vexodata.txt"), report = read_file(dir / "report.htm");
        const std::string chat = read_file(dir / "chat.htm"), page = read_file(dir / "vexo_games/game_1.htm");
        for (const char* d : c.data) EXPECT_NE(data.find(d), std::string::npos) << c.log << ": " << d << "\n" << data;
        for (const std::string& t : c.report) EXPECT_NE(report.find(t), std::string::npos) << c.log << ": " << t;
        for (const char* t : c.chat) EXPECT_NE(chat.find(t), std::string::npos) << c.log << ": " << t;
        for (const char* t : c.page) EXPECT_NE(page.find(t), std::string::npos) << c.log << ": " << t;
        EXPECT_NE(report.find("The totals hold exactly the kills of the listed games."), std::string::npos);
        // The pickup tables name the base game's items and weapons: only its games show them.
        EXPECT_EQ(page.find("<b>Weapon pickups</b>") != std::string::npos, std::string(c.log) == "q3.log") << c.log;
        // The weapon order of the pages: the order of the tables.
        for (const char* name : {"Shotgun", "Machinegun", "Rocket", "Plasma", "BFG"})
            EXPECT_EQ(page.find(std::string("Killchart (") + name + ")"), std::string::npos) << c.log << name;
    }
}

TEST(Dialects, AGameOfMoreWeaponsThanSlotsCountsTheRestInTheTotalsOnly) {
    // 40 MOD texts no table knows in one game: 31 weapon slots (the first 31
    // texts met), the other 9 kills in the all-weapons figures only.
    std::string log = "  0:00 InitGame: \\g_gametype\\0\n  0:00 ClientUserinfoChanged: 0 n\\A\\t\\0\n"
                      "  0:00 ClientUserinfoChanged: 1 n\\B\\t\\0\n";
    for (int k = 0; k < 40; k++) log += "  0:01 Kill: 0 1 30: A killed B by MOD_W" + std::to_string(k) + "\n";
    log += "  0:02 ShutdownGame:\n";
    scratch_dir dir;
    write_file(dir / "many.log", log);
    const run_result r = run_vexo(dir.path, {"/d", "/r", "many.log"});
    EXPECT_EQ(r.code, 0) << r.out;
    const std::string weapons = joined(read_file(dir / "vexoweapons.txt"));
    EXPECT_EQ(weapons.substr(0, 36), "1,A,W0,1,0 | 1,A,W1,1,0 | 1,A,W2,1,0") << weapons;
    EXPECT_NE(weapons.find("1,A,W30,1,0"), std::string::npos);
    EXPECT_EQ(weapons.find("W31"), std::string::npos);
    EXPECT_EQ(std::count(weapons.begin(), weapons.end(), '|'), 61) << weapons;
    EXPECT_NE(read_file(dir / "vexodata.txt").find("1,A,40,0,0,0,"), std::string::npos);
    const std::string report = read_file(dir / "report.htm");
    EXPECT_NE(report.find(row("Counted under all weapons only (more weapons in the game than it has room for)", "9")),
              std::string::npos);
    EXPECT_NE(report.find("The totals hold exactly the kills of the listed games."), std::string::npos);
}

TEST(Dialects, KillsCountUnderTheWeaponTheirDialectNames) {
    auto d = [](const char* name) -> const dialect& { return dialect_of_game(name, true, ""); };
    const struct {
        const char* game;   // gamename of the game
        int id;
        const char* text;   // "" none
        const char* name;   // nullptr: a team change
        bool disagrees;
    } cases[] = {
        {"baseq3", 7, "MOD_ROCKET_SPLASH", "Rocket", false},
        {"baseq3", 11, "MOD_RAILGUN", "Lightning gun", true},   // the id decides
        {"baseq3", 19, "", "weapon 19", false},
        {"baseq3", 23, "MOD_GRAPPLE", "Grapple", false},          // the text decides
        {"baseq3", 24, "MOD_SWITCHTEAM", nullptr, false},
        {"baseq3", 25, "", "weapon 25", false},
        {"baseq3", 26, "MOD_ROCKET", "Rocket", false},
        {"baseoa", 24, "MOD_CHAINGUN", "Chaingun", false},
        {"q3ut4", 35, "", "Negev", false},
        {"q3urt43", 35, "", "Nuked", false},
        {"q3urt43", 35, "UT_MOD_NEGEV", "Negev", true},
        {"q3urt43", 5, "MOD_TELEFRAG", "Telefrag", false},
        {"q3urt43", 10, "MOD_CHANGE_TEAM", nullptr, false},
        {"q3urt43", 26, "", "Flashgrenade", false},
        {"q3urt43", 0, "MOD_UNKNOWN", "Unknown", false},
        {"basejka", 5, "MOD_BRYAR_PISTOL_ALT", "Bryar pistol", false},
        {"basejka", 4, "MOD_BRYAR_PISTOL_ALT", "Bryar pistol", true},
        {"basejka", 33, "MOD_WATER", "Drowned", false},
        {"basejka", 99, "", "weapon 99", false},
        {"basejka", 42, "MOD_TEAM_CHANGE", nullptr, false},
        {"wop", 7, "MOD_BALLOONY_SPLASH", "Balloony", false},
        {"wop", 7, "", "weapon 7", false},
        {"wop", 3, "MOD_FALLING", "Falling", false},
    };
    for (const auto& c : cases) {
        bool disagrees = false;
        const dialect& game = d(c.game);
        const int version = game.version_of ? game.version_of(c.game) : 0;
        const int w = resolve_weapon(game, version, c.id, c.text, strlen(c.text), disagrees);
        EXPECT_EQ(w == WEAPON_TEAM_CHANGE ? std::string("team change") : weapon_name(w),
                  c.name ? c.name : "team change") << c.game << " " << c.id << " " << c.text;
        EXPECT_EQ(disagrees, c.disagrees) << c.game << " " << c.id << " " << c.text;
    }
    // One weapon per name, in the order of the tables: the base game's ids keep their numbers.
    bool ignored;
    const int telefrag = resolve_weapon(d("q3urt43"), 2, 5, "MOD_TELEFRAG", 12, ignored);
    EXPECT_EQ(telefrag, 18);
    EXPECT_EQ(resolve_weapon(d("basejka"), 0, 33, "MOD_WATER", 9, ignored),
              resolve_weapon(d("q3urt43"), 2, 1, "MOD_WATER", 9, ignored));
    std::vector<int> order;
    for (const char* name : {"Railgun", "Nailgun", "Knife", "Saber", "Pumper"})
        order.push_back(weapon_registry::find(name));
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()) && order[0] == 10) << order[0];
}

TEST(Dialects, ModTextsAndTheirNames) {
    const struct {
        const char* line;
        const char* text;   // "" none
        const char* name;
    } cases[] = {
        {"A killed B by MOD_FORCE_DARK", "MOD_FORCE_DARK", "Force dark"},
        {"A killed B by UT_MOD_FOO_BAR", "UT_MOD_FOO_BAR", "Foo bar"},
        {"Fly by night killed B by MOD_SWITCHTEAM 5", "MOD_SWITCHTEAM", "Switchteam"},
        {"A killed B by MOD_GAUNTLET|1;2;3 4;5;6", "MOD_GAUNTLET", "Gauntlet"},
        {"A killed B by mod_x_MOD_", "mod_x_MOD_", ""},
        {"A killed B by xyz", "xyz", "Xyz"},
        {"A killed B by ", "", ""},
        {"A killed B", "", ""},
        {"by MOD_RAILGUN", "", ""},
    };
    for (const auto& c : cases) {
        size_t length = 0;
        const char* text = mod_text(c.line, length);
        EXPECT_EQ(text ? std::string(text, length) : std::string(), c.text) << c.line;
        if (text) {
            EXPECT_EQ(mod_text_name(text, length), c.name) << c.line;
        }
    }
}

TEST(Dialects, TheInitGameLineNamesTheDialect) {
    const struct {
        const char* name;
        bool has_name;
        const char* line;
        const char* dialect;
    } cases[] = {
        {"baseq3", true, "", "Quake III"},
        {"", false, "\\g_forcePowerDisable\\0\\", "Quake III"},
        {"osp", true, "", "Quake III"},
        {"baseoa", true, "", "OpenArena"},
        {"q3urt42", true, "", "Urban Terror"},
        {"q3urt44", true, "", "Quake III"},
        {"JA+ Mod 1.4", true, "", "Jedi Academy"},
        {"OpenJK", true, "", "Jedi Academy"},
        {"Our server", true, "\\gamename\\Our server\\g_forcePowerDisable\\163837\\", "Jedi Academy"},
        {"g_forcePowerDisable", true, "\\gamename\\\\g_forcePowerDisable\\0\\", "Jedi Academy"},
        {"Our server", true, "\\gamename\\Our server\\", "Quake III"},
        {"wop", true, "", "World of Padman"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(dialect_of_game(c.name, c.has_name, c.line).name, c.dialect) << c.name << c.line;
}

}  // namespace

namespace {

// A Jedi Academy line read by the dialect's own reader of its event word.
line_event read_jedi_line(const std::string& word, const char* rest) {
    const dialect& d = dialect_of_game("basejka", true, "");
    line_event e;
    if (word == "ClientConnect:") d.connect_reader(rest, e);
    else if (word == "score:") d.score_reader(rest, e);
    for (size_t k = 0; k < d.word_count; k++)
        if (word == d.words[k].word) d.words[k].read(rest, e);
    return e;
}

TEST(Dialects, JediAcademyLinesNameClientsOnlyInTheirFullForm) {
    using k = line_event;
    const struct {
        const char* word;
        const char* rest;
        line_event::kind_t kind;
        int client, team;
        const char* name;
    } cases[] = {
        {"ClientConnect:", " 3 (Ann ^1x^7) [IP: 10.0.0.1:29070^7]\r\n", k::NAMED_CONNECT, 3, -1, "Ann ^1x"},
        {"ClientConnect:", " 3 (Ann^7) [IP: 10.0.0.1^7", k::CONNECT, 3, -1, ""},
        {"ClientConnect:", " 3 (Ann) [IP: 10.0.0.1]", k::CONNECT, 3, -1, ""},
        {"ClientConnect:", " 4 [10.0.0.2] (ABCD) \"Bo \"b\"^7\"", k::NAMED_CONNECT, 4, -1, "Bo \"b\""},
        {"ClientConnect:", " 4 [10.0.0.2] (ABCD) \"Bob", k::CONNECT, 4, -1, ""},
        {"ClientConnect:", " 5", k::CONNECT, 5, -1, ""},
        {"setteam:", "  7 FREE BLUE", k::TEAM, 7, 2, ""},
        {"setteam:", "  7 FREE", k::NOTHING, 7, -1, ""},
        {"setteam:", "  7 RED PURPLE", k::NOTHING, 7, -1, ""},
        {"ChangeTeam:", " 2 [1.2.3.4] (G) \"Ann -> x^7\" RED -> SPECTATOR", k::TEAM, 2, 3, ""},
        {"ChangeTeam:", " 2 [1.2.3.4] (G) Ann RED -> BLUE", k::NOTHING, 2, -1, ""},
        {"ClientRename:", " 2 [1.2.3.4] \"Old^7\" -> \"New^7\"", k::RENAME, 2, -1, "New"},
        {"ClientRename:", " 2 [1.2.3.4] \"Old^7\" -> \"New", k::NOTHING, 2, -1, ""},
        {"score:", " 12  ping: 48  client: [ABCD] 6 \"Ann^7\"", k::PING, 6, -1, ""},
        {"score:", " 12 ping: 48 client: 6 Ann", k::PING, 6, -1, ""},
        {"(BLUE)", " score: 12  ping: 48  client: [ABCD] 9 \"Ann^7\"", k::PING, 9, -1, ""},
        {"(BLUE)", " wins", k::NOTHING, -1, -1, ""},
    };
    for (const auto& c : cases) {
        const line_event e = read_jedi_line(c.word, c.rest);
        EXPECT_EQ(e.kind, c.kind) << c.word << c.rest;
        EXPECT_EQ(e.client, c.client) << c.word << c.rest;
        EXPECT_EQ(c.kind == k::TEAM ? e.team : c.team, c.team) << c.rest;
        EXPECT_EQ(c.kind == k::PING ? e.ping : 48, 48) << c.rest;
        EXPECT_STREQ(e.name, c.name) << c.word << c.rest;
    }
}

}  // namespace
