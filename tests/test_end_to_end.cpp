// End-to-end runs of the built vexo program on logs written into a fresh
// temporary folder: the console transcript byte for byte (elapsed seconds
// masked), the output tree, every link of every page, whole pages derived by
// hand from the page rules (time stamps masked), and bad input that must
// never crash or hang a run.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/vexo_main.h"
#include "game/resultdata.h"
#include "log_support.h"
#include "page_expect.h"
#include "platform/platform.h"
#include "total/resultdata_total.h"
#include "run_control_texts.h"

namespace {

using namespace pagetest;

// ---------------------------------------------------------------- helpers

namespace fs = std::filesystem;

class scratch_dir {
public:
    scratch_dir() {
        std::string pattern = ::testing::TempDir() + "vexo_e2e_XXXXXX";
        if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
        path = pattern;
    }
    ~scratch_dir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string operator/(const std::string& rel) const { return path + "/" + rel; }
    std::string path;
};

std::string read_file(const std::string& path) { return read_raw(path); }

void write_file(const std::string& path, const std::string& content) { write_raw(path, content); }

bool is_file(const std::string& path) { return fs::is_regular_file(path); }

struct run_result {
    std::string out;   // standard output: the console transcript
    std::string err;   // standard error (sanitizer reports, if any)
    int code = -1;
};

// Runs vexo in `dir` with `args` (no blanks or quotes in them), standard input at its end.
run_result run_vexo(const std::string& dir, const std::vector<std::string>& args) {
    run_result result;
    const std::string err_path = dir + ".stderr";
    std::string command = "cd '" + dir + "' && '" + VEXO_BINARY + "'";
    for (const std::string& a : args) command += " '" + a + "'";
    FILE* out = popen((command + " </dev/null 2>'" + err_path + "'").c_str(), "r");
    if (out == nullptr) return result;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, out)) > 0) result.out.append(buffer, got);
    const int status = pclose(out);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.err = read_file(err_path);
    unlink(err_path.c_str());
    return result;
}

// "\n12.34 seconds elapsed" -> "\nX seconds elapsed".
std::string mask_elapsed(std::string transcript) {
    const std::string tail = " seconds elapsed";
    size_t end = transcript.rfind(tail);
    if (end == std::string::npos) return transcript;
    size_t start = transcript.rfind('\n', end);
    if (start == std::string::npos) return transcript;
    transcript.replace(start + 1, end - start - 1, "X");
    return transcript;
}

// Every regular file below `root`, as paths relative to it, sorted.
std::set<std::string> list_tree(const std::string& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).string());
    return files;
}

// Every href="..." (any letter case) of every .htm page below `root` that does
// not resolve to an existing file; web and mail addresses are not followed.
std::vector<std::string> broken_links(const std::string& root) {
    std::vector<std::string> broken;
    for (const std::string& page : list_tree(root)) {
        if (page.size() < 4 || page.compare(page.size() - 4, 4, ".htm") != 0) continue;
        std::string text = read_file(root + "/" + page);
        std::string lower = text;
        for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        std::string folder = page.find('/') == std::string::npos
                                 ? root
                                 : root + "/" + page.substr(0, page.rfind('/'));
        for (size_t at = lower.find("href=\""); at != std::string::npos;
             at = lower.find("href=\"", at + 1)) {
            size_t start = at + 6;
            size_t end = text.find('"', start);
            if (end == std::string::npos) {
                broken.push_back(page + ": unterminated href");
                break;
            }
            std::string target = text.substr(start, end - start);
            if (target.find(':') != std::string::npos || target.empty() || target[0] == '#')
                continue;
            if (!is_file(folder + "/" + target)) broken.push_back(page + " -> " + target);
        }
    }
    return broken;
}

