// A results folder shared with another local user, and the file modes and the
// disk room a run leaves to the site: whatever the other user does in the
// folder while runs go on, nothing outside it is written, moved or deleted,
// and the user's own folders named almost like VEXO's stay; pages keep the
// modes of the pages they replace whatever the run's umask; a run that fits
// once the replaced pages are gone does not fail for lack of room.
//
// The other user is `nobody`: a child of the test that drops to that user
// (as `setpriv --reuid=nobody --regid=nogroup --clear-groups` does) and
// attacks in a loop while the runs go on. These tests need root (CI runs
// as root); elsewhere they are skipped.
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cstring>
#include <map>

#include "app/outfile.h"
#include "harness.h"

namespace {

using namespace harness;

// `games` games of two players, the players met again and again.
std::string log_of(int games, int first = 0) {
    std::string log;
    for (int g = first; g < first + games; g++) {
        const std::string a = "P" + std::to_string(g % 40), b = "Q" + std::to_string(g % 37);
        log += "  0:00 InitGame: \\g_gametype\\0\\mapname\\q3dm" + std::to_string(g % 9) + "\\\n"
               "  0:01 ClientConnect: 0\n  0:01 ClientUserinfoChanged: 0 n\\" + a + "\\t\\0\n"
               "  0:01 ClientConnect: 1\n  0:01 ClientUserinfoChanged: 1 n\\" + b + "\\t\\0\n"
               "  0:10 Kill: 0 1 10: x\n  0:20 Kill: 1 0 6: y\n  0:30 say: " + a + ": hi\n"
               "  1:00 ShutdownGame:\n";
    }
    return log;
}

// Every entry below `root` but `skip`: a hash of a file's bytes, of a link's
// target, or of "folder".
std::map<std::string, size_t> snapshot(const std::string& root, const std::string& skip) {
    std::map<std::string, size_t> t;
    for (auto e = fs::recursive_directory_iterator(root); e != fs::recursive_directory_iterator(); ++e) {
        const std::string name = fs::relative(e->path(), root).string();
        if (name == skip) e.disable_recursion_pending();
        else if (e->is_symlink()) t[name] = std::hash<std::string>()("-> " + fs::read_symlink(e->path()).string());
        else t[name] = std::hash<std::string>()(e->is_directory() ? "folder" : read_file(e->path()));
    }
    return t;
}

// The other user; in a child, becomes it for good.
const struct passwd* nobody() { return getpwnam("nobody"); }
bool become(const struct passwd* user) {
    return setgroups(0, nullptr) == 0 && setresgid(user->pw_gid, user->pw_gid, user->pw_gid) == 0 &&
           setresuid(user->pw_uid, user->pw_uid, user->pw_uid) == 0;
}

// Runs `attack(round)` in a loop as the other user until stopped; the first
// round is done when the constructor returns.
class attacker {
public:
    explicit attacker(const std::function<void(int)>& attack) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            if (!become(nobody())) _exit(2);
            attack(0);
            if (::write(ready[1], "x", 1) != 1) _exit(3);
            for (int round = 1;; round++) {
                attack(round);
                usleep(100);
            }
        }
        close(ready[1]);
        char c;
        started = pid > 0 && read(ready[0], &c, 1) == 1;
        close(ready[0]);
    }
    ~attacker() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    bool started = false;

private:
    pid_t pid = -1;
};

// The victim: a folder outside the results folder with names like a page set's.
const std::vector<std::string> VICTIM_FILES = {"games.htm", "players.htm", "game_1.htm", "player_1.htm",
                                               "games1.htm", "sub/game_2.htm", "vexo_games/game_1.htm"};
// The user's own folders in the results folder, named almost like VEXO's.
const std::vector<std::string> NEAR_NAMES = {".vexo_old_backup/notes.txt", ".vexo_new_x/notes.txt",
                                             ".vexo_old_12_/notes.txt", ".vexo_new_12_abc/notes.txt",
                                             ".vexo_new_1_0123456789abcdeF/notes.txt"};

// As the attacker: a folder with the victim's names in it, and `more` other
// files (a delete of many files leaves time to swap the folder).
void fill(const std::string& folder, int more = 0) {
    mkdir(folder.c_str(), 0777);
    mkdir((folder + "/sub").c_str(), 0777);
    for (const char* f : {"/games.htm", "/game_1.htm", "/player_1.htm", "/sub/game_2.htm"})
        close(open((folder + f).c_str(), O_WRONLY | O_CREAT, 0666));
    for (int i = 0; i < more; i++)
        close(open((folder + "/f" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT, 0666));
}

// As the attacker: the entry `name` of `folder` renamed away and a link to
// the victim put in its place for a moment, then put back.
void swap_for_link(const std::string& folder, const std::string& name, const std::string& victim) {
    const std::string path = folder + "/" + name, away = folder + "/.away_" + name;
    if (rename(path.c_str(), away.c_str()) != 0) return;
    if (symlink(victim.c_str(), path.c_str()) == 0) {
        usleep(200);
        unlink(path.c_str());
    }
    rename(away.c_str(), path.c_str());
}

std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code gone;
    for (const auto& e : fs::directory_iterator(folder, gone)) names.push_back(e.path().filename().string());
    return names;
}

