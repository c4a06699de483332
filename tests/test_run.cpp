// Whole runs of the built program in a scratch folder: usage and version, the
// log-file arguments, the stylesheet, the old page folders, the viewer, fatal
// errors with and without a terminal, bad input that must never crash or hang
// a run, and games read while the pages of earlier ones are written.
#include <fcntl.h>

#include <map>
#include <random>
#include <thread>

#include "harness.h"

namespace {

using namespace harness;

// One game of two players.
const std::string GAME =
    "  0:00 InitGame: \\g_gametype\\0\\mapname\\arena7\\\n"
    "  0:01 ClientConnect: 0\n  0:01 ClientUserinfoChanged: 0 n\\Alice\\t\\0\n"
    "  0:02 ClientConnect: 1\n  0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n"
    "  0:10 Kill: 0 1 10: Alice killed Bob by MOD_RAILGUN\n  2:00 ShutdownGame:\n";

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A run that went through: exit code 0, no error, the elapsed time last,
// nothing on standard error, every link of the results leading to a file.
void expect_sound(const run_result& r, const std::string& results) {
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
    EXPECT_TRUE(ends_with(mask_elapsed(r.out), "\nX seconds elapsed\n")) << r.out;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(broken_links(results), std::vector<std::string>());
}

TEST(Run, UsageHelpAndVersionWriteNothing) {
    scratch_dir dir;
    write_file(dir / "game.log", GAME);
    const run_result version = run_vexo(dir.path, {"--version"});
    const run_result usage = run_vexo(dir.path, {});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(usage.code, 1);
    EXPECT_EQ(usage.out.rfind(version.out, 0), 0u) << "the usage starts with the banner";
    EXPECT_NE(usage.out.find("\nUsage: vexo [OPTIONS] <logfile> [OPTIONS]\n"), std::string::npos);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-h"}, {"--help"}, {"-?"}, {"/?"}, {"--HELP"}, {"game.log", "/l", "-H"}}) {
        const run_result r = run_vexo(dir.path, args);
        EXPECT_EQ(r.code, 0) << args.back();
        EXPECT_EQ(r.out, usage.out) << args.back();
    }
    EXPECT_EQ(run_vexo(dir.path, {"game.log", "--Version"}).out, version.out);
    EXPECT_EQ(list_files(dir.path), std::vector<std::string>{"game.log"});
    const run_result run = run_vexo(dir.path, {"game.log"});
    EXPECT_EQ(run.out.rfind(version.out, 0), 0u) << "a run starts with the banner";
}

// Files in the order given, each once whatever it is called; patterns match
// the file name without regard to case, in byte order, without folders and
// dot files; a path from the root is a file; a specification is cut to 255.
TEST(Run, LogFileArgumentsInOrderEachFileOnce) {
    scratch_dir dir;
    fs::create_directories(dir / "logs/d.log");
    for (const char* f : {"b.log", "a.log", "logs/b.log", "logs/A.log", "logs/c.Log", "logs/.x.log"})
        write_file(dir / f, GAME);
    write_file(dir / "logs/readme.txt", "not a log");
    write_file(dir / "empty.log", "");
    fs::create_symlink("b.log", dir / "same.log");
    const std::string absolute = dir / "logs/b.log", spec(300, 'z');
    const run_result r = run_vexo(dir.path, {"b.log", "nomatch.log", "a.log", "./B.LOG", "same.log", absolute,
                                             "logs/*.LOG", "LOGS/*.log", "EMPTY.LOG", spec});
    expect_sound(r, dir.path);
    std::vector<std::string> lines;
    std::istringstream out(r.out);
    for (std::string line; std::getline(out, line);)
        if (line.rfind("Parsing ", 0) == 0 || line.rfind("WARNING", 0) == 0) lines.push_back(line);
    const std::string size = " [" + std::to_string(GAME.size()) + " byte]";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Parsing b.log" + size, "WARNING: no log file matches nomatch.log",
                         "Parsing a.log" + size, "Parsing " + absolute + size, "Parsing logs/A.log" + size,
                         "Parsing logs/c.Log" + size, "WARNING: no log file matches LOGS/*.log",
                         "Parsing empty.log [0 byte]", "WARNING: no game listed from empty.log (0 kill lines read)",
                         "WARNING: no log file matches " + spec.substr(0, 255)}));
    EXPECT_TRUE(fs::exists(dir / "vexo_games/game_5.htm"));
    EXPECT_FALSE(fs::exists(dir / "vexo_games/game_6.htm"));
}

