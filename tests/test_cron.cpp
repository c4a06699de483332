// Runs as cron starts them: quiet runs (/q), names that are no log file, a
// log that grows while it is read, a run that gives up waiting for another
// one, and a run report fit to be published (no address, GUID or folder of
// the server in it).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "harness.h"
#include "html/private_text.h"

namespace {

using namespace harness;

// One game of two players.
const std::string GAME =
    "  0:00 InitGame: \\g_gametype\\0\\mapname\\arena7\\\n"
    "  0:01 ClientConnect: 0\n  0:01 ClientUserinfoChanged: 0 n\\Alice\\t\\0\n"
    "  0:02 ClientConnect: 1\n  0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n"
    "  0:10 Kill: 0 1 10: Alice killed Bob by MOD_RAILGUN\n  2:00 ShutdownGame:\n";
const std::string PROMPT = "\n\nPress ENTER to exit.";

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The "Parsing" and "WARNING" lines of a transcript, and its "ERROR" line.
std::vector<std::string> file_lines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Parsing ", 0) == 0 || line.rfind("WARNING", 0) == 0 || line.rfind("ERROR", 0) == 0)
            lines.push_back(line);
    return lines;
}

// Every file below `root` with its bytes, page stamps masked.
std::map<std::string, std::string> pages(const std::string& root) {
    std::map<std::string, std::string> t;
    for (const std::string& f : list_files(root))
        if (f.rfind(".vexo_old_", 0) != 0) t[f] = mask_stamps(read_file(root + "/" + f));
    return t;
}

TEST(PrivateText, AddressesGuidsAndSecretsBecomeMarkers) {
    const std::string guid = "3CDE0DC33C2E813032BDC83B823622C1";
    const struct {
        std::string text, shown;
    } cases[] = {
        {"\\ip\\177.149.88.159:27960\\name\\Ash\\cl_guid\\" + guid + "\\weap\\A",
         "\\ip\\[address]\\name\\Ash\\cl_guid\\[guid]\\weap\\A"},
        {"2 n\\Ash\\t\\0\\id\\1234\\guid\\x\\PASSWORD\\hunter2\\ip\\bot", "2 n\\Ash\\t\\0\\id\\[guid]\\guid\\[guid]\\PASSWORD\\[password]\\ip\\[address]"},
        {"0 ip\\10.1.2.3 \\id\\\\t\\0", "0 ip\\[address]\\id\\\\t\\0"},   // an empty value stays empty
        {"Guid: " + guid + ".", "Guid: [guid]."},
        {"Guid:" + guid + "FF00", "Guid:[guid]"},
        {"from 10.0.0.1, 10.0.0.2:27960. and 999.1.1.1x", "from [address], [address]. and [address]x"},
        {"v6 2001:db8::ff00:42:8329 [fe80::1]:27960 ::ffff:192.0.2.128 2001:0db8:85a3:0:0:8a2e:0370:7334",
         "v6 [address] [address] [address] [address]"},
        // Clocks, dates, versions, scopes and short hex runs are no addresses.
        {"[2017-05-07] [18:38:43] 12:34:56 1.2.3 v1.2 std::string 0xdeadbeef " + guid.substr(1),
         "[2017-05-07] [18:38:43] 12:34:56 1.2.3 v1.2 std::string 0xdeadbeef " + guid.substr(1)},
        {"  0:10 Kill: 0 1 10: Alice killed Bob", "  0:10 Kill: 0 1 10: Alice killed Bob"},
    };
    for (const auto& c : cases) EXPECT_EQ(hide_private(c.text), c.shown) << c.text;

    const std::string e = "\xc3\xa9";   // two bytes, one character
    std::string two_hundred_e;
    for (int i = 0; i < 200; i++) two_hundred_e += e;
    EXPECT_EQ(quote_for_report(std::string(300, 'w')), std::string(200, 'w') + "[cut]");
    EXPECT_EQ(quote_for_report(two_hundred_e), two_hundred_e);
    EXPECT_EQ(quote_for_report(two_hundred_e + e), two_hundred_e + "[cut]");
    EXPECT_EQ(quote_for_report(std::string(1000, '\xa0')), std::string(200, '\xa0') + "[cut]");
    // Hidden first, then cut: no piece of an address is left at the cut.
    EXPECT_EQ(quote_for_report(std::string(195, 'w') + " 10.11.12.13"), std::string(195, 'w') + " [add[cut]");
    EXPECT_EQ(file_name_for_report("/srv/q3/logs/games.log"), "games.log");
    EXPECT_EQ(file_name_for_report("10.0.0.7.log"), "[address].log");
}