// A run that went through: exit code 0, the transcript complete, no error,
// no sanitizer report, every link resolving.
void expect_sound_run(const run_result& r, const std::string& results) {
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
    EXPECT_NE(mask_elapsed(r.out).find("\nX seconds elapsed\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(broken_links(results), std::vector<std::string>());
}

std::string join_lines(const std::vector<std::string>& lines, const char* eol = "\n") {
    std::string text;
    for (const std::string& l : lines) text += l + eol;
    return text;
}

// ------------------------------------------------------------ fixture

// A free-for-all game of three players (Ash, ^4Birch, the bot Cedar) that is
// written, then a game that is dropped: only Dune has a death, Ash is idle.
std::vector<std::string> fixture_lines() {
    return {
        "  0:00 ------------------------------------------------------------",
        "  0:00 InitGame: \\sv_hostname\\Fixture\\g_gametype\\0\\mapname\\Pebble"
        "\\gamename\\vexoarena\\fraglimit\\10\\timelimit\\5\\",
        "  0:00 ClientConnect: 0",
        "  0:00 ClientUserinfoChanged: 0 n\\Ash\\t\\0\\model\\grunt",
        "  0:00 ClientBegin: 0",
        "  0:00 ClientConnect: 1",
        "  0:00 ClientUserinfoChanged: 1 n\\^4Birch\\t\\0\\model\\visor",
        "  0:00 ClientBegin: 1",
        "  0:00 ClientConnect: 2",
        "  0:00 ClientUserinfoChanged: 2 n\\Cedar\\t\\0\\model\\sarge\\skill\\2",
        "  0:00 ClientBegin: 2",
        "  0:25 Item: 0 weapon_railgun",
        "  0:26 Item: 0 item_armor_shard",
        "  0:27 Item: 0 item_armor_shard",
        "  0:30 Item: 1 item_health_large",
        "  0:35 Item: 1 ammo_rockets",
        "  0:40 Kill: 0 1 10: Ash killed Birch by MOD_RAILGUN",
        "  0:50 Item: 2 item_quad",
        "  0:55 Item: 2 holdable_teleporter",
        "  0:56 Item: 2 item_unheard_of",
        "  1:00 Kill: 0 2 10: Ash killed Cedar by MOD_RAILGUN",
        "  1:10 say: Ash: two <down> & one to go",
        "  1:30 Kill: 1 0 7: Birch killed Ash by MOD_ROCKET_SPLASH",
        "  2:00 Kill: 1022 2 22: <world> killed Cedar by MOD_TRIGGER_HURT",
        "  2:00 score: 2  ping: 50  client: 0 Ash",
        "  2:30 Kill: 2 2 6: Cedar killed Cedar by MOD_ROCKET",
        "  2:45 sayteam: ^4Birch: not in the chat log",
        "  2:50 say: ^4Birch: ^1red^7 alert",
        "  3:00 Kill: 0 1 10: Ash killed Birch by MOD_RAILGUN",
        "  3:10 Kill: 2 0 3: Cedar killed Ash by MOD_MACHINEGUN",
        "  4:00 Exit: Timelimit hit.",
        "  4:00 score: 3  ping: 40  client: 0 Ash",
        "  4:00 score: 1  ping: 60  client: 1 ^4Birch",
        "  4:00 score: -1  ping: 0  client: 2 Cedar",
        "  4:00 ShutdownGame:",
        "  0:00 ------------------------------------------------------------",
        "  0:00 InitGame: \\sv_hostname\\Fixture\\g_gametype\\0\\mapname\\Pebble"
        "\\gamename\\vexoarena\\fraglimit\\10\\timelimit\\5\\",
        "  0:00 ClientConnect: 0",
        "  0:00 ClientUserinfoChanged: 0 n\\Ash\\t\\0\\model\\grunt",
        "  0:05 ClientConnect: 1",
        "  0:05 ClientUserinfoChanged: 1 n\\Dune\\t\\0\\model\\doom",
        "  0:20 Kill: 1022 1 19: <world> killed Dune by MOD_FALLING",
        "  0:30 say: Dune: anyone?",
        "  1:00 ShutdownGame:",
        "  1:00 ------------------------------------------------------------",
    };
}

// Progress of each game: the position after its "ShutdownGame:" line.
std::vector<int> game_progress(const std::string& log) {
    std::vector<int> fields;
    for (size_t at = log.find("ShutdownGame:"); at != std::string::npos;
         at = log.find("ShutdownGame:", at + 1)) {
        size_t end = log.find('\n', at) + 1;
        fields.push_back(static_cast<int>(end * 100 / log.size()));
    }
    return fields;
}

// Written game 1 gets the heading "Game 2" after it; dropped game 2 gets none.
const char* const CHAT_PAGE =
    "<html><title>VEXO chatlog</title>\r\n"
    "<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF alink=#FFFFFF>"
    "\r\n"
    "<p><i><b>Game 1</b></i></p>\r\n"
    "<b>Ash</b>: two &lt;down&gt; &amp; one to go<br>\r\n"
    "<b><font color=\"blue\">Birch</font></b>: <font color=\"red\">red</font>"
    "<font color=\"white\"> alert</font><br>\r\n"
    "<p><i><b>Game 2</b></i></p>\r\n"
    "<b>Dune</b>: anyone?<br>\r\n"
    "</body></html>";

// The transcript of "vexo /l /d /top2 fixture.log" with no vexo.cfg.
std::string fixture_transcript(const std::string& log) {
    run_texts::block_values settings;
    settings.chat_log = settings.data_file = true;
    settings.top_players = 2;
    std::string t = run_texts::banner() + "\nReading CFG: vexo.cfg\nNo CFG found, using default values\n\n" +
                    run_texts::settings_block(settings) +
                    "\nNo vexo.css found, using default stylesheets\n" + "\nParsing fixture.log [" +
                    std::to_string(log.size()) + " byte]" + "\n- Writing game stats        ";
    for (int p : game_progress(log)) t += run_texts::progress(p);
    return t + run_texts::progress(100) + "\nWriting vexodata.txt" + "\n\nWrote chat.htm [" +
           std::to_string(strlen(CHAT_PAGE)) + " byte]\n" + run_texts::ranking_lines(3, true) +
           run_texts::player_page_lines(3) + "\nX seconds elapsed\n";
}

// Game 1 (FFA, bots kept): Ash, Birch, Cedar by ratio.
// Ash: 3 kills, killed 2, best life 2 kills in 90 s, 240 s played; 2 shards, a railgun.
// Birch: 1 kill, killed 2, best life 1 kill in 140 s; a large health, rockets.
// Cedar: 1 kill, killed 1, 1 suicide, 1 world death, best life 1 in 90 s; quad, teleporter.
const layout FFA{false, true};

std::vector<slot_row> fixture_rows() {
    const std::vector<int> none(8, 0);
    return {
        {"Ash", "", "-", "0.25", "60.0", "1.00", "", "3", "3", "2", "0", "0", "2", "",
         "2 (1:30 min)", "1:20 min", "0.75", "0.50", "00:04 h", {0, 0, 0, 0, 0, 2, 0, 0, 10},
         none, {0, 0, 0, 0, 0, 1, 0, 0}, none},
        {"<font color=\"blue\">Birch</font>", "", "-", "-0.25", "33.3", "0.33", "", "1", "1", "2",
         "0", "0", "2", "", "1 (2:20 min)", "1:20 min", "0.25", "0.50", "00:04 h",
         {0, 0, 1, 0, 50, 0, 0, 0, 0}, none, none, {0, 0, 1, 0, 0, 0, 0, 0}},
        {"Cedar", "", "(2)", "-1.00", "25.0", "0.25", "", "-1", "1", "1", "1", "1", "3", "",
         "1 (1:30 min)", "1:00 min", "-0.25", "0.75", "00:04 h", std::vector<int>(9, 0),
         {1, 0, 0, 0, 0, 0, 0, 1}, none, none},
    };
}

std::string fixture_game_page() {
    const std::vector<std::string> names = {"Ash", "Birch", "Cedar"};
    // Kill charts: all weapons, machinegun (3), rocket (6 with the splash),
    // railgun (10). Cedar's rocket suicide sits on the diagonal.
    return head() + game_page_top(1, 1, "", 2) + game_info("pebble", "vexoarena", "FFA", 5, 10) +
           players_table("<b>Players (sorted by ratio)</b>", FFA, fixture_rows()) +
           pickup_tables(FFA, fixture_rows()) + para("<b>Killcharts</b>") +
           killchart("All weapons", names, {{0, 2, 1}, {1, 0, 0}, {1, 0, 1}}, {3, 1, 1}, {2, 2, 1}, 5) +
           killchart("Machinegun", names, {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}}, {0, 0, 1}, {1, 0, 0}, 1) +
           killchart("Rocket", names, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 0}, {1, 0, 0}, 1) +
           killchart("Railgun", names, {{0, 2, 1}, {0, 0, 0}, {0, 0, 0}}, {3, 0, 0}, {0, 2, 1}, 3) +
           foot(true);
}