TEST(Run, StylesheetMessagesAndLinks) {
    const std::string css = "body { color: #FFFFFF }\r\n";
    struct css_case {
        const char* what;
        bool results_folder, css_here, css_there, css_there_unwritable;
        std::string message;
        bool linked;
    } cases[] = {
        {"none anywhere, no results folder", false, false, false, false,
         "\nNo vexo.css found, using default stylesheets\n", false},
        {"in the starting folder, no results folder", false, true, false, false,
         "\nUsing existing stylesheet file vexo.css\n", true},
        {"none anywhere", true, false, false, false,
         "Reading vexo.css\n\nNo vexo.css found, using default stylesheets\n", false},
        {"copied", true, true, false, false,
         "Reading vexo.css\n\nCopied stylesheet file vexo.css to results folder\n", true},
        {"in both folders", true, true, true, false,
         "Reading vexo.css\n\nUsing existing stylesheet file vexo.css\n", true},
        {"only in the results folder", true, false, true, false,
         "Reading vexo.css\n\nUsing existing stylesheet file vexo.css\n", true},
        {"a dangling link is replaced by the copy", true, true, false, true,
         "Reading vexo.css\n\nCopied stylesheet file vexo.css to results folder\n", true},
    };
    for (const css_case& c : cases) {
        SCOPED_TRACE(c.what);
        scratch_dir dir;
        write_file(dir / "game.log", GAME);
        fs::create_directories(dir / "out");
        if (c.results_folder) write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
        if (c.css_here) write_file(dir / "vexo.css", css);
        if (c.css_there) write_file(dir / "out/vexo.css", "their own");
        // a link into a missing folder opens neither for reading nor for writing
        if (c.css_there_unwritable) fs::create_symlink(dir / "missing/x.css", dir / "out/vexo.css");
        const std::string results = c.results_folder ? dir / "out" : dir.path;
        const run_result r = run_vexo(dir.path, {"game.log"});
        expect_sound(r, results);
        EXPECT_NE(r.out.find(c.message + "\nParsing game.log"), std::string::npos) << r.out;
        if (c.results_folder && (c.css_there || c.linked)) {
            EXPECT_EQ(read_file(dir / "out/vexo.css"), c.css_there ? "their own" : css);
        }
        const std::string head = "<html>\r\n<head>\r\n<title>VEXO results</title>\r\n";
        for (const std::string page : {"players.htm", "vexo_games/game_1.htm", "vexo_players/player_1.htm"}) {
            const std::string up = page.find('/') != std::string::npos ? "../" : "";
            const std::string start = c.linked ? head + "<LINK REL=StyleSheet HREF=\"" + up + "vexo.css\"" : head + "<style>";
            EXPECT_EQ(read_file(results + "/" + page).rfind(start, 0), 0u) << page;
        }
    }
}

// The page folders of the run before go (moved aside whole when they can be,
// and deleted by the next run; else emptied entry by entry); links are
// deleted, never followed; what cannot be deleted stays beside the new pages;
// the data file and the chat log are written anew.
TEST(Run, OldPageFoldersAreDeletedLinksNotFollowed) {
    scratch_dir dir;
    write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
    write_file(dir / "game.log", GAME);
    write_file(dir / "out/vexo_games/a/b/c/game_9.htm", "old");
    write_file(dir / "out/vexo_games/games1.htm", "old");
    write_file(dir / "keep/inner/page.htm", "mine");
    fs::create_directory_symlink(dir / "keep", dir / "out/vexo_players");
    fs::create_directory_symlink(dir / "keep", dir / "out/vexo_games/a/link");
    write_file(dir / "out/.vexo_old_77_1/x/game_1.htm", "left by a run that ended early");
    expect_sound(run_vexo(dir.path, {"/l", "/d", "game.log"}), dir / "out");
    const std::string data = read_file(dir / "out/vexodata.txt"), chat = read_file(dir / "out/chat.htm");
    EXPECT_FALSE(fs::exists(dir / "out/vexo_games/a"));
    EXPECT_NE(read_file(dir / "out/vexo_games/games1.htm"), "old");
    EXPECT_FALSE(fs::is_symlink(dir / "out/vexo_players"));
    EXPECT_TRUE(fs::exists(dir / "out/vexo_players/player_1.htm"));
    EXPECT_FALSE(fs::exists(dir / "out/.vexo_old_77_1"));
    // The replaced folder waits, moved aside, for the next run to delete it;
    // the link in the place of the other one is gone at once.
    std::vector<fs::path> aside;
    for (const auto& e : fs::directory_iterator(dir / "out"))
        if (e.path().filename().string().rfind(".vexo_old_", 0) == 0) aside.push_back(e.path());
    EXPECT_EQ(aside.size(), 1u);

    // A folder whose name starts with "." is never entered: the folder stays.
    write_file(dir / "out/vexo_games/.mine/notes.txt", "kept");
    write_file(dir / "out/vexo_games/game_7.htm", "old");
    expect_sound(run_vexo(dir.path, {"/l", "/d", "game.log"}), dir / "out");
    EXPECT_EQ(read_file(dir / "out/vexo_games/.mine/notes.txt"), "kept");
    EXPECT_EQ(read_file(dir / "out/vexodata.txt"), data) << "written anew, not appended to";
    EXPECT_EQ(read_file(dir / "out/chat.htm"), chat);
    EXPECT_FALSE(fs::exists(dir / "out/vexo_games/game_7.htm"));
    EXPECT_TRUE(fs::exists(dir / "out/vexo_games/game_1.htm"));
    for (const fs::path& p : aside) EXPECT_FALSE(fs::exists(fs::symlink_status(p))) << p;
    EXPECT_EQ(list_files(dir / "keep"), std::vector<std::string>{"inner/page.htm"});
}