TEST(Cron, TheReportShowsNoAddressGuidOrFolderAndAThousandGamesAFile) {
    scratch_dir dir;
    std::string log =
        "  0:00 ClientUserinfo: 0 \\ip\\203.0.113.7:27960\\name\\Ash\\cl_guid\\3CDE0DC33C2E813032BDC83B823622C1\n"
        "  0:00 Playerstore: Nothing to restore. Guid: 1C2C8B6F8F9CE0E2C0D860E79C114C79\n"
        "  0:00 Net: listening on [2001:db8::7]:27960 and 198.51.100.23\n"
        "  0:00 Long: " + std::string(300, 'w') + "\n"
        "  0:00 InitAuth: \\password\\hunter2\\auth\\0\n" + GAME;
    for (int i = 0; i < 1005; i++) log += "  0:00 InitGame: \\x\\y\n  0:01 ShutdownGame:\n";
    const std::string path = dir / "srv/private-folder/games.log";
    write_file(path, log);
    const run_result r = run_vexo(dir.path, {"/r", path});
    EXPECT_EQ(r.code, 0) << r.out;
    // The console is the admin's: it names the file as it was given.
    EXPECT_NE(r.out.find("\nParsing " + path + " ["), std::string::npos);
    const std::string report = read_file(dir / "report.htm");
    for (const char* hidden : {"private-folder", "/srv", "203.0.113", "3CDE0DC3", "1C2C8B6F", "2001:db8", "198.51",
                               "hunter2"})
        EXPECT_EQ(report.find(hidden), std::string::npos) << hidden;
    EXPECT_EQ(report.find(dir.path), std::string::npos);
    const std::string cell = "</td>\r\n<td align=left>";
    for (const std::string& shown : {
             std::string("<p class=\"title\">Log file 1: games.log</p>"),
             "Line 1" + cell + "  0:00 ClientUserinfo: 0 \\ip\\[address]\\name\\Ash\\cl_guid\\[guid]</td>",
             "Line 2" + cell + "  0:00 Playerstore: Nothing to restore. Guid: [guid]</td>",
             "Line 3" + cell + "  0:00 Net: listening on [address] and [address]</td>",
             "Line 4" + cell + "  0:00 Long: " + std::string(187, 'w') + "[cut]</td>",
             "Line 5" + cell + "  0:00 InitAuth: \\password\\[password]\\auth\\0</td>",
             // The counts are those of every game; the table stops at 1,000.
             std::string("<td align=left>Games ended by ShutdownGame:</td>\r\n<td align=right>1006</td>"),
             std::string("<td align=left>Games dropped: fewer than two active players</td>\r\n<td align=right>1005</td>"),
             std::string("<td align=left>1000</td>\r\n<td align=left>dropped: fewer than two active players</td>\r\n</tr>\r\n"
             "</table>\r\n<p><b>6 more games are not listed here (1006 in all).</b></p>"),
         })
        EXPECT_NE(report.find(shown), std::string::npos) << shown;
    EXPECT_EQ(report.find("<td align=left>1001</td>"), std::string::npos);
    EXPECT_EQ(report.find("left for the next run"), std::string::npos);
}