std::string fixture_game_list() {
    return head() + list_top("", 2, "ratio") + list_entry(1, "pebble", "FFA") +
           players_table("", FFA, fixture_rows()) + foot(true);
}

std::string fixture_game_index() {
    return head() + stamp() +
           "<p class=\"title\"><a href=\"players.htm\"><font color=red>All players</font></a></p>"
           "<p class=\"title\"><a href=\"top_players.htm\"><font color=red>Top 2 players</font></a></p>" +
           para("<a href=\"vexo_games/games1.htm\"><font color=\"#FFFFFF\"><b>Games 1 - 1</b></font></a>") +
           foot(false);
}

const char* const FIXTURE_DATA =
    "1,Ash,3,2,0,0,00:04:00 h,0,0,0,0,0,0,3,0,0,0,0,0,0,1,0,1,0,0,0,0,0,0\r\n"
    "1,Birch,1,2,0,0,00:04:00 h,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,2,0,0,0,0\r\n"
    "1,Cedar,1,1,1,1,00:04:00 h,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0\r\n";

std::set<std::string> fixture_tree() {
    std::set<std::string> files = {"fixture.log", "chat.htm", "vexodata.txt", "games.htm",
                                   "vexo_games/games1.htm", "vexo_games/game_1.htm",
                                   "vexo_players/player_1.htm", "vexo_players/player_2.htm",
                                   "vexo_players/player_3.htm"};
    for (const char* prefix : {"", "top_"})
        for (const char* f : {"players.htm", "players_ratio.htm", "players_name.htm",
                              "players_eff.htm", "players_skill.htm", "players_frags.htm",
                              "players_kills.htm", "players_playtime.htm"})
            files.insert(std::string(prefix) + f);
    return files;
}