TEST(Run, OpenResultsHandsPlayersPageToTheViewer) {
    scratch_dir dir;
    write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
    write_file(dir / "game.log", GAME);
    write_file(dir / "bin/xdg-open", "#!/bin/sh\nprintf '%s\\n%s\\n' \"$1\" \"$PWD\" >> '" + (dir / "viewer.txt") + "'\n");
    fs::permissions(dir / "bin/xdg-open", fs::perms::owner_all);
    run_options o;
    o.path_prefix = dir / "bin";
    expect_sound(run_vexo(dir.path, {"/about", "game.log"}, o), dir / "out");
    std::istringstream lines(read_file(dir / "viewer.txt"));
    std::string arg, cwd, extra;
    std::getline(lines, arg);
    std::getline(lines, cwd);
    EXPECT_FALSE(std::getline(lines, extra)) << "the viewer was started more than once";
    const fs::path opened = fs::path(arg).is_absolute() ? fs::path(arg) : fs::path(cwd) / arg;
    EXPECT_EQ(fs::canonical(opened), fs::canonical(dir / "out/players.htm"));
}

const std::string PROMPT = "\n\nPress ENTER to exit.";

// A fatal error ends the run with exit code 1 and its message; without a
// terminal the program does not wait for ENTER.
TEST(Run, FatalErrors) {
    struct fatal_case {
        const char* what;
        std::vector<std::string> folders, args;
        std::string message;
        bool as_root = true;   // root writes into a folder without write permission
    } cases[] = {
        {"a folder where games.htm goes", {"games.htm"}, {"game.log"}, "\nERROR: Couldn't open games.htm"},
        {"a folder as configuration file", {"cfgdir"}, {"/cfg:cfgdir", "game.log"},
         "\nReading CFG: cfgdir\nERROR: analyzedemo::parse - configfile read error"},
        // Found when the pages are published, before anything is replaced.
        {"a folder where the data file goes", {"vexodata.txt"}, {"/d", "game.log"},
         "(100 %)\n\nERROR: Couldn't open vexodata.txt"},
        {"a results folder without write permission", {}, {"game.log"},
         "Reading vexo.css\n\nERROR: Couldn't enter results folder out", false},
    };
    for (const fatal_case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.as_root && geteuid() == 0) continue;
        scratch_dir dir;
        write_file(dir / "game.log", GAME);
        for (const std::string& f : c.folders) fs::create_directories(dir / f);
        if (c.message.find("Reading vexo.css") != std::string::npos || !c.as_root) {
            write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
            fs::create_directories(dir / "out");
            for (const std::string& f : c.folders) fs::create_directories(dir / ("out/" + f));
        }
        if (!c.as_root) fs::permissions(dir / "out", fs::perms::owner_read | fs::perms::owner_exec);
        const run_result r = run_vexo(dir.path, c.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(ends_with(r.out, c.message + PROMPT)) << r.out;
        if (!c.as_root) fs::permissions(dir / "out", fs::perms::owner_all);
    }

    // Standard input a pipe that never delivers a character: the run ends all the same.
    scratch_dir dir;
    write_file(dir / "game.log", GAME);
    fs::create_directories(dir / "games.htm");
    int never[2];
    ASSERT_EQ(pipe(never), 0);
    run_options o;
    o.stdin_fd = never[0];
    const run_result r = run_vexo(dir.path, {"game.log"}, o);
    close(never[0]);
    close(never[1]);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(ends_with(r.out, "\nERROR: Couldn't open games.htm" + PROMPT)) << r.out;
}

