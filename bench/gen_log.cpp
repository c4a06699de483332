// gen_log: writes a large, realistic game-server log for benchmarks. The
// output depends only on the parameters (seeded PRNG), so two runs with the
// same parameters write the same bytes.
//
//   gen_log -o FILE [--size-mb M | --games G] [--players P] [--bots B]
//           [--team T] [--chat C] [--per-game K] [--fresh] [--seed S]
//
//   --size-mb M   stop after the game that passes M megabytes (default 20)
//   --games G     write exactly G games instead
//   --players P   distinct player names (default 300)
//   --bots B      share of players that are bots, 0 to 1 (default 0.25)
//   --team T      share of games that are team games (default 0.4)
//   --chat C      chat lines per kill, 0 to 1 (default 0.1)
//   --per-game K  every game has exactly K players (2 to 16; no one-on-one games)
//   --fresh       players join in name order, each game bringing players not
//                 seen before until the pool is used up (then it starts over):
//                 a public server that meets ever new names. With
//                 --players 200000 --games 20000 --per-game 10 every player
//                 plays one game.
//   --seed S      PRNG seed (default 1)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct rng {
    uint64_t state;
    explicit rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    uint64_t next() {  // splitmix64
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    bool chance(double p) { return unit() < p; }
};

const char* const syllables[] = {"ka", "zo", "mir", "tal", "vex", "ru", "bo", "shi",
                                 "len", "dra", "qu", "pim", "sor", "fen", "gu", "lax"};
const char* const maps[] = {"arena7", "foundry", "coldsteel", "pitstop", "drydock",
                            "vaultline", "ember", "twinforts", "skyway", "cistern"};
const char* const chat_texts[] = {"gg", "nice shot", "lag!!", "rematch?", "brb",
                                  "who took the quad <3", "camping again & again",
                                  "^3yellow^7 is the best colour", "ouch", "lol",
                                  "that rail was lucky", "one more map"};
const char* const items[] = {
    "item_health_small", "item_health",     "item_health_large", "item_health_mega",
    "item_armor_shard",  "item_armor_combat", "item_armor_body", "item_quad",
    "item_haste",        "item_regen",      "holdable_medkit",   "weapon_rocketlauncher",
    "weapon_railgun",    "weapon_shotgun",  "weapon_plasmagun",  "weapon_lightning",
    "ammo_rockets",      "ammo_slugs",      "ammo_shells",       "ammo_cells",
    "ammo_bullets",      "ammo_lightning",  "ammo_grenades",     "item_spawn_marker"};
const int weapons[] = {1, 2, 3, 4, 5, 6, 6, 7, 7, 8, 9, 10, 10, 11, 12, 13, 18};
const char* const mods[] = {"", "MOD_SHOTGUN", "MOD_GAUNTLET", "MOD_MACHINEGUN",
                            "MOD_GRENADE", "MOD_GRENADE_SPLASH", "MOD_ROCKET",
                            "MOD_ROCKET_SPLASH", "MOD_PLASMA", "MOD_PLASMA_SPLASH",
                            "MOD_RAILGUN", "MOD_LIGHTNING", "MOD_BFG", "MOD_BFG_SPLASH",
                            "", "", "", "", "MOD_TELEFRAG"};

// Name of player `index`: syllables picked by the digits of the index in base
// 16, so that every index gives another plain name; some carry colour codes.
std::string player_name(int index, std::string* plain) {
    std::string name;
    std::string bare;
    int n = index;
    int count = 0;
    do {
        const char* s = syllables[n % 16];
        n /= 16;
        bool colour = (index % 5 == 0) && count == 0;
        if (colour) name += "^" + std::to_string(1 + index % 6);
        std::string part = s;
        if (count == 0) part[0] = static_cast<char>(part[0] - 32);
        name += part;
        bare += part;
        ++count;
    } while (n > 0 || count < 2);
    if (index % 5 == 0) name += "^7";
    *plain = bare;
    return name;
}

std::string stamp(int seconds) {
    char text[32];
    snprintf(text, sizeof text, "%3d:%02d", seconds / 60, seconds % 60);
    return text;
}

struct client {
    int player;      // index into the name pool
    int team;
    bool connected;
};

class writer {
public:
    writer(FILE* out, int players, double bots, double team_share, double chat, int per_game,
           bool fresh, uint64_t seed)
        : out(out), random(seed), bot_share(bots), team_share(team_share), chat_share(chat),
          per_game(per_game), fresh(fresh) {
        names.resize(players);
        plain.resize(players);
        for (int i = 0; i < players; ++i) names[i] = player_name(i, &plain[i]);
    }

