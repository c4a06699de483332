// Whole runs of the built program in a fresh folder: console transcripts byte
// for byte (the elapsed seconds masked), exit codes and the files left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "run_control_texts.h"
#include "page_expect.h"

namespace fs = std::filesystem;
using namespace run_texts;

namespace {

// One game of two players: Alice kills Bob twice, Bob kills Alice once.
const std::string GAME_LOG =
    "  0:00 ------------------------------------------------------------\n"
    R"(  0:00 InitGame: \sv_hostname\Test Server\g_gametype\0\mapname\arena7\fraglimit\20\timelimit\10\)"
    "\n"
    "  0:01 ClientConnect: 0\n"
    R"(  0:01 ClientUserinfoChanged: 0 n\Alice\t\0\model\red)"
    "\n"
    "  0:02 ClientConnect: 1\n"
    R"(  0:02 ClientUserinfoChanged: 1 n\Bob\t\0\model\blue)"
    "\n"
    "  0:10 Kill: 0 1 10: Alice killed Bob by MOD_RAILGUN\n"
    "  1:02 Kill: 1 0 10: Bob killed Alice by MOD_RAILGUN\n"
    "  1:20 Kill: 0 1 7: Alice killed Bob by MOD_ROCKET\n"
    "  1:30 say: Alice: good game <3\n"
    "  2:00 ShutdownGame:\n";

std::string read_file(const fs::path& p) { return pagetest::read_raw(p.string()); }

void write_file(const fs::path& p, const std::string& content) { pagetest::write_raw(p.string(), content); }

enum class input { null, open_pipe };

struct run_options {
    input in = input::null;
    rlim_t file_size_limit = 0;  // 0: none
    std::string path_prefix;     // put first in PATH
};

struct run_result {
    int code = -1;  // exit code, -1 when killed or timed out
    std::string out;
};

std::string mask(const std::string& out)
{
    // "\n%.2f seconds elapsed": digits, a point and two digits
    static const std::string tail = " seconds elapsed";
    const size_t end = out.rfind(tail);
    if (end == std::string::npos || end < 4) return out;
    size_t begin = end - 3;
    if (out[begin] != '.' || !isdigit(static_cast<unsigned char>(out[end - 1])) ||
        !isdigit(static_cast<unsigned char>(out[end - 2])))
        return out;
    while (begin > 0 && isdigit(static_cast<unsigned char>(out[begin - 1]))) --begin;
    if (begin == end - 3 || begin == 0 || out[begin - 1] != '\n') return out;
    return out.substr(0, begin) + "<T>" + out.substr(end);
}

// Starts the program in `cwd` with `args`; returns its pid and the read end of its stdout.
pid_t spawn(const fs::path& cwd, const std::vector<std::string>& args, const run_options& o,
            int stdin_fd, int& out_fd)
{
    int out_pipe[2];
    if (pipe(out_pipe) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(127);
        dup2(out_pipe[1], 1);
        close(out_pipe[0]);
        close(out_pipe[1]);
        if (stdin_fd >= 0) {
            dup2(stdin_fd, 0);
        } else {
            int null_fd = open("/dev/null", O_RDONLY);
            dup2(null_fd, 0);
        }
        if (o.file_size_limit) {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit rl = {o.file_size_limit, o.file_size_limit};
            setrlimit(RLIMIT_FSIZE, &rl);
        }
        if (!o.path_prefix.empty()) {
            const char* old = std::getenv("PATH");
            std::string path = o.path_prefix + ":" + (old ? old : "/usr/bin:/bin");
            setenv("PATH", path.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>("vexo")};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(VEXO_BINARY, argv.data());
        _exit(127);
    }
    close(out_pipe[1]);
    out_fd = out_pipe[0];
    return pid;
}

// Reads from `fd` until end of file or until the deadline; true on end of file.
bool read_until_eof(int fd, std::string& out, std::chrono::steady_clock::time_point deadline,
                    const std::string& stop_at = "")
{
    char buf[4096];
    for (;;) {
        int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        deadline - std::chrono::steady_clock::now())
                                        .count());
        if (left <= 0) return false;
        struct pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, left) <= 0) continue;
        ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return true;
        out.append(buf, static_cast<size_t>(n));
        if (!stop_at.empty() && out.find(stop_at) != std::string::npos) return false;
    }
}