// The run's entries (the attacker leaves the user's own near-names alone).
bool vexo_entry(const std::string& name, const char* prefix) {
    if (name.rfind(prefix, 0) != 0) return false;
    for (const std::string& f : NEAR_NAMES)
        if (f.compare(0, name.size() + 1, name + "/") == 0) return false;
    return true;
}

bool owned_by_me(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid();
}

long last_pid() {
    return std::atol(read_file("/proc/sys/kernel/ns_last_pid").c_str());
}

struct attack_case {
    const char* what;
    bool open_page_folders;   // the site's page folders mode 0777 (the admin's choice, kept by the runs)
    // One round of the attack on the results folder `out`, the victim at `victim`.
    std::function<void(const std::string& out, const std::string& victim, int round)> attack;
};

TEST(SharedFolder, AnotherUserCannotLeadARunOutOfTheResultsFolder) {
    if (geteuid() != 0 || !nobody()) GTEST_SKIP() << "needs root and the user nobody";
    const attack_case cases[] = {
        {"a planted old folder swapped for a link while it is deleted", false,
         [](const std::string& out, const std::string& victim, int) {
             for (const char* name : {".vexo_old_1_1", ".vexo_new_1"}) {
                 struct stat st;
                 if (lstat((out + "/" + name).c_str(), &st) != 0) fill(out + "/" + name, 200);   // deleted: anew
                 swap_for_link(out, name, victim);
             }
         }},
        {"the staging folder swapped for a link mid-run", false,
         [](const std::string& out, const std::string& victim, int round) {
             for (const std::string& name : names_in(out))
                 if (vexo_entry(name, ".vexo_new_") && !owned_by_me(out + "/" + name)) {
                     const std::string away = out + "/.gone_" + std::to_string(round) + name;
                     if (rename((out + "/" + name).c_str(), away.c_str()) == 0)
                         symlink(victim.c_str(), (out + "/" + name).c_str());
                 }
         }},
        {"folders inside the page folders swapped for links while deleted", true,
         [](const std::string& out, const std::string& victim, int) {
             for (const std::string& name : names_in(out)) {
                 if (name != "vexo_games" && name != "vexo_players" && !vexo_entry(name, ".vexo_old_")) continue;
                 const std::string folder = out + "/" + name;
                 mkdir((folder + "/.keep").c_str(), 0777);   // no recursive delete: emptied in place
                 fill(folder + "/sub");
                 swap_for_link(folder, "sub", victim);
             }
         }},
        {"names planted for the coming process ids", false,
         [](const std::string& out, const std::string& victim, int round) {
             if (round > 0) {
                 usleep(100000);
                 return;
             }
             // (Each run takes a process id and one for each of its threads.)
             for (long p = last_pid() + 1, end = p + 150; p < end; p++) {
                 const std::string n = std::to_string(p);
                 mkdir((out + "/.vexo_new_" + n).c_str(), 0777);
                 symlink(victim.c_str(), (out + "/.vexo_old_" + n + "_1").c_str());
             }
             fill(out + "/report.htm");   // a folder where a page goes
         }},
    };
    const std::string LOG = log_of(150);
    for (const mode_t results_mode : {01777, 0777}) {
        for (const attack_case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (results_mode == 01777 ? ", mode 1777" : ", mode 0777"));
            scratch_dir dir;
            fs::permissions(dir.path, fs::perms(0755));
            write_file(dir / "game.log", LOG);
            write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
            for (const std::string& f : VICTIM_FILES) write_file(dir / ("victim/" + f), "the victim's " + f);
            fs::create_directory(dir / "out");
            for (const std::string& f : NEAR_NAMES) write_file(dir / ("out/" + f), "mine");
            ASSERT_EQ(run_vexo(dir.path, {"/l", "/r", "/d", "game.log"}).code, 0);
            if (c.open_page_folders)
                for (const char* f : {"out/vexo_games", "out/vexo_players"}) chmod((dir / f).c_str(), 0777);
            chmod((dir / "out").c_str(), results_mode);
            const auto outside = snapshot(dir.path, "out");
            const std::string out = dir / "out", victim = dir / "victim";
            {
                attacker other([&c, out, victim](int round) { c.attack(out, victim, round); });
                ASSERT_TRUE(other.started);
                for (int run = 0; run < 2; run++) {
                    const run_result r = run_vexo(dir.path, {"/l", "/r", "/d", "game.log"});
                    EXPECT_EQ(r.code, 0) << r.out;
                    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
                }
            }
            EXPECT_EQ(snapshot(dir.path, "out"), outside);
            for (const std::string& f : NEAR_NAMES) EXPECT_EQ(read_file(dir / ("out/" + f)), "mine") << f;
            for (const char* page : {"games.htm", "players.htm", "report.htm", "chat.htm", "vexodata.txt",
                                     "vexo_games/game_150.htm", "vexo_players/player_1.htm"})
                EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / ("out/" + std::string(page))))) << page;
        }
    }
}

