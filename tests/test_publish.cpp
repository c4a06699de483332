// Runs that fail, overlap or meet a hostile results folder: the published
// pages stay byte for byte as they were until a run has written all of its
// own, runs in one folder wait for each other, and only VEXO's own entries
// are ever deleted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <new>
#include <sstream>
#include <string>
#include <thread>

#include "app/page_worker.h"
#include "harness.h"

namespace {

using namespace harness;

// One game; client n is "P<n>", and clients beyond 511 come back as new names.
std::string game(int clients = 2) {
    std::string log = "  0:00 InitGame: \\g_gametype\\0\\mapname\\q3dm17\\\n";
    for (int i = 0; i < clients; i++) {
        const std::string c = std::to_string(i % 512);
        if (i >= 512) log += "  0:01 ClientDisconnect: " + c + "\n";
        log += "  0:01 ClientConnect: " + c + "\n  0:01 ClientUserinfoChanged: " + c + " n\\P" +
               std::to_string(i) + "\\t\\0\n";
    }
    return log + "  0:10 Kill: 0 1 10: x\n  0:20 Kill: 1 0 6: y\n  0:30 say: P0: hi\n  1:00 ShutdownGame:\n";
}
const std::string LOG = game() + game();
const std::string CLEAN_ARGS = "/l /d game.log";
const std::string ERROR_END = "\n\nPress ENTER to exit.";
// Specifications that match nothing: their 110 KB of warnings come once the
// run holds the lock and has made its staging folder, and fill the pipe of
// a run whose output is not read, which holds the run there.
std::string held_args() {
    std::string args;
    for (int i = 0; i < 400; i++) args += " nothing_" + std::to_string(i) + "_" + std::string(240, 'x');
    return args;
}
const std::string HOLD = held_args();

// Every entry below `root`: a file's bytes, a link's target, or "folder".
using tree = std::map<std::string, std::string>;
tree snapshot(const fs::path& root) {
    tree t;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(e.path(), root).string();
        if (e.is_symlink()) t[name] = "-> " + fs::read_symlink(e.path()).string();
        else if (e.is_directory()) t[name] = "folder";
        else t[name] = read_file(e.path());
    }
    return t;
}
// Names and sizes only: the pages of two runs differ in their time stamps.
// The folders a run replaced, moved aside for the next run to delete, are
// left out.
std::map<std::string, size_t> shape(const tree& t) {
    std::map<std::string, size_t> s;
    for (const auto& [name, bytes] : t)
        if (name.rfind(".vexo_old_", 0) != 0) s[name] = bytes.size();
    return s;
}