// On a terminal the prompt reaches the console, and the program waits for ENTER.
TEST(Run, FatalErrorWaitsForEnterOnATerminal) {
    scratch_dir dir;
    write_file(dir / "game.log", GAME);
    fs::create_directories(dir / "games.htm");
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) GTEST_SKIP() << "no pseudo-terminal on this machine";
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    bool answered = false, waited = false;
    run_options o;
    o.stdin_fd = terminal;
    o.on_output = [&](pid_t pid, const std::string& out) {
        if (answered || !ends_with(out, PROMPT)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        siginfo_t info{};
        waited = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
        answered = write(master, "\n", 1) == 1;
    };
    const run_result r = run_vexo(dir.path, {"game.log"}, o);
    close(terminal);
    close(master);
    EXPECT_TRUE(answered) << r.out;
    EXPECT_TRUE(waited) << "ended without waiting for ENTER";
    EXPECT_EQ(r.code, 1);
}

// Bad input: none of these may crash, hang or end a run with an error.
TEST(Run, BadInputNeverBreaksARun) {
    std::mt19937 random(20261206);
    std::string junk;
    for (int i = 0; i < 300000; ++i) {
        const char c = static_cast<char>(random());
        junk.push_back(c % 7 == 0 ? '\n' : c);
    }
    // Event words among the junk, so that the dispatch sees broken arguments.
    for (const char* w : {"Kill:", "InitGame:", "ClientUserinfoChanged:", "say:", "score:", "Item:",
                          "ShutdownGame:", "ClientConnect:", "ClientDisconnect:", "Warmup:", "Exit:"})
        for (int i = 0; i < 50; ++i) junk.insert(random() % junk.size(), std::string("\n 1:00 ") + w + " ");
    std::string words;
    while (words.size() < (1u << 20)) words += "abc defg hi ";
    const std::string nul_lines = GAME.substr(0, GAME.find("  0:10")) + words + "\n" +
                                  std::string(1u << 20, '\0') + "\n  0:30 Kill: 1 0 6\n" +
                                  std::string("  0:40 say: Alice: a") + '\0' + "b\n  1:00 ShutdownGame:\n" + words;
    std::string busy = GAME.substr(0, GAME.find("  0:10"));
    for (int i = 0; i < 70000; i++) busy += "  1:00 Kill: 0 1 10\n";
    const struct {
        const char* what;
        std::string log;
    } cases[] = {{"random bytes", junk}, {"NUL bytes and megabyte lines", nul_lines}, {"70000 kills", busy}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scratch_dir dir;
        write_file(dir / "games.log", c.log);
        expect_sound(run_vexo(dir.path, {"/l", "/d", "games.log"}), dir.path);
    }
    // The counters are wider than 16 bits.
    scratch_dir dir;
    write_file(dir / "games.log", busy + "  2:00 ShutdownGame:\n");
    expect_sound(run_vexo(dir.path, {"/d", "games.log"}), dir.path);
    EXPECT_EQ(read_file(dir / "vexodata.txt").substr(0, 18), "1,Alice,70000,0,0,");
}