run_result run_vexo(const fs::path& cwd, const std::vector<std::string>& args,
                    const run_options& o = {})
{
    run_result r;
    int in_pipe[2] = {-1, -1};
    if (o.in == input::open_pipe && pipe(in_pipe) != 0) return r;
    int out_fd = -1;
    pid_t pid = spawn(cwd, args, o, in_pipe[0], out_fd);
    if (in_pipe[0] >= 0) close(in_pipe[0]);
    if (pid < 0) return r;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool eof = read_until_eof(out_fd, r.out, deadline);
    close(out_fd);
    if (!eof) kill(pid, SIGKILL);  // a run that hangs fails the test
    int status = 0;
    waitpid(pid, &status, 0);
    if (in_pipe[1] >= 0) close(in_pipe[1]);  // the writer stayed open for the whole run
    if (eof && WIFEXITED(status)) r.code = WEXITSTATUS(status);
    r.out = mask(r.out);
    return r;
}

std::string cfg_part(const std::string& cfg = "vexo.cfg",
                     const std::string& lines = "\nNo CFG found, using default values\n")
{
    return "\nReading CFG: " + cfg + lines + "\n";
}

std::string head(const block_values& v = {}, const std::string& cfg = cfg_part())
{
    return banner() + cfg + settings_block(v);
}

const std::string NO_CSS = "\nNo vexo.css found, using default stylesheets";

// The lines of one analysed log file whose games end at the given shares.
std::string parsing(const std::string& name, size_t size, const std::vector<int>& games)
{
    std::string out = "\nParsing " + name + " [" + std::to_string(size) + " byte]" +
                      "\n- Writing game stats        ";
    for (int g : games) out += progress(g);
    return out + progress(100);
}

std::string no_match(const std::string& spec)
{
    return "\nWARNING: no log file matches " + spec;
}

// From the end of the log files to the end of the run.
std::string tail(int players, bool top_set = false)
{
    return "\n" + ranking_lines(players, top_set) + player_page_lines(players) +
           "\n<T> seconds elapsed" + "\n";
}

const std::vector<std::string> RANKING_FILES = {
    "players.htm",       "players_ratio.htm", "players_name.htm",  "players_eff.htm",
    "players_skill.htm", "players_frags.htm", "players_kills.htm", "players_playtime.htm"};

std::vector<std::string> tree(const fs::path& root)
{
    std::vector<std::string> names;
    if (!fs::exists(root)) return names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.push_back(fs::relative(e.path(), root).string());
    std::sort(names.begin(), names.end());
    return names;
}

class Run : public testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexo_run_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        if (fs::exists(dir / "out"))
            fs::permissions(dir / "out", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    void results_folder(const std::string& name = "out")
    {
        write_file(dir / "vexo.cfg", "output_directory \"" + name + "\"\n");
    }
    std::string cfg_out(const std::string& name = "out")
    {
        return cfg_part("vexo.cfg", "\n- output_directory     \"" + name + "\"");
    }
    fs::path dir;
};

}  // namespace

TEST_F(Run, NoArgumentsPrintsTheUsageAndCreatesNothing)
{
    run_result r = run_vexo(dir, {});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, full_usage());
    EXPECT_TRUE(tree(dir).empty());
}

TEST_F(Run, HelpAndVersionAnywhereWriteNothing)
{
    write_file(dir / "game.log", GAME_LOG);
    const std::vector<std::vector<std::string>> helps = {
        {"-h"}, {"--help"}, {"-?"}, {"/?"}, {"--HELP"}, {"game.log", "/l", "-H"}};
    for (const auto& args : helps) {
        SCOPED_TRACE(args.back());
        run_result r = run_vexo(dir, args);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, full_usage());
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"--version"},
                                                                  {"game.log", "--Version"}}) {
        run_result r = run_vexo(dir, args);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, banner());
    }
    EXPECT_EQ(tree(dir), std::vector<std::string>{"game.log"});
}

