// Output files, the recursive folder delete and the platform's folder search.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/deltree.h"
#include "app/outfile.h"
#include "log_support.h"
#include "page_expect.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& p) { return pagetest::read_raw(p.string()); }

void write_file(const fs::path& p, const std::string& content) { pagetest::write_raw(p.string(), content); }

// A fresh folder that is the current folder during the test.
class InTempFolder : public testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexo_files_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        old_cwd = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(old_cwd);
        fs::remove_all(dir);
    }
    fs::path dir, old_cwd;
};

}  // namespace

using OutFile = InTempFolder;
using DelTree = InTempFolder;
using FolderSearch = InTempFolder;

TEST_F(OutFile, OpenTruncatesAndOpenAppendAppends)
{
    write_file("page.htm", "old content that is longer");
    outfile f;
    EXPECT_FALSE(f.is_open());
    f.open("page.htm");
    EXPECT_TRUE(f.is_open());
    EXPECT_EQ(f.name(), "page.htm");
    f.print("<p>%s %i</p>\r\n", "games", 42);
    f.puts("x\n");
    f.write("ab\0c", 4);
    f.close();
    EXPECT_FALSE(f.is_open());
    EXPECT_EQ(read_file("page.htm"), std::string("<p>games 42</p>\r\nx\nab\0c", 23));

    f.open_append("page.htm");
    f.print("%s", "more");
    f.close();
    EXPECT_EQ(read_file("page.htm"), std::string("<p>games 42</p>\r\nx\nab\0cmore", 27));

    f.open_append("new.txt");  // created when missing
    f.print("a");
    {
        outfile g;
        g.open("closed_by_destructor.txt");
        g.print("%05d", 7);
    }
    f.close();
    EXPECT_EQ(read_file("new.txt"), "a");
    // A page is a new file: a link in its place is replaced, never written through.
    write_file("theirs.txt", "theirs");
    fs::create_symlink("theirs.txt", "linked.htm");
    f.open("linked.htm");
    f.close();
    EXPECT_EQ(read_file("theirs.txt"), "theirs");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("linked.htm")));
    EXPECT_EQ(read_file("closed_by_destructor.txt"), "00007");
}

TEST_F(OutFile, FailedOpenAndLostDataAreFatal)
{
    EXPECT_EXIT(
        {
            vexo_test::fatal_child();
            outfile f;
            f.open("missing_folder/x.htm");
            std::exit(0);
        },
        testing::ExitedWithCode(1), "\nERROR: Couldn't open missing_folder/x.htm\n\nPress ENTER to exit.");

    // /dev/full refuses every write like a full disk.
    EXPECT_EXIT(
        {
            vexo_test::fatal_child();
            outfile f;
            f.open_append("/dev/full");
            f.print("%s", "a line of a page\r\n");
            f.close();
            std::exit(0);
        },
        testing::ExitedWithCode(1), "\nERROR: Couldn't write /dev/full\n\nPress ENTER to exit.");
}

TEST_F(DelTree, MissingNamePlainFileAndDeepTree)
{
    testing::internal::CaptureStdout();
    diverse::deltree("vexo_games");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    write_file("plain.htm", "x");
    write_file("other.htm", "y");
    diverse::deltree("plain.htm");
    EXPECT_FALSE(fs::exists("plain.htm"));
    EXPECT_TRUE(fs::exists("other.htm"));

    fs::create_directories("vexo_games/a/b");
    write_file("vexo_games/game_1.htm", "1");
    write_file("vexo_games/a/f.htm", "2");
    write_file("vexo_games/a/b/g.htm", "3");
    write_file("vexo_games/a/b/.hidden", "4");
    diverse::deltree("vexo_games");
    EXPECT_FALSE(fs::exists("vexo_games"));
    EXPECT_EQ(fs::current_path(), dir);
    EXPECT_TRUE(fs::exists("other.htm"));
}

TEST_F(DelTree, SymbolicLinksAreDeletedNeverFollowed)
{
    fs::create_directories("outside/inner");
    write_file("outside/keep.htm", "k");
    write_file("outside/inner/keep2.htm", "k");
    write_file("target.txt", "t");
    fs::create_directory_symlink(dir / "outside", "vexo_players");
    fs::create_directories("vexo_games");
    fs::create_directory_symlink(dir / "outside", "vexo_games/link_dir");
    fs::create_symlink(dir / "target.txt", "vexo_games/link_file");
    fs::create_symlink(dir / "nowhere", "vexo_games/dangling");

    diverse::deltree("vexo_players");
    diverse::deltree("vexo_games");
    EXPECT_FALSE(fs::exists(fs::symlink_status("vexo_players")));
    EXPECT_FALSE(fs::exists(fs::symlink_status("vexo_games")));
    EXPECT_EQ(read_file("outside/keep.htm"), "k");
    EXPECT_EQ(read_file("outside/inner/keep2.htm"), "k");
    EXPECT_EQ(read_file("target.txt"), "t");
    EXPECT_EQ(fs::current_path(), dir);
}

