// The game record: game frame, client table, play time, reconnects, teams.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "game/resultdata.h"
#include "log_support.h"

namespace {

using GameRecord = vexo_test::game_test;

// A game as a script of client events; then the slots' play time and names.
struct event {
    char kind;  // c connect, u user info, d disconnect, e end of game
    int client;
    const char* name;
    int bot, team, time;
};
struct script_case {
    const char* what;
    std::vector<event> events;
    std::vector<uint32_t> playtime;  // per slot; its size is the player count
    std::vector<const char*> names;
};

event C(int client, int t) { return {'c', client, nullptr, -1, 0, t}; }
event U(int client, const char* name, int team, int t, int bot = -1) { return {'u', client, name, bot, team, t}; }
event D(int client, int t) { return {'d', client, nullptr, -1, 0, t}; }
event E(int t) { return {'e', 0, nullptr, -1, 0, t}; }

const script_case scripts[] = {
    {"user info after the connect, to the end", {C(0, 10), U(0, "A", 0, 12), E(610)}, {600}, {"A"}},
    {"team 3 to the end", {C(0, 0), U(0, "A", 1, 0), U(0, "A", 3, 60), E(300)}, {60}, {"A"}},
    {"team 3 and back", {C(0, 0), U(0, "A", 1, 0), U(0, "A", 3, 60), U(0, "A", 1, 180), E(300)}, {180}, {"A"}},
    {"spectator all game", {C(0, 0), U(0, "A", 3, 0), E(300)}, {0}, {"A"}},
    {"disconnect from team 3", {C(0, 0), U(0, "A", 2, 0), U(0, "A", 3, 60), D(0, 200), E(300)}, {60}, {"A"}},
    {"human back under the same name",
     {C(0, 0), U(0, "A", 0, 0), D(0, 100), C(0, 200), U(0, "A", 0, 200), E(300)}, {200}, {"A"}},
    {"human back under a new name",
     {C(0, 0), U(0, "A", 0, 0), D(0, 100), C(0, 200), U(0, "B", 0, 200), E(300)}, {100, 100}, {"A", "B"}},
    {"bot back under the same name",
     {C(0, 0), U(0, "A", 0, 0, 3), D(0, 100), C(0, 200), U(0, "A", 0, 200, 3), E(300)}, {100, 100}, {"A", "A"}},
    {"human back on another client number under an earlier name",
     {C(0, 0), U(0, "A", 0, 0), C(1, 0), U(1, "B", 0, 0), D(0, 10), D(1, 20), C(1, 30), U(1, "A", 0, 30), E(100)},
     {80, 20}, {"A", "B"}},
    {"a name in another case is another player",
     {C(0, 0), U(0, "A", 0, 0), D(0, 100), C(0, 200), U(0, "a", 0, 200), E(300)}, {100, 100}, {"A", "a"}},
    {"connect again while playing", {C(0, 0), U(0, "A", 0, 0), C(0, 100), E(150)}, {50}, {"A"}},
    {"rename keeps the slot", {C(0, 0), U(0, "A", 0, 0), U(0, "^1B", 0, 50), E(100)}, {100}, {"^1B"}},
    {"two clients", {C(0, 0), U(0, "A", 0, 0), C(1, 30), U(1, "B", 0, 30), D(0, 90), E(100)}, {90, 70}, {"A", "B"}},
    {"disconnect without a slot", {C(5, 0), D(5, 50), C(0, 0), U(0, "A", 0, 0), E(100)}, {100}, {"A"}},
    {"end before the start adds nothing", {C(0, 100), U(0, "A", 0, 100), E(50)}, {0}, {"A"}},
    {"client numbers outside the table are ignored",
     {C(512, 0), U(512, "X", 0, 0), U(-1, "Y", 0, 0), D(-1, 5), D(512, 5), C(0, 0), U(0, "A", 0, 0), E(10)},
     {10},
     {"A"}},
};

class PlayTime : public GameRecord, public ::testing::WithParamInterface<script_case> {};

TEST_P(PlayTime, Script) {
    const script_case& s = GetParam();
    start();
    for (const event& e : s.events) {
        switch (e.kind) {
            case 'c': EXPECT_EQ(rd->client_connect(e.client, e.time), 0); break;
            case 'u': rd->client_userinfo(e.client, e.name, e.bot, e.team, e.time); break;
            case 'd': rd->client_disconnect(e.client, e.time); break;
            case 'e': rd->end_game(e.time); break;
        }
    }
    ASSERT_EQ(rd->get_player_count(), static_cast<int>(s.playtime.size())) << s.what;
    for (size_t i = 0; i < s.playtime.size(); ++i) {
        EXPECT_EQ(rd->get_player(static_cast<int>(i)).playtime, s.playtime[i]) << s.what << ", slot " << i;
        EXPECT_STREQ(rd->get_player(static_cast<int>(i)).get_name(), s.names[i]) << s.what << ", slot " << i;
    }
    // The end of the game empties the client table.
    EXPECT_EQ(rd->clients[0].state, 0);
    EXPECT_EQ(rd->clients[0].slot, -1);
}

INSTANTIATE_TEST_SUITE_P(Clients, PlayTime, ::testing::ValuesIn(scripts));

TEST_F(GameRecord, ReturningHumanKeepsRecord) {
    start();
    join(0, "A", 2, 1);  // a bot
    join(1, "H", -1, 1);
    rd->get_player(1).kills[0] = 4;
    rd->client_disconnect(1, 50);
    EXPECT_EQ(rd->clients[1].state, 2);
    EXPECT_EQ(rd->clients[1].slot, 1);
    join(1, "H", -1, 2, 60);
    EXPECT_EQ(rd->clients[1].slot, 1);
    EXPECT_EQ(rd->clients[1].state, 1);
    EXPECT_EQ(rd->get_player(1).kills[0], 4u);
    EXPECT_EQ(rd->get_player(1).team, 2);
    EXPECT_EQ(rd->get_player(1).bot_skill, -1);
    EXPECT_EQ(rd->get_player(0).bot_skill, 2);
    EXPECT_EQ(rd->get_player_count(), 2);
}

TEST_F(GameRecord, TeamsString) {
    const struct {
        std::vector<int> teams;  // user infos of one client; 99 = disconnect and connect
        std::string expected;
    } cases[] = {
        {{1, 2, 2, 2}, "\x01\x02"},
        {{0}, ""},
        {{-1}, "\xff"},
        {{1, 0, 1}, "\x01"},
        {{3, 1, 3}, "\x03\x01\x03"},
        {{1, 99, 1}, std::string("\x01\x01")},
        {{2, 99, 2, 2}, std::string("\x02\x02")},
    };
    for (const auto& c : cases) {
        start();
        rd->client_connect(0, 0);
        int t = 0;
        for (int team : c.teams) {
            t += 10;
            if (team == 99) {
                rd->client_disconnect(0, t);
                rd->client_connect(0, t);
            } else {
                rd->client_userinfo(0, "A", -1, team, t);
            }
        }
        EXPECT_EQ(rd->get_player(0).teams, c.expected);
        EXPECT_EQ(rd->get_player(0).team, c.teams.back());
    }

    // At most 255 changes are recorded.
    start();
    rd->client_connect(0, 0);
    for (int i = 0; i < 300; ++i) rd->client_userinfo(0, "A", -1, 1 + i % 2, i);
    EXPECT_EQ(rd->get_player(0).teams.size(), 255u);
}

TEST_F(GameRecord, FindPlayerIsExact) {
    start();
    join(0, "^1Bob");
    join(1, "bob");
    join(2, "^1Bob");  // a second client with the same name takes its own slot
    EXPECT_EQ(rd->get_player_count(), 3);
    EXPECT_EQ(rd->find_player("^1Bob"), 0);
    EXPECT_EQ(rd->find_player("bob"), 1);
    EXPECT_EQ(rd->find_player("Bob"), -1);
    EXPECT_EQ(rd->find_player("^2Bob"), -1);
}

TEST_F(GameRecord, ResetAndGameFrame) {
    start(3);
    copy_field(rd->map_name, sizeof rd->map_name, "q3dm6");
    rd->timelimit = 20;
    rd->init_game(75);
    EXPECT_EQ(rd->start_time, 75);
    join(0, "A", -1, 1, 80);
    join(1, "B", -1, 2, 80);
    rd->add_kill(0, 1, 10, 90);
    EXPECT_FALSE(rd->team_game);
    rd->end_game(200);
    EXPECT_TRUE(rd->team_game);  // kills between sides 1 and 2

    rd->reset();
    EXPECT_STREQ(rd->map_name, "");
    EXPECT_EQ(rd->start_time, 0);
    EXPECT_EQ(rd->timelimit, 0);
    EXPECT_EQ(rd->get_player_count(), 0);
    EXPECT_EQ(rd->get_player(0).kills[0], 0u);
    EXPECT_EQ(rd->get_player(0).playtime, 0u);
    EXPECT_EQ(rd->get_team_kills(1), 0u);
    EXPECT_EQ(rd->game_type, 3);  // kept until the next InitGame sets it

    rd->init_game(0);
    join(0, "A");
    join(1, "B");
    rd->add_kill(0, 1, 10, 5);
    rd->end_game(10);
    EXPECT_FALSE(rd->team_game);  // kills of team 0 make no team game
}

// The run reuses its game records from one log file to the next: renew()
// gives what a new record would have, whatever the last game left behind.
TEST_F(GameRecord, RenewIsANewRecord) {
    auto state = [](const resultdata& r) {
        std::string s = std::to_string(r.player_count) + "|" + r.map_name + "|" + r.game_name + "|" +
                        r.game_type_name + "|" + std::to_string(r.game_type) + "|" +
                        std::to_string(r.team_game) + "|" + std::to_string(r.start_time) + "|" +
                        std::to_string(r.timelimit) + "|" + std::to_string(r.matrix_extent());
        for (int n = 0; n < MAX_CLIENT_IDS; n++)
            s += "|" + std::to_string(r.clients[n].state) + "," + std::to_string(r.clients[n].slot) + "," +
                 std::to_string(r.clients[n].since) + "," + std::to_string(r.life_kills[n]);
        return s;
    };
    resultdata fresh(&settings);
    start(1);
    copy_field(rd->map_name, sizeof rd->map_name, "q3dm6");
    copy_field(rd->game_name, sizeof rd->game_name, "mod");
    rd->timelimit = 20;
    join(0, "A", -1, 1, 80);
    join(1, "B", -1, 2, 80);
    rd->add_kill(0, 1, 10, 90);
    rd->add_kill(1, 0, 7, 95);
    rd->end_game(200);   // a log file that ends here
    rd->renew();
    EXPECT_EQ(state(*rd), state(fresh));
    for (int w = 0; w < MAX_WEAPONS; w++) EXPECT_EQ(rd->get_kills_vs(0, 1, w), 0u) << w;
}

TEST_F(GameRecord, TooManyPlayersDropTheGame) {
    start();
    for (int i = 0; i < 511; ++i) EXPECT_EQ(rd->add_player(), i);
    EXPECT_FALSE(rd->too_many_clients);
    testing::internal::CaptureStdout();
    EXPECT_EQ(rd->add_player(), -1);
    EXPECT_EQ(rd->add_player(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nWARNING: game dropped: more than 511 clients");
    EXPECT_TRUE(rd->too_many_clients);
    EXPECT_EQ(rd->get_player_count(), 511);
    rd->reset();
    EXPECT_FALSE(rd->too_many_clients);
}

}  // namespace