    long long bytes = 0;

    void game() {
        int type;
        if (random.chance(team_share))
            type = random.chance(0.5) ? 3 : 4;
        else
            type = random.chance(0.1) && per_game == 0 ? 1 : 0;
        bool teams = type == 3 || type == 4;
        int count = type == 1 ? 2 : 2 + random.below(teams ? 11 : 9);
        if (per_game > 0) count = per_game;
        int fraglimit = type == 4 ? 0 : (type == 1 ? 15 : 20 + 5 * random.below(4));
        int timelimit = 10 + 5 * random.below(3);
        const char* map = maps[random.below(10)];
        int t = 0;
        line(t, "------------------------------------------------------------");
        char info[512];
        snprintf(info, sizeof info,
                 "InitGame: \\sv_hostname\\Bench Server #%d\\g_gametype\\%d\\mapname\\%s"
                 "\\gamename\\vexoarena\\fraglimit\\%d\\timelimit\\%d\\capturelimit\\8"
                 "\\sv_maxclients\\16\\version\\bench 1.0\\",
                 1 + random.below(3), type, map, fraglimit, timelimit);
        line(t, info);

        std::vector<client> clients;
        for (int c = 0; c < count; ++c) {
            client cl;
            cl.player = pick_player(clients);
            cl.team = teams ? 1 + c % 2 : 0;
            cl.connected = true;
            clients.push_back(cl);
            connect(t, c, clients[c]);
        }
        // A one-on-one match, and the game after one, start with a warm-up;
        // the clients send their user info again once the match is on.
        if (type == 1 || previous_type == 1) {
            line(t, "Warmup:");
            for (int k = 0; k < 3; ++k) event_kill(t + 5 * k, clients);
            t += 20;
            line(t, "Game_Start:");
            for (int c = 0; c < count; ++c) userinfo(t, c, clients[c]);
        }
        previous_type = type;
        int kills = count * (8 + random.below(25));
        int end = timelimit * 60 - random.below(120);
        for (int k = 0; k < kills; ++k) {
            t = 30 + static_cast<int>(static_cast<long long>(end - 30) * (k + 1) / (kills + 1));
            int pickups = random.below(4);
            for (int p = 0; p < pickups; ++p) {
                int c = random.below(count);
                if (!clients[c].connected) continue;
                line(t, "Item: " + std::to_string(c) + " " + items[random.below(24)]);
            }
            event_kill(t, clients);
            if (random.chance(chat_share)) {
                int c = random.below(count);
                if (clients[c].connected)
                    line(t, "say: " + names[clients[c].player] + ": " +
                                chat_texts[random.below(12)]);
            }
            if (type != 1 && random.chance(0.01)) reconnect(t, clients);
            if (teams && random.chance(0.005)) {
                int c = random.below(count);
                if (clients[c].connected) {
                    clients[c].team = clients[c].team == 1 ? 2 : 1;
                    userinfo(t, c, clients[c]);
                }
            }
        }
        t = end;
        line(t, type == 4 ? "Exit: Capturelimit hit." : "Exit: Fraglimit hit.");
        if (type == 4) {
            line(t, "red:" + std::to_string(random.below(8)) + "  blue:" +
                        std::to_string(random.below(8)));
        }
        for (int c = 0; c < count; ++c) {
            if (!clients[c].connected) continue;
            line(t, "score: " + std::to_string(random.below(40)) + "  ping: " +
                        std::to_string(is_bot(clients[c].player) ? 0 : 20 + random.below(120)) +
                        "  client: " + std::to_string(c) + " " + names[clients[c].player]);
        }
        line(t, "ShutdownGame:");
    }

private:
    bool is_bot(int player) const {
        uint32_t h = static_cast<uint32_t>(player) * 2654435761u;
        return static_cast<double>(h % 1000u) / 1000.0 < bot_share;
    }

    // Regulars come back often, the rest of the pool now and then.
    int pick_player(const std::vector<client>& taken) {
        int pool = static_cast<int>(names.size());
        if (fresh) {
            int p = next_fresh;
            next_fresh = (next_fresh + 1) % pool;
            return p;
        }
        for (;;) {
            int p;
            if (random.chance(0.5)) {
                double u = random.unit();
                p = static_cast<int>(pool * u * u * u);
            } else {
                p = random.below(pool);
            }
            bool used = false;
            for (const client& c : taken) used = used || c.player == p;
            if (!used || static_cast<int>(taken.size()) >= pool) return p;
        }
    }