// ------------------------------------------------------------- tests

// The same pages for a log with LF and with CRLF line ends.
TEST(EndToEnd, FixtureRunTranscriptTreeLinksAndPages) {
    for (const char* eol : {"\n", "\r\n"}) {
        SCOPED_TRACE(eol[0] == '\r' ? "CRLF" : "LF");
        scratch_dir dir;
        const std::string log = join_lines(fixture_lines(), eol);
        write_file(dir / "fixture.log", log);
        run_result r = run_vexo(dir.path, {"/l", "/d", "/top2", "fixture.log"});
        expect_sound_run(r, dir.path);
        EXPECT_EQ(mask_elapsed(r.out), fixture_transcript(log));
        EXPECT_EQ(list_tree(dir.path), fixture_tree());

        EXPECT_PAGE(fixture_game_page(), read_page(dir / "vexo_games/game_1.htm"));
        EXPECT_PAGE(fixture_game_list(), read_page(dir / "vexo_games/games1.htm"));
        EXPECT_PAGE(fixture_game_index(), read_page(dir / "games.htm"));
        EXPECT_EQ(read_file(dir / "chat.htm"), CHAT_PAGE);
        EXPECT_EQ(read_file(dir / "vexodata.txt"), FIXTURE_DATA);

        // The top pages hold the first two players only; Cedar is on none of them.
        std::string top = read_file(dir / "top_players.htm");
        EXPECT_NE(top.find("player_2.htm"), std::string::npos);
        EXPECT_EQ(top.find("player_3.htm"), std::string::npos);
    }
}

// Bad input: none of these may crash, hang or end a run with an error.

TEST(EndToEnd, RandomBytesLog) {
    scratch_dir dir;
    std::mt19937 random(20261206);
    std::string junk;
    for (int i = 0; i < 300000; ++i) {
        unsigned char c = static_cast<unsigned char>(random());
        junk.push_back(c % 7 == 0 ? '\n' : static_cast<char>(c));
    }
    // Event words among the junk, so that the dispatch sees broken arguments.
    for (const char* w : {"Kill:", "InitGame:", "ClientUserinfoChanged:", "say:", "score:",
                          "Item:", "ShutdownGame:", "ClientConnect:", "ClientDisconnect:"})
        for (int i = 0; i < 50; ++i) {
            size_t at = random() % junk.size();
            junk.insert(at, std::string("\n 1:00 ") + w + " ");
        }
    write_file(dir / "junk.log", junk);
    run_result r = run_vexo(dir.path, {"/l", "/d", "junk.log"});
    expect_sound_run(r, dir.path);
}