TEST_F(Run, OneLogFileWholeTranscriptAndTree)
{
    write_file(dir / "game.log", GAME_LOG);
    run_result r = run_vexo(dir, {"game.log"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, head() + NO_CSS + "\n" + parsing("game.log", GAME_LOG.size(), {100}) +
                         tail(2));
    std::vector<std::string> expected = RANKING_FILES;
    for (const char* f : {"game.log", "games.htm", "vexo_games", "vexo_games/game_1.htm",
                          "vexo_games/games1.htm", "vexo_players", "vexo_players/player_1.htm",
                          "vexo_players/player_2.htm"})
        expected.push_back(f);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tree(dir), expected);
}

TEST_F(Run, ChatLogDataFileAndTopPages)
{
    const std::string two_games = GAME_LOG + GAME_LOG;
    write_file(dir / "game.log", two_games);
    run_result r = run_vexo(dir, {"/l", "game.log", "/d", "/top5", "-g:1"});
    EXPECT_EQ(r.code, 0);
    block_values v;
    v.chat_log = v.data_file = true;
    v.top_players = 5;
    const std::string chat_size = std::to_string(fs::file_size(dir / "chat.htm"));
    EXPECT_EQ(r.out, head(v) + NO_CSS + "\n" +
                         parsing("game.log", two_games.size(), {50, 100}) +
                         "\nWriting vexodata.txt" + "\n\nWrote chat.htm [" + chat_size + " byte]" +
                         tail(2, true));
    for (const auto& f : RANKING_FILES) EXPECT_TRUE(fs::exists(dir / ("top_" + f))) << f;
    for (const char* f : {"vexodata.txt", "vexo_games/game_2.htm", "vexo_games/games1.htm",
                          "vexo_games/games2.htm"})
        EXPECT_TRUE(fs::exists(dir / f)) << f;
}