// The run as an ordinary user (nobody) in a folder with the sticky bit,
// where another user (root) holds the places of two pages, by a file and a
// folder, which the run may neither replace nor move: it publishes the rest,
// says so, and ends well; the other user's entries stay as they are.
TEST(SharedFolder, AnotherUsersEntryInAPagesPlaceIsLeftAndTold) {
    if (geteuid() != 0 || !nobody()) GTEST_SKIP() << "needs root and the user nobody";
    scratch_dir dir;
    fs::permissions(dir.path, fs::perms(0755));
    write_file(dir / "game.log", log_of(3));
    write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
    fs::create_directory(dir / "out");
    chmod((dir / "out").c_str(), 01777);
    run_options as_nobody;
    as_nobody.user = "nobody";
    ASSERT_EQ(run_vexo(dir.path, {"game.log"}, as_nobody).code, 0);
    write_file(dir / "out/report.htm", "root's");
    fs::remove(dir / "out/players_name.htm");
    write_file(dir / "out/players_name.htm/x", "root's");
    const run_result r = run_vexo(dir.path, {"/r", "game.log"}, as_nobody);
    EXPECT_EQ(r.code, 0) << r.out;
    for (const char* page : {"players_name.htm", "report.htm"})
        EXPECT_NE(r.out.find("\nWARNING: " + std::string(page) + " belongs to another user: not replaced"),
                  std::string::npos) << r.out;
    EXPECT_EQ(read_file(dir / "out/report.htm"), "root's");
    EXPECT_EQ(read_file(dir / "out/players_name.htm/x"), "root's");
    EXPECT_NE(read_file(dir / "out/games.htm").find("Run report"), std::string::npos);
}

struct modes_case {
    const char* what;
    mode_t results_mode;
    bool results_group;                          // the results folder's group nobody's, with the set-group-ID bit
    std::function<void(const fs::path&)> site;   // the admin's changes to the published site
    mode_t umask_of_run;
    std::map<std::string, mode_t> expected;      // by path in the results folder
    mode_t files, folders;                       // of the others
};

// Pages and page folders get the permission bits of what they replace, new
// ones those of the results folder (files without x); the group is the
// results folder's. The second run has one game more: game_4.htm and
// report.htm are new.
TEST(SharedFolder, PagesKeepTheModesOfThePagesTheyReplace) {
    if (geteuid() != 0 || !nobody()) GTEST_SKIP() << "needs root and the user nobody";
    const gid_t group = nobody()->pw_gid;
    const auto all = [](const fs::path& out, mode_t files, mode_t folders) {
        for (const auto& e : fs::recursive_directory_iterator(out))
            chmod(e.path().c_str(), e.is_directory() ? folders : files);
    };
    const modes_case cases[] = {
        {"umask 077 over a site of 644 pages", 0755, false,
         [&all](const fs::path& out) { all(out, 0644, 0755); }, 077, {}, 0644, 0755},
        {"a site opened to the web server's group, umask 027", 02750, true,
         [&all](const fs::path& out) {
             all(out, 0664, 0775);
             chmod((out / "players.htm").c_str(), 0600);
             chmod((out / "vexo_games").c_str(), 02771);
         },
         027,
         {{"players.htm", 0600}, {"vexo_games", 02771}, {"vexo_games/game_4.htm", 0640}, {"report.htm", 0640}},
         0664, 0775},
        {"new pages in a results folder of 0700", 0700, false, [](const fs::path&) {}, 022,
         {{"vexo_games/game_4.htm", 0600}, {"report.htm", 0600}}, 0644, 0755},
        {"new pages in a results folder everyone may write into", 01777, false, [](const fs::path&) {}, 0,
         {{"vexo_games/game_4.htm", 0664}, {"report.htm", 0664}}, 0644, 0755},
    };
    for (const modes_case& c : cases) {
        SCOPED_TRACE(c.what);
        scratch_dir dir;
        write_file(dir / "game.log", log_of(3));
        write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
        const mode_t before = umask(022);
        ASSERT_EQ(run_vexo(dir.path, {"/l", "game.log"}).code, 0);
        const fs::path out = dir / "out";
        c.site(out);
        chmod(out.c_str(), c.results_mode);
        if (c.results_group) {
            ASSERT_EQ(chown(out.c_str(), static_cast<uid_t>(-1), group), 0);
        }
        write_file(dir / "game.log", log_of(3) + log_of(1));   // the same players
        umask(c.umask_of_run);
        const run_result r = run_vexo(dir.path, {"/l", "/r", "game.log"});
        umask(before);
        ASSERT_EQ(r.code, 0) << r.out;
        for (const auto& e : fs::recursive_directory_iterator(out)) {
            const std::string name = fs::relative(e.path(), out).string();
            if (name.rfind(".vexo_old_", 0) == 0) continue;   // the replaced pages
            struct stat st;
            ASSERT_EQ(lstat(e.path().c_str(), &st), 0);
            const auto x = c.expected.find(name);
            const mode_t expected = x != c.expected.end() ? x->second : S_ISDIR(st.st_mode) ? c.folders : c.files;
            EXPECT_EQ(st.st_mode & 07777, expected) << name << std::oct << ": " << (st.st_mode & 07777);
            EXPECT_EQ(st.st_gid, c.results_group ? group : getegid()) << name;
        }
    }
}

