// The web page set (/w): the text rules of names and chat (code pages,
// colour codes, escaping), the stable page names, and whole runs: the set is
// replaced by the next run, shows no address, GUID or path of the machine,
// links players only to pages that exist, and follows log_charset.
#include "harness.h"
#include "html/web/charset.h"
#include "html/web/web_address.h"
#include "html/web/web_text.h"

namespace {

using namespace harness;

TEST(WebText, CodePageRules) {
    using lc = log_charset;
    const struct {
        const char* bytes;
        lc setting;
        const char* utf8;
    } cases[] = {
        {"Bob", lc::automatic, "Bob"},
        {"Zo\xc3\xab", lc::automatic, "Zo\xc3\xab"},                      // valid UTF-8 stays ...
        {"Zo\xc3\xab", lc::windows_1251, "Zo\xc3\xab"},                   // ... whatever the setting
        {"\xc8\xe2\xe0\xed", lc::automatic, "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd"},   // two in a row: 1251
        {"caf\xe9", lc::automatic, "caf\xc3\xa9"},                        // one alone: 1252
        {"\xe9t\xe9", lc::automatic, "\xc3\xa9t\xc3\xa9"},                // never two in a row
        {"\xc8\xe2\xe0\xed", lc::windows_1252, "\xc3\x88\xc3\xa2\xc3\xa0\xc3\xad"},
        {"caf\xe9", lc::windows_1251, "caf\xd0\xb9"},
        {"\x80\x99", lc::windows_1252, "\xe2\x82\xac\xe2\x84\xa2"},       // euro sign, trade mark
        {"\x81", lc::windows_1252, "\xef\xbf\xbd"},                       // undefined there
        {"\x98", lc::windows_1251, "\xef\xbf\xbd"},
        {"\xa8\xb8", lc::windows_1251, "\xd0\x81\xd1\x91"},               // capital and small yo
        {"\x80\xe9", lc::iso_8859_1, "\xef\xbf\xbd\xc3\xa9"},             // a control code; e acute
        {"\xc0\xaf", lc::automatic, "\xc3\x80\xc2\xaf"},                  // overlong: not UTF-8
        {"\xed\xa0\x80", lc::automatic, "\xc3\xad\xc2\xa0\xe2\x82\xac"},  // a surrogate: not UTF-8
        {"\xf4\x90\x80\x80", lc::windows_1252, "\xc3\xb4\xef\xbf\xbd\xe2\x82\xac\xe2\x82\xac"},
        {"Zo\xc3", lc::automatic, "Zo\xc3\x83"},                          // cut in the middle
        {"a\x01\x1b[0mb\tc", lc::automatic, "a[0mb\tc"},                   // control codes left out
        {"\x07\xe9", lc::automatic, "\xc3\xa9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(to_utf8(c.bytes, strlen(c.bytes), c.setting), c.utf8) << c.bytes;
}

TEST(WebText, CodePageNames) {
    const struct {
        const char* name;
        bool known;
        log_charset charset;
    } cases[] = {
        {"auto", true, log_charset::automatic},          {"AUTO", true, log_charset::automatic},
        {"windows-1252", true, log_charset::windows_1252}, {"cp1252", true, log_charset::windows_1252},
        {"Windows-1251", true, log_charset::windows_1251}, {"cp1251", true, log_charset::windows_1251},
        {"iso-8859-1", true, log_charset::iso_8859_1},     {"latin1", true, log_charset::iso_8859_1},
        {"utf-8", false, log_charset::automatic},          {"", false, log_charset::automatic},
        {"windows-12510", false, log_charset::automatic},
    };
    for (const auto& c : cases) {
        log_charset found = log_charset::automatic;
        EXPECT_EQ(charset_by_name(c.name, found), c.known) << c.name;
        EXPECT_EQ(found, c.charset) << c.name;
    }
}

TEST(WebText, ColourCodesEscapingAndJson) {
    const struct {
        const char* name;
        const char* coloured;
        const char* plain;
    } names[] = {
        {"Bob", "Bob", "Bob"},
        {"^1Bob", "<span class=\"c1\">Bob</span>", "Bob"},
        {"A^1B^4C", "A<span class=\"c1\">B</span><span class=\"c4\">C</span>", "ABC"},
        {"^1^2X^2Y", "<span class=\"c2\">XY</span>", "XY"},
        {"^8a^9b", "<span class=\"c0\">a</span><span class=\"c1\">b</span>", "ab"},
        {"^lX^sY", "<span class=\"c2\">X</span><span class=\"c7\">Y</span>", "^lX^sY"},
        {"x^", "x^", "x^"},
        {"^x^", "^x^", "^x^"},
        {"Bob^7", "Bob", "Bob"},
        {"^1", "", ""},
        {"<b>&\"'", "&lt;b&gt;&amp;&quot;&#39;", "<b>&\"'"},
        {"^3\xd0\x98\xd0\xb2", "<span class=\"c3\">\xd0\x98\xd0\xb2</span>", "\xd0\x98\xd0\xb2"},
    };
    for (const auto& n : names) {
        EXPECT_EQ(coloured_html(n.name), n.coloured) << n.name;
        EXPECT_EQ(plain_text(n.name), n.plain) << n.name;
    }
    EXPECT_EQ(json_string("a\"b\\c</script>&\n\x01"),
              "\"a\\\"b\\\\c\\u003c/script\\u003e\\u0026\\n\\u0001\"");
    EXPECT_EQ(json_string("x\xe2\x80\xa8y\xe2\x80\xa9z\xe2\x80\xaa"), "\"x\\u2028y\\u2029z\xe2\x80\xaa\"");
    EXPECT_EQ(lower_text("ABC \xc3\x80\xc3\x89\xc3\x97 \xd0\x96\xd0\x81 \xc3\xa9"),
              "abc \xc3\xa0\xc3\xa9\xc3\x97 \xd0\xb6\xd1\x91 \xc3\xa9");
}

TEST(WebText, StablePageNames) {
    EXPECT_EQ(player_address("bob"), player_address("bob"));
    EXPECT_NE(player_address("bob"), player_address("bob2"));
    const std::string bob = player_address("bob");
    EXPECT_EQ(bob.size(), 24u);
    EXPECT_EQ(bob.find_first_not_of("0123456789abcdef", 7), 19u) << bob;
    const struct {
        const char* map;
        const char* start;   // the name, or what precedes the hash of a changed one
        bool hashed;
    } maps[] = {
        {"q3dm17", "map_q3dm17.html", false}, {"ut4_dust2-b", "map_ut4_dust2-b.html", false},
        {"mp/duel1", "map_mp_duel1-", true},   {"..", "map___-", true},
        {"", "map_-", true},                   {"a b", "map_a_b-", true},
    };
    for (const auto& m : maps) {
        const std::string a = map_address(m.map);
        EXPECT_EQ(a.compare(0, strlen(m.start), m.start), 0) << a;
        if (m.hashed) {
            EXPECT_EQ(a.size(), strlen(m.start) + 6 + 5) << a;
        }
        EXPECT_EQ(a.find('/'), std::string::npos) << a;
    }
    EXPECT_NE(map_address("a b"), map_address("a_b"));
}

std::string game(const std::string& map, const std::vector<std::string>& userinfo, const std::string& kills) {
    std::string log = "  0:00 InitGame: \\g_gametype\\0\\mapname\\" + map + "\\\n";
    for (size_t i = 0; i < userinfo.size(); i++)
        log += "  0:01 ClientConnect: " + std::to_string(i) + "\n  0:01 ClientUserinfoChanged: " +
               std::to_string(i) + " " + userinfo[i] + "\n";
    return log + kills + "  2:00 ShutdownGame:\n";
}

std::string pages_of_set(const std::string& results) {
    std::string all = read_file(results + "/index.html");
    for (const std::string& f : list_files(results + "/vexo_web")) all += read_file(results + "/vexo_web/" + f);
    return all;
}

TEST(WebRun, SetIsReplacedByTheNextRunAndLinksOnlyPagesThatExist) {
    scratch_dir dir;
    write_file(dir / "a.log", game("dm1", {"n\\Alice\\t\\0", "n\\Bob\\t\\0", "n\\Carl\\t\\0"},
                                   "  0:10 Kill: 0 1 10: x\n  0:20 Kill: 2 0 10: x\n") +
                                  game("dm2", {"n\\Alice\\t\\0", "n\\Bob\\t\\0"}, "  0:10 Kill: 1 0 10: x\n"));
    run_result r = run_vexo(dir.path, {"/w", "/min_games:2", "a.log"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("\nWriting web pages to index.html and vexo_web/\n"), std::string::npos);
    EXPECT_EQ(broken_links(dir.path), std::vector<std::string>());
    const std::string alice = "vexo_web/" + player_address("alice");
    ASSERT_TRUE(fs::is_regular_file(dir / alice));
    EXPECT_FALSE(fs::exists(dir / ("vexo_web/" + player_address("carl"))));   // one game: below the limit
    // Alice's page is linked from the game pages of both games: after her
    // first game she was not yet within the limit, after her second she was.
    EXPECT_EQ(read_file(dir / "vexo_web/game_1.html").find(player_address("alice")), std::string::npos);
    EXPECT_NE(read_file(dir / "vexo_web/game_2.html").find(player_address("alice")), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "vexo_web/chat.html"));   // no /l
    const std::string json = read_file(dir / "vexo_web/vexo.json");
    EXPECT_NE(json.find("\"version\": 1"), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"Alice\", \"page\": \"" + player_address("alice") + "\""), std::string::npos);

    write_file(dir / "a.log", game("dm3", {"n\\Dora\\t\\0", "n\\Bob\\t\\0"}, "  0:10 Kill: 1 0 10: x\n"));
    r = run_vexo(dir.path, {"/w", "/l", "a.log"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_FALSE(fs::exists(dir / alice));
    EXPECT_FALSE(fs::exists(dir / "vexo_web/game_2.html"));
    EXPECT_FALSE(fs::exists(dir / "vexo_web/map_dm1.html"));
    EXPECT_TRUE(fs::is_regular_file(dir / ("vexo_web/" + player_address("dora"))));
    EXPECT_TRUE(fs::is_regular_file(dir / "vexo_web/chat.html"));
    EXPECT_EQ(broken_links(dir.path), std::vector<std::string>());

    // A run without /w leaves the set as it is.
    r = run_vexo(dir.path, {"a.log"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(fs::is_regular_file(dir / "vexo_web/chat.html"));
}

TEST(WebRun, NoPageShowsAddressGuidOrPathOfTheMachine) {
    scratch_dir dir;
    const std::string info = "\\ip\\203.0.113.77:27960\\cl_guid\\ABCDEF0123456789ABCDEF0123456789\\model\\x";
    write_file(dir / "a.log",
               game("dm1", {"n\\Alice\\t\\0" + info, "n\\Bob\\t\\0" + info},
                    "  0:10 Kill: 0 1 10: x\n  0:11 say: Alice: hi\n"));
    const run_result r = run_vexo(dir.path, {"/w", "/l", "/r", "a.log"});
    ASSERT_EQ(r.code, 0) << r.out;
    const std::string all = pages_of_set(dir.path);
    for (const std::string& secret : {std::string("203.0.113.77"), std::string("ABCDEF0123456789"),
                                     fs::temp_directory_path().string() + "/vexo_test"})
        EXPECT_EQ(all.find(secret), std::string::npos) << secret;
}

TEST(WebRun, LogCharsetFromTheConfiguration) {
    const std::string ivan = "n\\\xc8\xe2\xe0\xed\\t\\0";   // windows-1251 bytes
    const struct {
        const char* cfg;
        const char* name;        // as the ranking shows it
        bool warned;
    } cases[] = {
        {"", "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd", false},
        {"log_charset \"windows-1252\"\n", "\xc3\x88\xc3\xa2\xc3\xa0\xc3\xad", false},
        {"log_charset \"koi8-r\"\n", "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd", true},
    };
    for (const auto& c : cases) {
        scratch_dir dir;
        write_file(dir / "vexo.cfg", c.cfg);
        write_file(dir / "a.log", game("dm1", {ivan, "n\\Bob\\t\\0"}, "  0:10 Kill: 0 1 10: x\n"));
        const run_result r = run_vexo(dir.path, {"/w", "a.log"});
        ASSERT_EQ(r.code, 0) << r.out;
        EXPECT_NE(read_file(dir / "vexo_web/ranking.html").find(c.name), std::string::npos) << c.cfg;
        EXPECT_EQ(r.out.find("\nWARNING: log_charset \"koi8-r\" unknown, auto used") != std::string::npos, c.warned)
            << r.out;
    }
}

}  // namespace

namespace {

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

TEST(WebRun, LongListsArePagedAndKeepTheirLimits) {
    // 125 games: Ace and two new players in each (251 players); then one
    // game of 20 players.
    std::string log;
    for (int g = 0; g < 125; g++) {
        const std::string a = "P" + std::to_string(2 * g), b = "P" + std::to_string(2 * g + 1);
        log += game("dm" + std::to_string(g % 3), {"n\\Ace\\t\\0", "n\\" + a + "\\t\\0", "n\\" + b + "\\t\\0"},
                    "  0:10 Kill: 0 1 10: x\n  0:20 Kill: 0 2 10: x\n");
    }
    std::vector<std::string> crowd;
    std::string kills;
    for (int i = 0; i < 20; i++) {
        crowd.push_back("n\\C" + std::to_string(i) + "\\t\\0");
        kills += "  0:30 Kill: " + std::to_string(i) + " " + std::to_string((i + 1) % 20) + " 10: x\n";
    }
    log += game("big", crowd, kills);
    scratch_dir dir;
    write_file(dir / "a.log", log);
    const run_result r = run_vexo(dir.path, {"/w", "a.log"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(broken_links(dir.path), std::vector<std::string>());

    // 271 players, 100 a page, for every key.
    for (const std::string base : {"ranking", "ranking_kills", "ranking_name"}) {
        EXPECT_EQ(count_of(read_file(dir / ("vexo_web/" + base + ".html")), "<tr data-name="), 100u) << base;
        EXPECT_EQ(count_of(read_file(dir / ("vexo_web/" + base + "_3.html")), "<tr data-name="), 71u) << base;
        EXPECT_FALSE(fs::exists(dir / ("vexo_web/" + base + "_4.html"))) << base;
    }
    // Games newest first, 100 a page.
    const std::string list = read_file(dir / "vexo_web/games.html");
    EXPECT_LT(list.find("\"game_126.html"), list.find("\"game_125.html"));
    EXPECT_EQ(list.find("\"game_26.html"), std::string::npos);
    EXPECT_NE(read_file(dir / "vexo_web/games_2.html").find("\"game_1.html"), std::string::npos);
    // Ace's page lists the last 50 of 125 games.
    const std::string ace = read_file(dir / ("vexo_web/" + player_address("ace")));
    EXPECT_NE(ace.find("The last 50 of 125 games."), std::string::npos);
    EXPECT_NE(ace.find("\"game_125.html"), std::string::npos);
    EXPECT_EQ(ace.find("\"game_75.html"), std::string::npos);
    // The kill matrix of 20 players shows 16.
    const std::string big = read_file(dir / "vexo_web/game_126.html");
    EXPECT_NE(big.find("The 16 players with the most frags; 4 more are left out."), std::string::npos);
    const std::string matrix = big.substr(big.find("<table class=\"matrix\">"));
    EXPECT_EQ(count_of(matrix, "<td class=\"n self\">"), 16u);
}

}  // namespace

namespace {

// Every "page" of vexo.json and every address of search.js names a page of
// the set, both list the same players, and no "<" stands in either.
TEST(WebRun, SearchDataAndMachineDataNamePagesThatExist) {
    scratch_dir dir;
    write_file(dir / "a.log", game("dm1", {"n\\<b>Al</b>\\t\\0", "n\\^1Bo\"b\\t\\0", "n\\Cy\\t\\0"},
                                   "  0:10 Kill: 0 1 10: x\n  0:20 Kill: 1 2 10: x\n"));
    ASSERT_EQ(run_vexo(dir.path, {"/w", "a.log"}).code, 0);
    const std::string search = read_file(dir / "vexo_web/search.js");
    const std::string json = read_file(dir / "vexo_web/vexo.json");
    for (const std::string* text : {&search, &json}) {
        EXPECT_EQ(text->find('<'), std::string::npos) << *text;
        std::vector<std::string> pages;
        for (size_t at = 0; (at = text->find(".html\"", at)) != std::string::npos; at++) {
            const size_t start = text->rfind('"', at) + 1;
            pages.push_back(text->substr(start, at + 5 - start));
        }
        EXPECT_EQ(pages.size(), text == &search ? 3u : 4u) << *text;   // vexo.json: 3 players, 1 game
        for (const std::string& p : pages) EXPECT_TRUE(fs::is_regular_file(dir / ("vexo_web/" + p))) << p;
    }
    EXPECT_EQ(search.compare(0, 17, "var VEXO_SEARCH=["), 0);
    EXPECT_NE(search.find("[\"\\u003cb\\u003eAl\\u003c/b\\u003e\",\"" + player_address("&lt;b&gt;al&lt;/b&gt;")),
              std::string::npos)
        << search;
    EXPECT_NE(json.find("\"name\": \"Bo\\\"b\""), std::string::npos) << json;
}

}  // namespace

// Two slots of one name that kill each other meet as the player and itself:
// the nemesis and the favourite victim are the others.
TEST(WebRun, APlayerIsNeitherItsOwnNemesisNorItsOwnVictim) {
    scratch_dir dir;
    write_file(dir / "a.log", game("dm1", {"n\\Alice\\t\\0", "n\\Alice\\t\\0", "n\\Bob\\t\\0"},
                                   "  0:10 Kill: 0 1 10: x\n  0:11 Kill: 0 1 10: x\n  0:12 Kill: 1 0 10: x\n"
                                   "  0:20 Kill: 2 0 10: x\n  0:30 Kill: 0 2 10: x\n"));
    const run_result r = run_vexo(dir.path, {"/w", "a.log"});
    ASSERT_EQ(r.code, 0) << r.out;
    const std::string page = read_file(dir / ("vexo_web/" + player_address("alice")));
    const std::string bob = "<a href=\"" + player_address("bob") + "\">Bob</a>";
    EXPECT_NE(page.find("<dt>Nemesis</dt><dd>" + bob + " (killed Alice once)"), std::string::npos) << page;
    EXPECT_NE(page.find("<dt>Favourite victim</dt><dd>" + bob + " (killed once)"), std::string::npos) << page;
}