// A FIFO without a writer, devices and folders among the logs: each is
// named in the place of its "Parsing" line, and the run neither hangs nor
// reads them.
TEST(Cron, OnlyRegularFilesAreRead) {
    scratch_dir dir;
    write_file(dir / "game.log", GAME);
    write_file(dir / "real/other.log", GAME);
    ASSERT_EQ(mkfifo((dir / "fifo.log").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.log");
    fs::create_symlink("/dev/urandom", dir / "random.log");
    fs::create_symlink("real/other.log", dir / "linked.log");
    const std::string size = " [" + std::to_string(GAME.size()) + " byte]";
    const struct {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> lines;
    } cases[] = {
        {{"fifo.log", "/dev/zero", "game.log", "folder.log", "random.log", "linked.log"},
         0,
         {"WARNING: fifo.log is not a regular file", "WARNING: /dev/zero is not a regular file",
          "Parsing game.log" + size, "WARNING: folder.log is a folder, not a log file",
          "WARNING: random.log is not a regular file", "Parsing linked.log" + size}},
        // A pattern passes over folders, as before, but not over FIFOs and devices.
        {{"*.log"},
         0,
         {"WARNING: fifo.log is not a regular file", "Parsing game.log" + size, "Parsing linked.log" + size,
          "WARNING: random.log is not a regular file"}},
        {{"fifo.log", "/dev/urandom", "folder.log"},
         1,
         {"WARNING: fifo.log is not a regular file", "WARNING: /dev/urandom is not a regular file",
          "WARNING: folder.log is a folder, not a log file", "ERROR: No log file to analyse"}},
        {{"/q", "fifo.log", "game.log"}, 0, {"WARNING: fifo.log is not a regular file"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const run_result r = run_vexo(dir.path, c.args);
        EXPECT_EQ(r.code, c.code) << r.out;
        EXPECT_EQ(file_lines(r.out), c.lines) << r.out;
        EXPECT_EQ(fs::exists(dir / "vexo_games/game_1.htm"), c.code == 0);
        fs::remove_all(dir / "vexo_games");
    }
}

// A log written to all the while: the run ends, and reads the bytes the
// file held when the run opened it, not one more.
TEST(Cron, ALogGrowingWhileItIsReadIsReadUpToItsSizeWhenOpened) {
    scratch_dir dir, copy;
    std::string log;   // 2 MB in 200 games: reading takes a while, writing the pages does not
    for (int i = 0; i < 200; i++) {
        log += GAME.substr(0, GAME.find("  2:00"));
        for (int k = 0; k < 100; k++) log += "  1:00 Info: " + std::string(90, 'x') + "\n";
        log += "  2:00 ShutdownGame:\n";
    }
    write_file(dir / "live.log", log);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        const int fd = open((dir / "live.log").c_str(), O_WRONLY | O_APPEND);
        while (!stop && fd >= 0) {
            if (write(fd, GAME.data(), GAME.size()) < 0) break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (fd >= 0) close(fd);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const run_result r = run_vexo(dir.path, {"/r", "/d", "live.log"});
    stop = true;
    writer.join();
    ASSERT_EQ(r.code, 0) << r.out;
    const size_t at = r.out.find("\nParsing live.log [");
    ASSERT_NE(at, std::string::npos) << r.out;
    const size_t size = std::stoull(r.out.substr(at + 19));
    const std::string grown = read_file(dir / "live.log");
    ASSERT_GT(size, log.size());
    ASSERT_GT(grown.size(), size);
    EXPECT_NE(r.out.find("(100 %)"), std::string::npos);

    write_file(copy / "live.log", grown.substr(0, size));
    ASSERT_EQ(run_vexo(copy.path, {"/r", "/d", "live.log"}).code, 0);
    EXPECT_TRUE(read_file(dir / "vexodata.txt") == read_file(copy / "vexodata.txt")) << "other games were read";
    const std::string report = read_file(dir / "report.htm");
    const std::string left = "<td align=left>Written after the run opened the file (left for the next run)</td>\r\n"
                             "<td align=right>";
    const size_t row = report.find(left);
    ASSERT_NE(row, std::string::npos);
    const long long bytes_left = std::stoll(report.substr(row + left.size()));
    EXPECT_GT(bytes_left, 0);
    EXPECT_LE(bytes_left, static_cast<long long>(grown.size() - size));
    EXPECT_EQ(read_file(copy / "report.htm").find(left), std::string::npos);
}

// While another process holds the results folder, a run waits lock_wait
// seconds at most and ends with an error; the published pages stay.
TEST(Cron, ARunGivesUpWaitingAfterLockWait) {
    scratch_dir dir;
    write_file(dir / "game.log", GAME);
    write_file(dir / "vexo.cfg", "output_directory \"out\"\n");
    ASSERT_EQ(run_vexo(dir.path, {"game.log"}).code, 0);
    const auto published = pages(dir / "out");
    const int held = open((dir / "out").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const struct {
        std::string cfg;
        std::vector<std::string> args;
        std::string out_end;   // the whole transcript with /q
        int seconds;
    } cases[] = {
        {"lock_wait \"2\"", {"game.log"},
         "\n- output_directory     \"out\"\n- lock_wait            \"2\"\n"
         "\nCurrent settings:\n",
         2},
        {"lock_wait \"2\"", {"/q", "game.log"}, "", 2},
        {"lock_wait \"-5\"", {"/q", "game.log"}, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cfg + " " + c.args[0]);
        write_file(dir / "vexo.cfg", "output_directory \"out\"\n" + c.cfg + "\n");
        const auto start = std::chrono::steady_clock::now();
        const run_result r = run_vexo(dir.path, c.args);
        const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::string error =
            "\nERROR: Another run has held this results folder for " + std::to_string(c.seconds) + " seconds" + PROMPT;
        EXPECT_EQ(r.code, 1);
        if (c.args[0] == "/q") {
            EXPECT_EQ(r.out, error);
        } else {
            EXPECT_NE(r.out.find(c.out_end), std::string::npos) << r.out;
            EXPECT_TRUE(ends_with(r.out, "\nWaiting for another run in this results folder" + error)) << r.out;
        }
        EXPECT_GE(waited, c.seconds * 0.95);
        EXPECT_EQ(pages(dir / "out"), published);
    }
    close(held);
    EXPECT_EQ(run_vexo(dir.path, {"/q", "game.log"}).out, "");
}

// /q: nothing but warnings and fatal errors, each after the "Parsing" line
// of the log file it concerns; the pages are those of a run without it.
TEST(Cron, QuietRunsPrintOnlyWarningsAndErrors) {
    scratch_dir dir;
    write_file(dir / "game.log", GAME);
    write_file(dir / "weapon.log", GAME.substr(0, GAME.find("  2:00")) + "  0:20 Item: 600 weapon_shotgun\n  2:00 ShutdownGame:\n");
    write_file(dir / "empty.log", "");
    const std::string weapon_size = std::to_string(read_file(dir / "weapon.log").size());
    const struct {
        std::vector<std::string> args;
        std::string out;
        int code;
        rlim_t file_size_limit;
    } cases[] = {
        {{"/q", "empty.log", "game.log"},
         "\nParsing empty.log [0 byte]\nWARNING: no game listed from empty.log (0 kill lines read)"
         "\nParsing game.log [" + std::to_string(GAME.size()) + " byte]\nERROR: Couldn't write game_1.htm" + PROMPT,
         1, 4096},
        {{"/q", "/l", "/d", "/r", "/top3", "game.log"}, "", 0, 0},
        {{"game.log", "/QUIET"}, "", 0, 0},
        {{"/q", "game.log", "empty.log", "weapon.log", "missing.log"},
         "\nParsing empty.log [0 byte]\nWARNING: no game listed from empty.log (0 kill lines read)"
         "\nParsing weapon.log [" + weapon_size + " byte]\nWARNING: player_id overflow in resultdata::add_item"
         "\nWARNING: no log file matches missing.log\n",
         0, 0},
        {{"/q", "missing.log"}, "\nWARNING: no log file matches missing.log\nERROR: No log file to analyse" + PROMPT, 1, 0},
    };
    std::map<std::string, std::string> quiet;   // the pages of the first run that goes through
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        run_options o;
        o.file_size_limit = c.file_size_limit;
        const run_result r = run_vexo(dir.path, c.args, o);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.out);
        if (c.code == 0) {
            EXPECT_EQ(r.err, "");
        }
        if (quiet.empty() && c.code == 0) quiet = pages(dir.path);
    }
    // The first run's pages, once more without /q.
    const run_result loud = run_vexo(dir.path, {"/l", "/d", "/r", "/top3", "game.log"});
    EXPECT_EQ(loud.code, 0);
    EXPECT_NE(loud.out.find("\nWriting player stats to \"players.htm\""), std::string::npos);
    EXPECT_EQ(pages(dir.path), quiet);
    EXPECT_NE(run_vexo(dir.path, {"--help"}).out.find("\n/r\t\t  write run report (report.htm)"
                                                      "\n/q\t\t  quiet: print only warnings and errors (for cron)"),
              std::string::npos);
}

}  // namespace