TEST(EndToEnd, NulBytesAndMegabyteLines) {
    scratch_dir dir;
    std::string words;
    while (words.size() < (1u << 20)) words += "abc defg hi ";
    std::string log = join_lines({
        "  0:00 InitGame: \\g_gametype\\0\\mapname\\nul\\gamename\\vexoarena\\",
        "  0:00 ClientConnect: 0",
        "  0:00 ClientUserinfoChanged: 0 n\\Ash\\t\\0",
        "  0:00 ClientConnect: 1",
        "  0:00 ClientUserinfoChanged: 1 n\\Birch\\t\\0",
    });
    log += std::string("  0:10 Kill: 0 1 10: Ash killed Birch") + '\0' + " by MOD_RAILGUN\n";
    log += std::string(1, '\0') + "  0:20 Kill: 0 1 10: hidden behind a NUL byte\n";
    log += words + "\n";
    log += std::string(1u << 20, '\0') + "\n";
    log += "  0:30 Kill: 1 0 6: Birch killed Ash by MOD_ROCKET\n";
    log += std::string("  0:40 say: Ash: a") + '\0' + "b\n";
    log += "  1:00 ShutdownGame:\n";
    log += words;  // a last line without a line end
    write_file(dir / "nul.log", log);
    run_result r = run_vexo(dir.path, {"/l", "/d", "nul.log"});
    expect_sound_run(r, dir.path);
    EXPECT_EQ(read_file(dir / "vexodata.txt"),
              "1,Ash,1,1,0,0,00:01:00 h,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n"
              "1,Birch,1,1,0,0,00:01:00 h,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0\r\n");
    EXPECT_NE(read_file(dir / "chat.htm").find("<b>Ash</b>: a<br>\r\n"), std::string::npos);
}

TEST(EndToEnd, HtmlInNamesChatMapAndGameShowsEscaped) {
    scratch_dir dir;
    write_file(dir / "html.log",
               join_lines({
                   "  0:00 InitGame: \\g_gametype\\0\\mapname\\<I>Map\\gamename\\g&<b>\\",
                   "  0:00 ClientConnect: 0",
                   "  0:00 ClientUserinfoChanged: 0 n\\<script>x</script>\\t\\0",
                   "  0:00 ClientConnect: 1",
                   "  0:00 ClientUserinfoChanged: 1 n\\Plain\\t\\0",
                   "  0:10 Kill: 0 1 10: x",
                   "  0:20 Kill: 1 0 6: y",
                   "  0:30 say: <script>x</script>: <b>bold</b> & more",
                   "  1:00 ShutdownGame:",
               }));
    run_result r = run_vexo(dir.path, {"/l", "/d", "html.log"});
    expect_sound_run(r, dir.path);
    for (const std::string& f : list_tree(dir.path)) {
        if (f == "html.log") continue;
        std::string page = read_file(dir / f);
        EXPECT_EQ(page.find("<script"), std::string::npos) << f;
        EXPECT_EQ(page.find("<i>map"), std::string::npos) << f;
        EXPECT_EQ(page.find("<b>bold"), std::string::npos) << f;
        EXPECT_EQ(page.find("g&<b>"), std::string::npos) << f;
    }
    // Map and game names are escaped on the game page; names and chat in
    // their own tests.
    std::string game = read_file(dir / "vexo_games/game_1.htm");
    EXPECT_NE(game.find("<p align=right>&lt;i&gt;map</p>"), std::string::npos);
    EXPECT_NE(game.find("<p align=right>g&amp;&lt;b&gt;</p>"), std::string::npos);
}

TEST(EndToEnd, FolderGivenAsLogFile) {
    scratch_dir dir;
    ASSERT_TRUE(fs::create_directory(dir / "games.log"));
    write_file(dir / "games.log/inside.log", join_lines(fixture_lines()));
    run_result r = run_vexo(dir.path, {"games.log"});
    EXPECT_EQ(r.code, 1);
    const std::string end = "\nWARNING: games.log is a folder, not a log file"
                            "\nERROR: No log file to analyse\n\nPress ENTER to exit.";
    EXPECT_EQ(r.out.substr(r.out.size() - std::min(r.out.size(), end.size())), end);
    EXPECT_EQ(list_tree(dir.path), std::set<std::string>{"games.log/inside.log"});
}