TEST_F(Run, GamesPerFileBelowOneIsRefusedOnce)
{
    write_file(dir / "game.log", GAME_LOG + GAME_LOG);
    run_result r = run_vexo(dir, {"/g:0", "game.log"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, banner() + "\nWARNING: games per file below 1 refused: 0" + cfg_part() +
                         settings_block({}) + NO_CSS + "\n" +
                         parsing("game.log", 2 * GAME_LOG.size(), {50, 100}) + tail(2));
    // both games in the one list file of 50
    EXPECT_TRUE(fs::exists(dir / "vexo_games/games1.htm"));
    EXPECT_FALSE(fs::exists(dir / "vexo_games/games2.htm"));
}

TEST_F(Run, StylesheetMessagesAndCopy)
{
    const std::string css = "body { color: #FFFFFF }\r\n";
    const std::string link = "<LINK REL=StyleSheet HREF=\"vexo.css\" TYPE=\"text/css\">";
    struct css_case {
        const char* what;
        bool results_folder, css_here, css_there, css_there_unwritable;
        std::string message;
        bool linked;
    };
    const std::vector<css_case> cases = {
        {"none anywhere, no results folder", false, false, false, false, NO_CSS, false},
        {"in the starting folder, no results folder", false, true, false, false,
         "\nUsing existing stylesheet file vexo.css", true},
        {"none anywhere", true, false, false, false, "Reading vexo.css\n" + NO_CSS, false},
        {"copied", true, true, false, false,
         "Reading vexo.css\n\nCopied stylesheet file vexo.css to results folder", true},
        {"both folders", true, true, true, false,
         "Reading vexo.css\n\nUsing existing stylesheet file vexo.css", true},
        {"only in the results folder", true, false, true, false,
         "Reading vexo.css\n\nUsing existing stylesheet file vexo.css", true},
        {"a dangling link is replaced by the copy", true, true, false, true,
         "Reading vexo.css\n\nCopied stylesheet file vexo.css to results folder", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir / "out");
        if (c.results_folder) results_folder();
        if (c.css_here) write_file(dir / "vexo.css", css);
        if (c.css_there) write_file(dir / "out/vexo.css", "their own");
        // a link into a missing folder: it neither opens for reading nor for writing
        if (c.css_there_unwritable) fs::create_symlink(dir / "missing/x.css", dir / "out/vexo.css");
        write_file(dir / "game.log", GAME_LOG);
        run_result r = run_vexo(dir, {"/f", "game.log"});
        block_values v;
        v.no_funnames = true;
        EXPECT_EQ(r.out, head(v, c.results_folder ? cfg_out() : cfg_part()) + c.message + "\n" +
                             parsing("game.log", GAME_LOG.size(), {100}) + tail(2));
        const fs::path results = c.results_folder ? dir / "out" : dir;
        if (c.css_here && c.results_folder && !c.css_there) {
            EXPECT_EQ(read_file(results / "vexo.css"), css);
            EXPECT_FALSE(fs::exists(dir / "missing"));
        }
        if (c.css_there) {
            EXPECT_EQ(read_file(dir / "out/vexo.css"), "their own");
        }
        const std::string page = read_file(results / "players.htm");
        EXPECT_EQ(page.rfind("<html>\r\n<head>\r\n<title>VEXO results</title>\r\n" +
                                 (c.linked ? link : std::string("<style>\r\n")),
                             0),
                  0u);
    }
}

TEST_F(Run, FontSizesOfTheConfigurationFileReachThePages)
{
    write_file(dir / "vexo.cfg",
               "; sizes\nfont_size_title \"14\"\nfont_size_text \"9\"\nhomepage_string \"Clan\"\n");
    write_file(dir / "game.log", GAME_LOG);
    run_result r = run_vexo(dir, {"/b", "game.log"});
    block_values v;
    v.skip_bots = true;
    EXPECT_EQ(r.out, head(v, cfg_part("vexo.cfg", "\n- font_size_title      \"14\""
                                                 "\n- font_size_text       \"9\""
                                                 "\n- homepage_string      \"Clan\"")) +
                         NO_CSS + "\n" + parsing("game.log", GAME_LOG.size(), {100}) + tail(2));
    const std::string page = read_file(dir / "games.htm");
    EXPECT_NE(page.find(".title { color: #FFFFFF; font-family: Arial; font-size: 14pt; "
                        "text-align: center; font-weight: bold }\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("table td { color: #FFFFFF; font-family: Arial; font-size: 9pt }\r\n"),
              std::string::npos);
}

TEST_F(Run, OldPageFoldersAreDeletedLinksNotFollowed)
{
    results_folder();
    fs::create_directories(dir / "out/vexo_games/a/b/c");
    write_file(dir / "out/vexo_games/a/b/c/game_9.htm", "old");
    write_file(dir / "out/vexo_games/games1.htm", "old");
    fs::create_directories(dir / "keep/inner");
    write_file(dir / "keep/inner/page.htm", "mine");
    fs::create_directory_symlink(dir / "keep", dir / "out/vexo_players");
    // Left behind by a run that ended while it deleted the folders of the run before.
    fs::create_directories(dir / "out/.vexo_old_77_1/x");
    write_file(dir / "out/.vexo_old_77_1/x/game_1.htm", "older");
    write_file(dir / "empty.log", "");
    run_result r = run_vexo(dir, {"nothing*.log", "empty.log"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, head({}, cfg_out()) + "Reading vexo.css\n" + NO_CSS + "\n" +
                         no_match("nothing*.log") + parsing("empty.log", 0, {}) + tail(0));
    EXPECT_FALSE(fs::exists(dir / "out/vexo_games"));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(dir / "out/vexo_players")));
    EXPECT_TRUE(fs::is_empty(dir / "out/vexo_players"));
    EXPECT_EQ(read_file(dir / "keep/inner/page.htm"), "mine");
    for (const auto& e : fs::directory_iterator(dir / "out"))
        EXPECT_NE(e.path().filename().string().rfind(".vexo_old_", 0), 0u) << e.path();
    // empty results are written all the same
    EXPECT_TRUE(fs::exists(dir / "out/games.htm"));
    for (const auto& f : RANKING_FILES) EXPECT_TRUE(fs::exists(dir / "out" / f)) << f;
}

// A folder the delete cannot empty (a folder named with a leading "." is never
// entered) stays where it is, and the new pages go in beside what is left.
TEST_F(Run, OldPageFolderThatCannotBeEmptiedStays)
{
    results_folder();
    write_file(dir / "game.log", GAME_LOG);
    fs::create_directories(dir / "out/vexo_games/.mine");
    write_file(dir / "out/vexo_games/.mine/notes.txt", "kept");
    write_file(dir / "out/vexo_games/game_7.htm", "old");
    run_result r = run_vexo(dir, {"game.log"});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(read_file(dir / "out/vexo_games/.mine/notes.txt"), "kept");
    EXPECT_FALSE(fs::exists(dir / "out/vexo_games/game_7.htm"));
    EXPECT_TRUE(fs::exists(dir / "out/vexo_games/game_1.htm"));
}

TEST_F(Run, SeveralArgumentsInOrderEachFileOnce)
{
    write_file(dir / "b.log", GAME_LOG);
    write_file(dir / "a.log", GAME_LOG + "  3:00 InitGame: \\mapname\\unfinished\\\n");
    write_file(dir / "empty.log", "");
    const size_t a_size = fs::file_size(dir / "a.log");
    run_result r = run_vexo(dir, {"b.log", "nomatch.log", "a.log", "b.log", "./B.LOG", "./b.log",
                                  "EMPTY.LOG"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, head() + NO_CSS + "\n" + parsing("b.log", GAME_LOG.size(), {100}) +
                         no_match("nomatch.log") +
                         parsing("a.log", a_size, {int(GAME_LOG.size() * 100 / a_size)}) +
                         parsing("empty.log", 0, {}) + tail(2));
    EXPECT_TRUE(fs::exists(dir / "vexo_games/game_2.htm"));
    EXPECT_FALSE(fs::exists(dir / "vexo_games/game_3.htm"));
}

TEST_F(Run, QuotedPatternWithFolderPart)
{
    fs::create_directories(dir / "logs/d.log");  // a folder: skipped
    for (const char* f : {"logs/b.log", "logs/A.log", "logs/c.Log", "logs/.x.log"})
        write_file(dir / f, GAME_LOG);
    write_file(dir / "logs/readme.txt", "not a log");
    const size_t n = GAME_LOG.size();
    run_result r = run_vexo(dir, {"logs/*.LOG", "LOGS/*.log"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, head() + NO_CSS + "\n" + parsing("logs/A.log", n, {100}) +
                         parsing("logs/b.log", n, {100}) + parsing("logs/c.Log", n, {100}) +
                         no_match("LOGS/*.log") + tail(2));

    // A path from the root is a log file, not an option.
    const std::string abs = (dir / "logs/b.log").string();
    r = run_vexo(dir, {abs});
    EXPECT_EQ(r.out, head() + NO_CSS + "\n" + parsing(abs, n, {100}) + tail(2));
}

TEST_F(Run, OpenResultsHandsPlayersPageToTheViewer)
{
    results_folder();
    fs::create_directories(dir / "bin");
    const fs::path record = dir / "viewer.txt";
    write_file(dir / "bin/xdg-open",
               "#!/bin/sh\nprintf '%s\\n%s\\n' \"$1\" \"$PWD\" >> '" + record.string() + "'\n");
    fs::permissions(dir / "bin/xdg-open", fs::perms::owner_all);
    run_options o;
    o.path_prefix = (dir / "bin").string();
    write_file(dir / "empty.log", "");
    run_result r = run_vexo(dir, {"/about", "empty.log"}, o);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, head({}, cfg_out()) + "Reading vexo.css\n" + NO_CSS + "\n" +
                         parsing("empty.log", 0, {}) + tail(0));
    std::istringstream lines(read_file(record));
    std::string arg, cwd, extra;
    std::getline(lines, arg);
    std::getline(lines, cwd);
    EXPECT_FALSE(std::getline(lines, extra)) << "the viewer was started more than once";
    fs::path opened = fs::path(arg).is_absolute() ? fs::path(arg) : fs::path(cwd) / arg;
    EXPECT_EQ(fs::canonical(opened), fs::canonical(dir / "out/players.htm"));
}

TEST_F(Run, FatalErrorTextAndNoWaitWithoutTerminal)
{
    const std::string expected = head() + NO_CSS + "\n" +
                                 "\nERROR: No log file to analyse\n\nPress ENTER to exit.";
    run_result r = run_vexo(dir, {"/x"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, expected);
    // A pipe that never delivers a character: the run must still end at once.
    run_options pipe_in;
    pipe_in.in = input::open_pipe;
    r = run_vexo(dir, {"/x"}, pipe_in);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, expected);
}

TEST_F(Run, FatalErrorWaitsForEnterOnATerminal)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) GTEST_SKIP() << "no pseudo-terminal on this machine";
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    int out_fd = -1;
    pid_t pid = spawn(dir, {"/x"}, {}, slave, out_fd);
    close(slave);
    ASSERT_GT(pid, 0);
    std::string out;
    // The prompt must reach the console before the program waits.
    read_until_eof(out_fd, out, std::chrono::steady_clock::now() + std::chrono::seconds(15),
                   "Press ENTER to exit.");
    EXPECT_NE(out.find("\nERROR: No log file to analyse\n\nPress ENTER to exit."),
              std::string::npos);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "ended without waiting for ENTER";
    ASSERT_EQ(write(master, "\n", 1), 1);
    EXPECT_TRUE(read_until_eof(out_fd, out,
                               std::chrono::steady_clock::now() + std::chrono::seconds(30)));
    if (waitpid(pid, &status, 0) == pid) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    }
    close(out_fd);
    close(master);
}