// The run moves an old page folder aside and deletes it on the side only when
// a recursive delete would remove it whole.
TEST_F(DelTree, TreeRemovableAndRemoveTree)
{
    fs::create_directories("whole/a/b");
    write_file("whole/a/b/.hidden", "file: fine");
    fs::create_directories("dotted/a/.inner");
    fs::create_directories("outside");
    write_file("outside/keep.htm", "k");
    fs::create_directory_symlink(dir / "outside", "whole/a/link_dir");
    fs::create_directory_symlink(dir / "outside", "link");
    write_file("file.htm", "f");
    const struct {
        const char* path;
        bool removable;
    } cases[] = {{"whole", true}, {"dotted", false}, {"link", false}, {"file.htm", false}, {"missing", false}};
    for (const auto& c : cases) EXPECT_EQ(platform::tree_removable(c.path), c.removable) << c.path;

    platform::remove_tree((dir / "whole").string());
    EXPECT_FALSE(fs::exists(fs::symlink_status("whole")));
    EXPECT_EQ(read_file("outside/keep.htm"), "k");   // the link went, not what it points to
    EXPECT_EQ(fs::current_path(), dir);
}

TEST_F(DelTree, WildcardSpecificationMatchesLetterCase)
{
    fs::create_directories("Vexo_Games/x");
    fs::create_directories("vexo_games/x");
    write_file("vexo_a.htm", "1");
    write_file("keep.htm", "2");
    diverse::deltree("vexo_*");
    EXPECT_TRUE(fs::exists("Vexo_Games/x"));
    EXPECT_FALSE(fs::exists("vexo_games"));
    EXPECT_FALSE(fs::exists("vexo_a.htm"));
    EXPECT_TRUE(fs::exists("keep.htm"));
}

TEST(Wildcard, StarAndQuestionMarkWithoutRegardToCase)
{
    struct wc {
        const char* pattern;
        const char* name;
        bool match;
    };
    const std::vector<wc> cases = {
        {"*.log", "games.log", true},       {"*.LOG", "games.log", true},
        {"*.log", "GAMES.LOG", true},       {"GAMES.LOG", "games.log", true},
        {"g?mes.log", "GAMES.log", true},   {"g?mes.log", "gmes.log", false},
        {"*", "anything", true},            {"*", "", true},
        {"?", "", false},                   {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},         {"*.log", "games.log.bak", false},
        {"games.log", "games.lo", false},   {"games.lo", "games.log", false},
        {"*log*", "server_LOG_1.txt", true}, {"??", "ab", true},
        {"??", "abc", false},               {"*a", "bbba", true},
        {"[a].log", "a.log", false},        {"[a].log", "[A].LOG", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::wildcard_match(c.pattern, c.name), c.match)
            << c.pattern << " vs " << c.name;
}

TEST_F(FolderSearch, EntriesInByteOrderFoldersToldFromFiles)
{
    fs::create_directories("logs/a_dir");
    write_file("logs/b.log", "");
    write_file("logs/A.log", "");
    write_file("logs/c.LOG", "");
    write_file("logs/.hidden.log", "");
    fs::create_directories("logs/d.log");
    fs::create_directory_symlink(dir / "logs/a_dir", "logs/link");

    std::vector<platform::dir_entry> all = platform::find_entries("logs", "*", false);
    std::vector<std::string> names;
    for (const auto& e : all) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.log", "A.log", "a_dir", "b.log", "c.LOG",
                                               "d.log", "link"}));
    for (const auto& e : all)
        EXPECT_EQ(e.is_dir, e.name == "a_dir" || e.name == "d.log") << e.name;

    std::vector<platform::dir_entry> link = platform::find_entries("logs", "LINK", true);
    ASSERT_EQ(link.size(), 1u);
    EXPECT_TRUE(link[0].is_dir);

    names.clear();
    for (const auto& e : platform::find_entries("logs", "?.LOG", false)) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"A.log", "b.log", "c.LOG", "d.log"}));

    EXPECT_TRUE(platform::find_entries("logs", "none*", false).empty());
    EXPECT_TRUE(platform::find_entries("no_such_folder", "*", false).empty());
}

TEST_F(FolderSearch, OneFileUnderTwoNamesHasOneIdentity)
{
    write_file("a.log", "x");
    write_file("b.log", "x");
    fs::create_symlink("a.log", "c.log");
    uint64_t d1, i1, d2, i2, d3, i3;
    ASSERT_TRUE(platform::file_identity("a.log", d1, i1));
    ASSERT_TRUE(platform::file_identity("./c.log", d2, i2));
    ASSERT_TRUE(platform::file_identity("b.log", d3, i3));
    EXPECT_TRUE(d1 == d2 && i1 == i2);
    EXPECT_FALSE(d1 == d3 && i1 == i3);
    EXPECT_FALSE(platform::file_identity("missing.log", d1, i1));
}
