// Small logs run through the program, each checked by its data file: per slot
// of each listed game the name, kills, killed, suicides, deaths and play time.
// The rules of the client table (play time, slots, names) and of counting on
// and off (warm-up, game end, exit, one-on-one games) and lines that change
// nothing.
#include "harness.h"

namespace {

using namespace harness;

// A game of the given type with Ann (client 0, from 0:01) and Bob (client 1, from 0:02).
std::string game(int type) {
    return " 0:00 InitGame: \\g_gametype\\" + std::to_string(type) + "\\mapname\\arena\n"
           " 0:01 ClientConnect: 0\n 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
           " 0:02 ClientConnect: 1\n 0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n";
}

// Runs /d on the logs (1.log, 2.log, ...) and returns the data file with each
// line cut after the play time, lines joined by " | ".
std::string data_of(const std::vector<std::string>& logs) {
    scratch_dir dir;
    std::vector<std::string> args{"/d"};
    for (size_t i = 0; i < logs.size(); i++) {
        args.push_back(std::to_string(i + 1) + ".log");
        write_file(dir / args.back(), logs[i]);
    }
    const run_result r = run_vexo(dir.path, args);
    EXPECT_EQ(r.code, 0) << r.out;
    std::string data, line;
    std::istringstream lines(read_file(dir / "vexodata.txt"));
    while (std::getline(lines, line)) data += (data.empty() ? "" : " | ") + line.substr(0, line.find(" h,"));
    return data;
}

struct log_case {
    const char* what;
    std::vector<std::string> logs;
    const char* data;
};

const log_case cases[] = {
    // The client table and play time.
    {"play time runs from the connect to the end",
     {" 0:00 InitGame: \\g_gametype\\0\n 0:10 ClientConnect: 0\n 0:12 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
      " 0:20 ClientConnect: 1\n 0:20 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 1:00 Kill: 0 1 10\n"
      " 1:10 ClientDisconnect: 0\n10:20 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:01:00 | 1,Bob,0,1,0,0,00:10:00"},
    {"spectating stops the clock, coming back starts it; leaving as a spectator adds nothing",
     {game(3) + " 0:10 Kill: 0 1 10\n 1:01 ClientUserinfoChanged: 0 n\\Ann\\t\\3\n"
                " 1:02 ClientUserinfoChanged: 1 n\\Bob\\t\\3\n 3:01 ClientUserinfoChanged: 0 n\\Ann\\t\\1\n"
                " 4:00 ClientDisconnect: 1\n 5:01 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:03:00 | 1,Bob,0,1,0,0,00:01:00"},
    {"a human back under the same name keeps the slot, under a new name takes another",
     {game(0) + " 0:10 Kill: 0 1 10\n 1:01 ClientDisconnect: 0\n 2:01 ClientConnect: 0\n"
                " 2:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 2:30 Kill: 0 1 10\n 3:00 ClientDisconnect: 1\n"
                " 4:00 ClientConnect: 1\n 4:00 ClientUserinfoChanged: 1 n\\Bobby\\t\\0\n 4:30 Kill: 1 0 10\n"
                " 5:00 ShutdownGame:\n"},
     "1,Bobby,1,0,0,0,00:01:00 | 1,Ann,2,1,0,0,00:03:59 | 1,Bob,0,2,0,0,00:02:58"},
    {"a bot back under the same name takes another slot",
     {game(0) + " 0:03 ClientConnect: 2\n 0:03 ClientUserinfoChanged: 2 n\\Cid\\t\\0\\skill\\3\n 0:10 Kill: 2 1 10\n"
                " 1:03 ClientDisconnect: 2\n 2:03 ClientConnect: 2\n 2:03 ClientUserinfoChanged: 2 n\\Cid\\t\\0\\skill\\3\n"
                " 2:30 Kill: 0 2 10\n 3:03 ShutdownGame:\n"},
     "1,Cid,1,0,0,0,00:01:00 | 1,Ann,1,0,0,0,00:03:02 | 1,Bob,0,1,0,0,00:03:01 | "
     "1,Cid,0,1,0,0,00:01:00"},
    {"a client back under the name of an earlier slot takes that slot; a name in another case is another player",
     {game(0) + " 0:10 Kill: 0 1 10\n 1:01 ClientDisconnect: 0\n 1:02 ClientDisconnect: 1\n 2:00 ClientConnect: 1\n"
                " 2:00 ClientUserinfoChanged: 1 n\\Ann\\t\\0\n 2:00 ClientConnect: 0\n 2:00 ClientUserinfoChanged: 0 n\\bob\\t\\0\n"
                " 2:30 Kill: 0 1 10\n 3:00 ShutdownGame:\n"},
     "1,bob,1,0,0,0,00:01:00 | 1,Ann,1,1,0,0,00:02:00 | 1,Bob,0,1,0,0,00:01:00"},
    {"a connect while playing restarts the clock; a rename keeps the slot",
     {game(0) + " 0:10 Kill: 0 1 10\n 2:01 ClientConnect: 0\n 2:30 ClientUserinfoChanged: 1 n\\^1Rob\\t\\0\n"
                " 3:01 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:01:00 | 1,Rob,0,1,0,0,00:02:59"},
    {"client numbers outside the table do nothing; an end before the start adds nothing",
     {game(0) + " 0:03 ClientConnect: 4294967297\n 0:03 ClientConnect: -1\n 0:03 ClientUserinfoChanged: 512 n\\X\n"
                " 0:03 ClientUserinfoChanged: -1 n\\Y\n 0:04 ClientDisconnect: 512\n 0:04 ClientDisconnect: -5\n"
                " 9:00 ClientConnect: 2\n 9:00 ClientUserinfoChanged: 2 n\\Late\\t\\0\n 9:00 Kill: 2 0 10\n"
                " 0:10 Kill: 0 1 10\n 1:00 ShutdownGame:\n"},
     "1,Ann,1,1,0,0,00:00:59 | 1,Bob,0,1,0,0,00:00:58 | 1,Late,1,0,0,0,00:00:00"},
    {"players still connected from the game before play from their connect",
     {game(0) + " 0:10 Kill: 0 1 10\n 1:00 ShutdownGame:\n 0:00 InitGame: \\g_gametype\\0\n"
                " 0:05 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 0:05 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n"
                " 0:30 Kill: 1 0 10\n 2:00 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:00:59 | 1,Bob,0,1,0,0,00:00:58 | 2,Bob,1,0,0,0,00:01:58 | 2,Ann,0,1,0,0,00:01:59"},
    {"time stamp and event word run together after seven characters",
     {game(0) + " 0:10 Kill: 0 1 10\n1000:00ClientConnect: 2\n1000:00 ClientUserinfoChanged: 2 n\\Cid\\t\\0\n"
                "1000:10 Kill: 2 0 10\n1000:30 ShutdownGame:\n"},
     "1,Cid,1,0,0,0,00:00:30 | 1,Ann,1,1,0,0,16:40:29 | 1,Bob,0,1,0,0,16:40:28"},
    {"time stamps at the ends of the 32-bit range: a life's length wraps, nothing overflows",
     {game(0) + "35791394 Kill: 1 0 10\n35791394 Kill: 0 1 10\n-3579140 Kill: 1 0 10\n 1:00 ShutdownGame:\n",
      game(0) + "35791394 Kill: 1 0 10\n35791394 Kill: 0 1 10\n-3579140 ShutdownGame:\n"},
     "1,Bob,2,1,0,0,00:00:58 | 1,Ann,1,2,0,0,00:00:59 | 2,Ann,1,1,0,0,00:00:00 | 2,Bob,1,1,0,0,00:00:00"},
    {"words and lines that change nothing",
     {game(0) + " 0:05 ----\n 0:05 ClientBegin: 0\n 0:05 sayteam: Ann: attack\n 0:05 Kill\n 0:05 kill: 0 1 10\n"
                " 0:05 Kill:: 0 1 10\n 0:05 Unknown: 0 1 10\n 0:05\n\n\r\n"
                "\x01\x02\xff\xfe\xfd\xfc\xfb\xfa\xf9 Kill: 0 1 10\n 0:06 Warmup:: \n 0:07 Kill: 1 0 10\n"
                " 1:00 ShutdownGame:\n"},
     "1,Bob,1,0,0,0,00:00:58 | 1,Ann,0,1,0,0,00:00:59"},
    // Counting on and off.
    {"a warm-up ends what was counted; Game_Start counts again, in new slots",
     {game(1) + " 0:10 Kill: 0 1 10\n 0:30 Warmup:\n 0:35 Kill: 0 1 10\n 0:36 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
                " 0:40 Game_Start:\n 0:41 Kill: 0 1 10\n 0:42 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
                " 0:42 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 0:50 Kill: 1 0 10\n 1:30 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:00:29 | 1,Bob,1,0,0,0,00:01:28 | 1,Ann,0,1,0,0,00:01:29 | "
     "1,Bob,0,1,0,0,00:00:28"},
    {"Game_End and Exit stop the counting; pings, connects and the end of the game go on",
     {game(0) + " 0:10 Kill: 0 1 10\n 0:20 Game_End:\n 0:30 Kill: 0 1 10\n 0:40 Game_Start:\n 0:50 Kill: 1 0 10\n"
                " 5:00 Exit: Fraglimit hit.\n 5:01 Kill: 0 1 10\n 5:02 Item: 0 item_quad\n"
                " 5:03 ClientUserinfoChanged: 0 n\\Annie\\t\\0\n 5:05 ClientConnect: 1\n 5:10 ShutdownGame:\n"},
     "1,Ann,1,1,0,0,00:05:09 | 1,Bob,1,1,0,0,00:00:05"},
    {"after a free-for-all with Exit the next game counts; a second InitGame clears a one-on-one Exit",
     {game(0) + " 0:10 Kill: 0 1 10\n 1:00 Exit: Timelimit hit.\n 1:01 ShutdownGame:\n" + game(0) +
      " 0:10 Kill: 1 0 10\n 1:00 ShutdownGame:\n" + game(1) + " 0:10 Kill: 0 1 10\n 1:00 Exit: Fraglimit hit.\n" +
      " 1:01 ShutdownGame:\n 0:00 InitGame: \\g_gametype\\1\n" + game(1) + " 0:10 Kill: 1 0 6\n 1:00 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:01:00 | 1,Bob,0,1,0,0,00:00:59 | 2,Bob,1,0,0,0,00:00:58 | "
     "2,Ann,0,1,0,0,00:00:59 | 3,Ann,1,0,0,0,00:01:00 | 3,Bob,0,1,0,0,00:00:59 | "
     "4,Bob,1,0,0,0,00:00:58 | 4,Ann,0,1,0,0,00:00:59"},
    {"one-on-one: a player who leaves or spectates stops the counting, a spectator or a client without a slot does not",
     {game(1) + " 0:03 ClientConnect: 2\n 0:03 ClientUserinfoChanged: 2 n\\Cid\\t\\3\n 0:04 ClientDisconnect: 2\n"
                " 0:05 ClientDisconnect: 9\n 0:06 ClientUserinfoChanged: 1 n\\Bob\\t\\1\n 0:10 Kill: 0 1 10\n"
                " 0:20 ClientDisconnect: 1\n 0:30 Kill: 1 0 10\n 1:00 ShutdownGame:\n",
      game(1) + " 0:10 Kill: 0 1 10\n 0:20 ClientUserinfoChanged: 1 n\\Bob\\t\\3\n 0:30 Kill: 1 0 10\n 1:00 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:00:59 | 1,Bob,0,1,0,0,00:00:18 | 2,Ann,1,0,0,0,00:00:59 | "
     "2,Bob,0,1,0,0,00:00:18"},
    {"free-for-all: players who spectate or leave do not stop the counting",
     {game(0) + " 0:03 ClientConnect: 2\n 0:03 ClientUserinfoChanged: 2 n\\Cid\\t\\0\n"
                " 0:05 ClientUserinfoChanged: 2 n\\Cid\\t\\3\n 0:06 ClientDisconnect: 2\n 0:10 Kill: 0 1 10\n"
                " 1:00 ShutdownGame:\n"},
     "1,Ann,1,0,0,0,00:00:59 | 1,Bob,0,1,0,0,00:00:58"},
    {"counting stays off into the next log file",
     {game(0) + " 0:10 Kill: 0 1 10\n 0:20 Game_End:\n",
      " 0:01 ClientConnect: 0\n 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n 0:02 ClientConnect: 1\n"
      " 0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\0\n 0:10 Kill: 0 1 10\n 1:00 ShutdownGame:\n" +
          game(0) + " 0:10 Kill: 1 0 10\n 1:00 ShutdownGame:\n"},
     "1,Bob,1,0,0,0,00:00:58 | 1,Ann,0,1,0,0,00:00:59"},
};

TEST(LogCases, DataFileOfEachCase) {
    for (const log_case& c : cases) EXPECT_EQ(data_of(c.logs), c.data) << c.what;
}

}  // namespace