// vexo started in `dir` through the shell (`shell` first, for limits), input empty.
FILE* start(const fs::path& dir, const std::string& args, const std::string& shell = "") {
    const std::string command = "cd '" + dir.string() + "' && " + shell + " exec '" + VEXO_BINARY +
                                "' " + args + " </dev/null 2>&1";
    return popen(command.c_str(), "r");
}
// Reads until `mark` has come (true) or the output ended.
bool read_until(FILE* f, std::string& out, const std::string& mark) {
    for (int c; (c = fgetc(f)) != EOF;) {
        out += static_cast<char>(c);
        if (!mark.empty() && out.size() >= mark.size() &&
            out.compare(out.size() - mark.size(), mark.size(), mark) == 0)
            return true;
    }
    return false;
}
int finish(FILE* f, std::string& out) {
    read_until(f, out, "");
    const int status = pclose(f);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
int run(const fs::path& dir, const std::string& args, std::string& out, const std::string& shell = "") {
    return finish(start(dir, args, shell), out);
}

// Waits until a run has made its staging folder in `results` (it holds the lock by then).
bool staging_made(const fs::path& results) {
    for (int i = 0; i < 2000; i++) {
        std::error_code none;
        for (const auto& e : fs::directory_iterator(results, none))
            if (e.path().filename().string().rfind(".vexo_new_", 0) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

class Publish : public testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vexo_publish_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        write_file(dir / "game.log", LOG);
        write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
    }
    void TearDown() override { fs::remove_all(dir); }
    // The tree of one clean run of CLEAN_ARGS in a fresh results folder.
    tree clean_tree() {
        std::string out;
        fs::create_directory(dir / "clean");
        write_file(dir / "clean/game.log", LOG);
        EXPECT_EQ(run(dir / "clean", CLEAN_ARGS, out), 0) << out;
        tree t = snapshot(dir / "clean");
        t.erase("game.log");
        fs::remove_all(dir / "clean");
        return t;
    }
    fs::path dir;
};

enum class after { unchanged, clean, other };

struct publish_case {
    const char* what;
    bool old_pages;                                 // a clean run first
    std::function<void(const fs::path&)> setup;     // in the starting folder
    std::string args, shell;
    int code;
    std::string expected;                           // the transcript's end, or a part of it
    after tree_after;                               // the starting folder's tree afterwards
    std::function<void(const fs::path&)> check;
};

TEST_F(Publish, FailingAndHostileRuns) {
    const auto none = [](const fs::path&) {};
    const publish_case cases[] = {
        {"a write beyond the file-size limit", true, none, CLEAN_ARGS, "ulimit -f 4;", 1,
         "\nERROR: Couldn't write game_1.htm" + ERROR_END, after::unchanged, none},
        {"no log file", true, none, "/d missing.log", "", 1,
         "\nWARNING: no log file matches missing.log\nERROR: No log file to analyse" + ERROR_END,
         after::unchanged, none},
        {"a folder named as the log", true, [](const fs::path& d) { fs::create_directory(d / "logs"); },
         "logs", "", 1, "\nWARNING: logs is a folder, not a log file\nERROR: No log file to analyse" + ERROR_END,
         after::unchanged, none},
        {"no log file, no results folder yet", false, none, "none.log", "", 1,
         "\nERROR: No log file to analyse" + ERROR_END, after::unchanged, none},
        {"a results folder that cannot be created", false,
         [](const fs::path& d) { write_file(d / "vexo.cfg", "output_directory \"missing/out\"\n"); },
         "game.log", "", 1, "Reading vexo.css\n\nERROR: Couldn't enter results folder missing/out" + ERROR_END,
         after::unchanged, none},
        {"leftovers of a killed run", true,
         [](const fs::path& d) {
             fs::create_directories(d / "out/.vexo_old_1_2/vexo_games");
             FILE* f = start(d, HOLD + " game.log", "echo $$;");
             std::string pid;
             read_until(f, pid, "\n");
             EXPECT_TRUE(staging_made(d / "out"));
             kill(std::stoi(pid), SIGKILL);
             pclose(f);
         },
         CLEAN_ARGS, "", 0, " seconds elapsed\n", after::clean,
         [](const fs::path& d) {
             EXPECT_FALSE(fs::exists(d / "out/.vexo_old_1_2"));
             for (const auto& e : fs::directory_iterator(d / "out"))
                 EXPECT_NE(e.path().filename().string().rfind(".vexo_new_", 0), 0u) << e.path();
         }},
        {"a planted link", true,
         [](const fs::path& d) {
             write_file(d / "victim", "mine");
             fs::remove(d / "out/players_name.htm");
             fs::create_symlink("../victim", d / "out/players_name.htm");
             fs::remove_all(d / "out/vexo_players");
             fs::create_directory_symlink("..", d / "out/vexo_players");
         },
         CLEAN_ARGS, "", 0, " seconds elapsed\n", after::other,
         [](const fs::path& d) {
             EXPECT_EQ(read_file(d / "victim"), "mine");
             EXPECT_EQ(read_file(d / "game.log"), LOG);   // behind the folder link
             EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(d / "out/players_name.htm")));
             EXPECT_TRUE(fs::is_directory(fs::symlink_status(d / "out/vexo_players")));
         }},
        {"names in another letter case", true,
         [](const fs::path& d) {
             for (const char* f : {"VEXO_Games/x", "Vexo_Players", ".VEXO_OLD_backup", ".vexo_old_backup/x"})
                 fs::create_directories(d / "out" / f);
         },
         CLEAN_ARGS, "", 0, " seconds elapsed\n", after::other,
         [](const fs::path& d) {
             for (const char* f : {"VEXO_Games/x", "Vexo_Players", ".VEXO_OLD_backup", ".vexo_old_backup/x"})
                 EXPECT_TRUE(fs::is_directory(d / "out" / f)) << f;
         }},
        {"a game of 600 clients", false,
         [](const fs::path& d) { write_file(d / "game.log", game() + game(600) + game()); },
         "/d game.log", "", 0, "\nWARNING: game dropped: more than 511 clients", after::other,
         [](const fs::path& d) {
             EXPECT_TRUE(fs::exists(d / "out/vexo_games/game_2.htm"));
             EXPECT_FALSE(fs::exists(d / "out/vexo_games/game_3.htm"));
             EXPECT_EQ(read_file(d / "out/vexodata.txt").find("P599"), std::string::npos);
         }},
    };
    const tree clean = clean_tree();
    for (const publish_case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir / "out");
        write_file(dir / "game.log", LOG);
        write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
        std::string out;
        if (c.old_pages) {
            ASSERT_EQ(run(dir, CLEAN_ARGS, out), 0) << out;
        }
        c.setup(dir);
        const tree before = snapshot(dir);
        out.clear();
        EXPECT_EQ(run(dir, c.args, out, c.shell), c.code) << out;
        // A failed run's transcript ends with the error; a sound one holds the text once.
        const size_t at = out.find(c.expected);
        EXPECT_NE(at, std::string::npos) << out;
        EXPECT_EQ(at, out.rfind(c.expected));
        if (c.code != 0) {
            EXPECT_EQ(at + c.expected.size(), out.size()) << out;
        }
        if (c.tree_after == after::unchanged) {
            EXPECT_EQ(snapshot(dir), before);
        }
        if (c.tree_after == after::clean) {
            EXPECT_EQ(shape(snapshot(dir / "out")), shape(clean));
        }
        c.check(dir);
    }
}