    void userinfo(int t, int c, const client& cl) {
        std::string text = "ClientUserinfoChanged: " + std::to_string(c) + " n\\" +
                           names[cl.player] + "\\t\\" + std::to_string(cl.team) +
                           "\\model\\" + syllables[cl.player % 16] + "\\hmodel\\" +
                           syllables[(cl.player / 3) % 16] + "\\c1\\4\\c2\\5\\hc\\100";
        if (is_bot(cl.player)) text += "\\skill\\" + std::to_string(1 + cl.player % 5);
        line(t, text);
    }

    void connect(int t, int c, const client& cl) {
        line(t, "ClientConnect: " + std::to_string(c));
        userinfo(t, c, cl);
        line(t, "ClientBegin: " + std::to_string(c));
    }

    void reconnect(int t, std::vector<client>& clients) {
        int c = random.below(static_cast<int>(clients.size()));
        if (!clients[c].connected) {
            clients[c].connected = true;
            connect(t, c, clients[c]);
        } else {
            clients[c].connected = false;
            line(t, "ClientDisconnect: " + std::to_string(c));
        }
    }

    void event_kill(int t, const std::vector<client>& clients) {
        int count = static_cast<int>(clients.size());
        int victim = random.below(count);
        if (!clients[victim].connected) return;
        const std::string& vname = plain[clients[victim].player];
        if (random.chance(0.06)) {
            line(t, "Kill: 1022 " + std::to_string(victim) + " 22: <world> killed " + vname +
                        " by MOD_TRIGGER_HURT");
            return;
        }
        int killer = victim;
        if (!random.chance(0.05)) killer = (victim + 1 + random.below(count - 1)) % count;
        if (!clients[killer].connected) return;
        int weapon = weapons[random.below(17)];
        if (killer == victim && weapon != 5 && weapon != 7) weapon = 7;
        line(t, "Kill: " + std::to_string(killer) + " " + std::to_string(victim) + " " +
                    std::to_string(weapon) + ": " + plain[clients[killer].player] + " killed " +
                    vname + " by " + mods[weapon]);
    }

    void line(int t, const std::string& text) {
        std::string full = stamp(t) + " " + text + "\n";
        fwrite(full.data(), 1, full.size(), out);
        bytes += static_cast<long long>(full.size());
    }

    FILE* out;
    rng random;
    int previous_type = 0;
    double bot_share, team_share, chat_share;
    int per_game;
    bool fresh;
    int next_fresh = 0;
    std::vector<std::string> names;
    std::vector<std::string> plain;
};

[[noreturn]] void usage() {
    fprintf(stderr,
            "usage: gen_log -o FILE [--size-mb M | --games G] [--players P] [--bots B]\n"
            "               [--team T] [--chat C] [--per-game K] [--fresh] [--seed S]\n");
    exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    const char* output = nullptr;
    double size_mb = 20;
    long long games = 0;
    int players = 300;
    double bots = 0.25, team = 0.4, chat = 0.1;
    unsigned long long seed = 1;
    int per_game = 0;
    bool fresh = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--fresh") {
            fresh = true;
            continue;
        }
        if (i + 1 >= argc) usage();
        const char* v = argv[++i];
        if (a == "-o") output = v;
        else if (a == "--size-mb") size_mb = atof(v);
        else if (a == "--games") games = atoll(v);
        else if (a == "--players") players = atoi(v);
        else if (a == "--bots") bots = atof(v);
        else if (a == "--team") team = atof(v);
        else if (a == "--chat") chat = atof(v);
        else if (a == "--per-game") per_game = atoi(v);
        else if (a == "--seed") seed = strtoull(v, nullptr, 10);
        else usage();
    }
    if (!output || players < 2 || per_game < 0 || per_game == 1 || per_game > 16 ||
        per_game > players)
        usage();
    FILE* out = fopen(output, "wb");
    if (!out) {
        perror(output);
        return 1;
    }
    static char buffer[1 << 20];
    setvbuf(out, buffer, _IOFBF, sizeof buffer);
    writer w(out, players, bots, team, chat, per_game, fresh, seed);
    long long limit = static_cast<long long>(size_mb * 1024 * 1024);
    long long written = 0;
    while (games > 0 ? written < games : w.bytes < limit) {
        w.game();
        ++written;
    }
    if (fclose(out) != 0) {
        perror(output);
        return 1;
    }
    printf("%s: %lld games, %lld bytes, %d distinct players\n", output, written, w.bytes, players);
    return 0;
}