TEST_F(Run, ResultsThatCannotBeWritten)
{
    // A configuration file that cannot be read
    fs::create_directories(dir / "cfgdir");
    run_result r = run_vexo(dir, {"/cfg:cfgdir"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, banner() + "\nReading CFG: cfgdir" +
                         "\nERROR: analyzedemo::parse - configfile read error\n\nPress ENTER to exit.");

    // A results folder without write permission (root writes anyway: there
    // the folder-in-the-way case of the fatal error test covers the message).
    results_folder();
    fs::create_directories(dir / "out");
    if (geteuid() != 0) {
        fs::permissions(dir / "out", fs::perms::owner_read | fs::perms::owner_exec);
        r = run_vexo(dir, {"/x"});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, head({}, cfg_out()) + "Reading vexo.css\n" +
                             "\nERROR: Couldn't enter results folder out\n\nPress ENTER to exit.");
        fs::permissions(dir / "out", fs::perms::owner_all);
    }
    // The data file in the way as a folder: found when the pages are published.
    fs::create_directories(dir / "out/vexodata.txt");
    write_file(dir / "game.log", GAME_LOG);
    r = run_vexo(dir, {"/d", "game.log"});
    EXPECT_EQ(r.code, 1);
    const std::string error = "\n\nWriting per player stats        " + progress(50) + progress(100) +
                              progress(100) + "\n\nERROR: Couldn't open vexodata.txt\n\nPress ENTER to exit.";
    ASSERT_GE(r.out.size(), error.size());
    EXPECT_EQ(r.out.substr(r.out.size() - error.size()), error);
    EXPECT_EQ(tree(dir / "out"), std::vector<std::string>{"vexodata.txt"});
}