// A second run in the folder waits with one line until the first has ended;
// both succeed and leave the tree of one clean run. When the first fails and
// removes the results folder it made, the second makes it anew.
TEST_F(Publish, TwoRunsAtOnce) {
    const tree clean = clean_tree();
    for (const std::string first_limit : {"", "ulimit -f 4;"}) {
        SCOPED_TRACE(first_limit);
        fs::remove_all(dir / "out");
        FILE* first = start(dir, "/l /d" + HOLD + " game.log", first_limit);
        ASSERT_TRUE(staging_made(dir / "out"));
        FILE* second = start(dir, CLEAN_ARGS);
        std::string out1, out2;
        EXPECT_TRUE(read_until(second, out2, "\nWaiting for another run in this results folder"));
        EXPECT_EQ(finish(first, out1), first_limit.empty() ? 0 : 1) << out1;   // its output read, it goes on
        EXPECT_EQ(finish(second, out2), 0) << out2;
        EXPECT_EQ(out1.find("Waiting"), std::string::npos);
        EXPECT_EQ(out2.find("Waiting"), out2.rfind("Waiting"));
        EXPECT_EQ(shape(snapshot(dir / "out")), shape(clean));
    }
}

// Memory running out on the page thread ends the run through fatal_error.
TEST(PublishDeathTest, OutOfMemoryOnThePageThread) {
    EXPECT_EXIT(
        {
            fatal_child();
            page_worker worker;
            worker.run([] { throw std::bad_alloc(); });
            worker.wait();
            std::exit(0);
        },
        testing::ExitedWithCode(1), "^\nERROR: Out of memory\n\nPress ENTER to exit.$");
}

}  // namespace