// A game page lists its players in the order of the sort key (/o): one game
// where each key but the score gives another order (skill and eff differ).
TEST(Run, GamePagesListPlayersInEachSortOrder) {
    std::string log = " 0:00 InitGame: \\g_gametype\\0\\mapname\\arena\n";
    const char* const names[] = {"Kim", "Ari", "Zed", "Moe"};
    for (int i = 0; i < 4; i++)
        log += " 0:01 ClientConnect: " + std::to_string(i) + "\n 0:01 ClientUserinfoChanged: " +
               std::to_string(i) + " n\\" + names[i] + "\\t\\0\n";
    log += " 0:10 Kill: 1 3 10\n 0:20 Kill: 2 0 10\n 0:21 Kill: 2 0 10\n 0:22 Kill: 2 0 10\n 0:23 Kill: 2 3 10\n"
           " 0:30 Kill: 0 2 10\n 0:31 Kill: 0 2 10\n 0:40 Kill: 1022 0 19\n 0:41 Kill: 1022 0 19\n"
           " 0:50 Kill: 3 3 7\n 4:01 ClientDisconnect: 2\n 6:01 ClientDisconnect: 1\n 8:01 ClientDisconnect: 0\n"
           "10:01 ShutdownGame:\n";
    const std::pair<const char*, const char*> orders[] = {
        {"/oR", "Zed Ari Moe Kim"}, {"/oE", "Ari Zed Kim Moe"}, {"/oS", "Zed Ari Kim Moe"},
        {"/oK", "Zed Kim Ari Moe"}, {"/oN", "Ari Kim Moe Zed"}, {"/oF", "Zed Ari Kim Moe"},
        {"/oC", "Zed Ari Kim Moe"}, {"/oP", "Moe Kim Ari Zed"}, {"/oT", "Kim Ari Zed Moe"}};
    for (const auto& [option, order] : orders) {
        scratch_dir dir;
        write_file(dir / "games.log", log);
        expect_sound(run_vexo(dir.path, {option, "games.log"}), dir.path);
        const std::string page = read_file(dir / "vexo_games/game_1.htm");
        const size_t table = page.find("Players (sorted by"), end = page.find("</table>", table);
        std::string shown;
        const std::string cell = "<td align=left><b>";
        for (size_t at = page.find(cell, table); at < end; at = page.find(cell, at + 1))
            shown += (shown.empty() ? "" : " ") +
                     page.substr(at + cell.size(), page.find('<', at + cell.size()) - at - cell.size());
        EXPECT_EQ(shown, order) << option;
    }
}

// 600 players, 300 of them back after the name index has grown: one record,
// one page and one line of the ranking each.
TEST(Run, SixHundredPlayersEachOnceWithAPageEach) {
    auto game = [](int first) {   // players first to first + 29, each kills the next
        std::string g = " 0:00 InitGame: \\g_gametype\\0\\mapname\\arena\n";
        for (int i = 0; i < 30; i++)
            g += " 0:01 ClientConnect: " + std::to_string(i) + "\n 0:01 ClientUserinfoChanged: " +
                 std::to_string(i) + " n\\P" + std::to_string(first + i) + "\\t\\0\n";
        for (int i = 0; i < 30; i++) g += " 0:10 Kill: " + std::to_string(i) + " " + std::to_string((i + 1) % 30) + " 10\n";
        return g + " 5:00 ShutdownGame:\n";
    };
    std::string log;
    for (int k = 0; k < 30; k++) log += game(30 * (k % 20));
    scratch_dir dir;
    write_file(dir / "games.log", log);
    expect_sound(run_vexo(dir.path, {"games.log"}), dir.path);
    EXPECT_EQ(list_files(dir / "vexo_players").size(), 600u);
    const std::string ranking = read_file(dir / "players_name.htm");
    EXPECT_GT(ranking.size(), 65536u);
    for (int i = 0; i < 600; i++) {
        const std::string name = ">P" + std::to_string(i) + "<";
        const size_t at = ranking.find(name);
        EXPECT_TRUE(at != std::string::npos && ranking.find(name, at + 1) == std::string::npos) << name;
    }
}

// The run reads the next games into a ring of game records while the pages of
// earlier ones are written. The example log three times over (15 listed games,
// more than the ring holds) must give the same pages and data for each copy.
TEST(Run, GamesReadWhileEarlierPagesAreWrittenComeOutAlike) {
    scratch_dir dir;
    const std::string example = read_file(std::string(VEXO_SOURCE_DIR) + "/examples/example.log");
    write_file(dir / "games.log", example + example + example);
    expect_sound(run_vexo(dir.path, {"/l", "/d", "games.log"}), dir.path);
    auto page = [&dir](int game) {
        std::string text = mask_stamps(read_file(dir / ("vexo_games/game_" + std::to_string(game) + ".htm")));
        const std::string title = "<p class=\"title\">Game " + std::to_string(game) + "</p>";
        const size_t at = text.find(title);
        return at == std::string::npos ? text : text.replace(at, title.size(), "");
    };
    std::map<int, std::string> data;   // the data-file lines of each game, without the number
    std::istringstream lines(read_file(dir / "vexodata.txt"));
    for (std::string line; std::getline(lines, line);) data[std::atoi(line.c_str())] += line.substr(line.find(','));
    ASSERT_EQ(data.size(), 15u);
    for (int game = 1; game <= 10; game++) {
        EXPECT_EQ(page(game), page(game + 5)) << game;
        EXPECT_EQ(data[game], data[game + 5]) << game;
    }
}

}  // namespace