TEST_F(Run, WriteFailurePartWayIsFatal)
{
    write_file(dir / "game.log", GAME_LOG);
    run_options o;
    o.file_size_limit = 1000;
    run_result r = run_vexo(dir, {"game.log"}, o);
    EXPECT_EQ(r.code, 1);
    const std::string start = head() + NO_CSS + "\n" + "\nParsing game.log [" +
                              std::to_string(GAME_LOG.size()) + " byte]" +
                              "\n- Writing game stats        ";
    EXPECT_EQ(r.out.substr(0, start.size()), start);
    const std::string prefix = "\nERROR: Couldn't write ", suffix = "\n\nPress ENTER to exit.";
    const size_t at = r.out.find(prefix, start.size());
    ASSERT_NE(at, std::string::npos) << r.out;
    ASSERT_GE(r.out.size(), at + prefix.size() + suffix.size());
    EXPECT_EQ(r.out.substr(r.out.size() - suffix.size()), suffix);
    // The pages written up to the error are removed with the staging folder.
    EXPECT_EQ(tree(dir), std::vector<std::string>{"game.log"});
    EXPECT_EQ(r.out.find("seconds elapsed"), std::string::npos);
}

TEST_F(Run, OverlongSpecificationIsCut)
{
    const std::string spec(300, 'z');
    run_result r = run_vexo(dir, {spec});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, head() + NO_CSS + "\n" + no_match(spec.substr(0, 255)) +
                         "\nERROR: No log file to analyse\n\nPress ENTER to exit.");
}