// The bundled example log renders every kind of section of the pages.
TEST(EndToEnd, ExampleLogShowsEveryFeature) {
    const std::string example = std::string(VEXO_SOURCE_DIR) + "/examples/example.log";
    ASSERT_TRUE(is_file(example));
    scratch_dir dir;
    write_file(dir / "example.log", read_file(example));
    run_result r = run_vexo(dir.path, {"/l", "/d", "/top5", "example.log"});
    expect_sound_run(r, dir.path);
    std::string games;
    for (const std::string& f : list_tree(dir.path))
        if (f.rfind("vexo_games/game_", 0) == 0) games += read_file(dir / f);
    for (const char* section :
         {"<b>Teams</b>", "<b>Players (sorted by team and score)</b>", "(sorted by ratio)",
          "Gametype</th>\r\n<td bgcolor=#606060><p align=right>CTF",
          "<p align=right>team DM", "<p align=right>1on1", "<p align=right>FFA",
          "<font color=red>R</font><font color=blue>B</font>", "Killchart (All weapons)",
          "Killchart (Railgun)", "Killchart (Rocket)", "Killchart (Grenade)",
          "<b>Health & Armor pickups</b>", "<font color=\"red\">"})
        EXPECT_NE(games.find(section), std::string::npos) << section;
    std::string chat = read_file(dir / "chat.htm");
    EXPECT_NE(chat.find("[---- "), std::string::npos);
    EXPECT_NE(chat.find("&lt;"), std::string::npos);
    EXPECT_NE(chat.find("&amp;"), std::string::npos);
    std::string ranking = read_file(dir / "players.htm");
    EXPECT_NE(ranking.find("<td align=center>(3)</td>"), std::string::npos);
    EXPECT_FALSE(read_file(dir / "vexodata.txt").empty());
    EXPECT_TRUE(is_file(dir / "top_players.htm"));
}

// vexo writes the pages of a game on a second thread while it reads the next
// games into other game records. The tree must be the one written when each
// game is written and merged as soon as it is read, from one record: the
// example log five times over (25 listed games, team games, a one-on-one match with
// its warm-up, chat and bots) is run both ways and every file compared.
TEST(EndToEnd, PageThreadWritesWhatOneGameAtATimeWrites) {
    const std::string example = read_file(std::string(VEXO_SOURCE_DIR) + "/examples/example.log");
    std::string log;
    for (int i = 0; i < 5; i++) log += example;
    scratch_dir threaded, reference;
    write_file(threaded / "games.log", log);
    write_file(reference / "games.log", log);
    run_result r = run_vexo(threaded.path, {"/l", "/d", "/top5", "games.log"});
    expect_sound_run(r, threaded.path);

    const std::string start = platform::current_dir();
    ASSERT_TRUE(platform::change_dir(reference.path));
    {
        vexo_main vm;
        const char* const argv[] = {"vexo", "/l", "/d", "/top5", "games.log"};
        vm.settings.apply_command_line(5, argv);
        write_file("vexodata.txt", "");
        chat_log chat;
        chat.open();
        vexo_test::parsed_log parsed(log, &chat);
        parsed.settings = vm.settings;
        resultdata_total totals;
        while (parsed.next_game()) {
            resultdata* game = parsed.results.get();
            game->sort_players(vm.settings.sort_order, false);
            if (vm.write_game(game, parsed.parser.get())) totals.add_game(*game);
        }
        chat.finish();
        if (vm.game_list.is_open()) vm.close_game_list();
        vm.write_game_index();
        vm.write_rankings(&totals, 0);
        vm.write_rankings(&totals, 5);
        platform::make_dir("vexo_players");
        ASSERT_TRUE(platform::change_dir("vexo_players"));
        vm.settings.in_subfolder = true;
        vm.write_player_pages(&totals);
        EXPECT_EQ(vm.games_written, 25);   // one game of each copy has one player
    }
    ignore_events = false;
    ASSERT_TRUE(platform::change_dir(start));

    const std::set<std::string> files = list_tree(threaded.path);
    EXPECT_EQ(files, list_tree(reference.path));
    EXPECT_TRUE(files.count("vexo_games/game_25.htm"));
    for (const std::string& f : files)
        EXPECT_EQ(mask_timestamps(read_file(threaded / f)), mask_timestamps(read_file(reference / f))) << f;
}

}  // namespace