// On a file system with room for two page sets but not three, a series of
// runs that replace the site all succeed: a write that finds the disk full
// waits for the delete of the pages the run before replaced, then tries
// again. The file systems are tmpfs of those sizes, mounted in a mount
// namespace of the test's own (gone with the test's process).
TEST(SharedFolder, ARunThatFitsOnceTheReplacedPagesAreGoneSucceeds) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root";
    scratch_dir dir;
    write_file(dir / "game.log", log_of(1200));
    write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
    fs::create_directory(dir / "out");
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mount namespace to be had";
    // The retry itself, in this process: a page larger than the room left is
    // written once the waiter has made room (here, by deleting a ballast).
    const std::string small = dir / "small";
    fs::create_directory(small);
    ASSERT_EQ(mount("vexo_test", small.c_str(), "tmpfs", 0, "size=1m"), 0) << strerror(errno);
    write_file(small + "/ballast", std::string(900 * 1024, 'b'));
    static std::string ballast;
    ballast = small + "/ballast";
    outfile::set_space_waiter([](void*) { unlink(ballast.c_str()); }, nullptr);
    {
        outfile page;
        page.open((small + "/page.htm").c_str());
        page.puts(std::string(512 * 1024, 'p'));
        page.close();
    }
    outfile::set_space_waiter(nullptr, nullptr);
    EXPECT_EQ(fs::file_size(small + "/page.htm"), 512u * 1024);
    EXPECT_FALSE(fs::exists(ballast));
    EXPECT_EQ(umount2(small.c_str(), MNT_DETACH), 0);

    // The room one page set takes, measured on a roomy tmpfs.
    const std::string out = dir / "out";
    ASSERT_EQ(mount("vexo_test", out.c_str(), "tmpfs", 0, "size=256m"), 0) << strerror(errno);
    ASSERT_EQ(run_vexo(dir.path, {"/l", "/d", "game.log"}).code, 0);
    long long set = 0;
    for (const auto& e : fs::recursive_directory_iterator(out)) {
        struct stat st;
        if (lstat(e.path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            set += static_cast<long long>(st.st_blocks) * 512;
    }
    ASSERT_EQ(umount2(out.c_str(), MNT_DETACH), 0);
    ASSERT_GT(set, 1 << 20);
    // Two sets and a little: the published pages and the new ones fit, not
    // the replaced ones beside them.
    const std::string size = "size=" + std::to_string((set * 2 + set / 8) / 4096 * 4096);
    ASSERT_EQ(mount("vexo_test", out.c_str(), "tmpfs", 0, size.c_str()), 0) << strerror(errno);
    for (int run = 0; run < 6; run++) {
        SCOPED_TRACE("run " + std::to_string(run + 1));
        const run_result r = run_vexo(dir.path, {"/l", "/d", "game.log"});
        EXPECT_EQ(r.code, 0) << r.out;
        EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
        EXPECT_TRUE(fs::exists(dir / "out/vexo_games/game_1200.htm"));
    }
    EXPECT_EQ(umount2(out.c_str(), MNT_DETACH), 0);
}

}  // namespace
