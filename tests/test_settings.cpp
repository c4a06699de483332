// Settings record and command line: defaults, the option table, how each
// argument form is applied, and the usage and settings texts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "run_control_texts.h"

namespace {

// Applies "vexo" followed by `args` to a fresh record.
settings_t applied(const std::vector<std::string>& args, bool report = false)
{
    std::vector<const char*> argv{"vexo"};
    for (const auto& a : args) argv.push_back(a.c_str());
    settings_t s;
    s.apply_command_line(static_cast<int>(argv.size()), argv.data(), report);
    return s;
}

std::string captured(const std::function<void()>& f)
{
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(Settings, DefaultsOfANewRecord)
{
    settings_t s;
    EXPECT_STREQ(s.log_file, "");
    EXPECT_STREQ(s.output_directory, "");
    EXPECT_STREQ(s.homepage_address, "");
    EXPECT_STREQ(s.homepage_string, "VEXO homepage");
    EXPECT_STREQ(s.font_size_title, "12");
    EXPECT_STREQ(s.font_size_text, "10");
    EXPECT_STREQ(s.cfg_file, "vexo.cfg");
    EXPECT_EQ(s.min_kills, 0u);
    EXPECT_EQ(s.min_games, 0u);
    EXPECT_EQ(s.min_playtime, 0u);
    EXPECT_EQ(s.max_players, 0);
    EXPECT_EQ(s.top_players, 0);
    EXPECT_EQ(s.games_per_file, 50);
    EXPECT_FALSE(s.filters_given || s.skip_bots || s.no_funnames || s.data_file ||
                 s.open_results || s.stylesheet_file || s.chat_log);
    EXPECT_EQ(s.sort_order, SORT_RATIO);
    EXPECT_TRUE(s.log_specs.empty());
}

TEST(Settings, ArgumentFormsAndTheirEffect)
{
    struct arg_case {
        std::vector<std::string> args;
        std::function<void(const settings_t&)> check;
    };
    const std::vector<arg_case> cases = {
        {{"games.log", "/b", "/oK", "/min_kills:5"},
         [](const settings_t& s) {
             EXPECT_STREQ(s.log_file, "GAMES.LOG");
             EXPECT_TRUE(s.skip_bots);
             EXPECT_EQ(s.sort_order, SORT_KILLS);
             EXPECT_EQ(s.min_kills, 5u);
             EXPECT_TRUE(s.filters_given);
         }},
        {{"/ok"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_KILLS); }},
        {{"/oC"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_SCORE); }},
        {{"-on"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_NAME); }},
        {{"/oT"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_TEAM); }},
        {{"/OP"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_PLAYTIME); }},
        {{"/oF"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_FRAGS); }},
        {{"/oE", "/oX"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_EFF); }},
        {{"/oS", "/o"}, [](const settings_t& s) { EXPECT_EQ(s.sort_order, SORT_SKILL); }},
        {{"/top5"}, [](const settings_t& s) { EXPECT_EQ(s.top_players, 5); }},
        {{"/top:5"}, [](const settings_t& s) { EXPECT_EQ(s.top_players, 0); }},
        {{"/G:20"}, [](const settings_t& s) { EXPECT_EQ(s.games_per_file, 20); }},
        {{"/g20"}, [](const settings_t& s) { EXPECT_EQ(s.games_per_file, 50); }},
        {{"/g"}, [](const settings_t& s) { EXPECT_EQ(s.games_per_file, 50); }},
        {{"/cfg:My.Cfg"}, [](const settings_t& s) { EXPECT_STREQ(s.cfg_file, "My.Cfg"); }},
        {{"/cfg"}, [](const settings_t& s) { EXPECT_STREQ(s.cfg_file, "vexo.cfg"); }},
        {{"/about"}, [](const settings_t& s) { EXPECT_TRUE(s.open_results); }},
        {{"-L", "/d", "/F"},
         [](const settings_t& s) {
             EXPECT_TRUE(s.chat_log);
             EXPECT_TRUE(s.data_file);
             EXPECT_TRUE(s.no_funnames);
         }},
        {{"/min_games:3", "-MIN_PLAYTIME:600", "/max_players:-2"},
         [](const settings_t& s) {
             EXPECT_EQ(s.min_games, 3u);
             EXPECT_EQ(s.min_playtime, 600u);
             EXPECT_EQ(s.max_players, -2);
             EXPECT_TRUE(s.filters_given);
         }},
        {{"/max_players:abc"},
         [](const settings_t& s) {
             EXPECT_EQ(s.max_players, 0);
             EXPECT_TRUE(s.filters_given);
         }},
        {{"/min_kills: 7x"}, [](const settings_t& s) { EXPECT_EQ(s.min_kills, 7u); }},
        {{"first.log", "Second.Log"},
         [](const settings_t& s) {
             EXPECT_STREQ(s.log_file, "SECOND.LOG");
             ASSERT_EQ(s.log_specs.size(), 2u);
             EXPECT_EQ(s.log_specs[0], "first.log");
             EXPECT_EQ(s.log_specs[1], "Second.Log");
         }},
        {{"/x", "-", "/", "--", "/zzz:1"},
         [](const settings_t& s) {
             settings_t fresh;
             EXPECT_STREQ(s.log_file, "");
             EXPECT_TRUE(s.log_specs.empty());
             EXPECT_EQ(s.sort_order, fresh.sort_order);
             EXPECT_FALSE(s.open_results || s.skip_bots || s.chat_log || s.data_file ||
                          s.no_funnames || s.filters_given);
             EXPECT_EQ(s.games_per_file, 50);
         }},
    };
    for (const auto& c : cases) {
        std::string label;
        for (const auto& a : c.args) label += a + " ";
        SCOPED_TRACE(label);
        std::string out = captured([&] { c.check(applied(c.args)); });
        EXPECT_EQ(out, "");
    }
}

TEST(Settings, FindOptionFollowsTheTableOrder)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"a", 0},          {"about", 0},    {"B", 1},       {"l", 2},      {"d", 3},
        {"f", 4},          {"oK", 5},       {"o", 5},       {"cfg:x", 6},  {"CFG:", 6},
        {"g:1", 7},        {"min_kills:", 8}, {"MIN_GAMES:2", 9}, {"min_playtime:3", 10},
        {"max_players:4", 11}, {"top", 12}, {"TOP10", 12},  {"", -1},      {"g", -1},
        {"cfg", -1},       {"min_kills", -1}, {"x", -1},    {"?", -1},     {"to", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(settings_t::find_option(c.first), c.second) << c.first;
}

TEST(Settings, GamesPerFileBelowOneIsRefusedOnTheFirstPassOnly)
{
    std::string out = captured([] {
        settings_t s = applied({"/g:0"}, true);
        EXPECT_EQ(s.games_per_file, 50);
    });
    EXPECT_EQ(out, "\nWARNING: games per file below 1 refused: 0");

    out = captured([] {
        settings_t s = applied({"/g:7", "/g:-3"}, true);
        EXPECT_EQ(s.games_per_file, 7);  // an earlier valid value stays
    });
    EXPECT_EQ(out, "\nWARNING: games per file below 1 refused: -3");

    out = captured([] { EXPECT_EQ(applied({"/g:0"}, false).games_per_file, 50); });
    EXPECT_EQ(out, "");
}

TEST(Settings, OverlongArgumentsAreCutToTheirFields)
{
    const std::string long_name(400, 'q');
    settings_t s = applied({long_name, "/cfg:" + long_name});
    EXPECT_EQ(std::string(s.log_file), std::string(255, 'Q'));
    ASSERT_EQ(s.log_specs.size(), 1u);
    EXPECT_EQ(s.log_specs[0], std::string(255, 'q'));
    // Cut either with the argument (255 characters) or in the field: never beyond it.
    EXPECT_GE(std::string(s.cfg_file).size(), 250u);
    EXPECT_LE(std::string(s.cfg_file).size(), 255u);
    EXPECT_EQ(std::string(s.cfg_file).find_first_not_of('q'), std::string::npos);

    char field[8];
    copy_field(field, sizeof field, "abcdefghijk");
    EXPECT_STREQ(field, "abcdefg");
    copy_field(field, sizeof field, "abc");
    EXPECT_STREQ(field, "abc");
}

TEST(Settings, AnArgumentThatNamesAPathInAnExistingFolderIsALogFile)
{
    char tmpl[] = "/tmp/vexo_settings_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string log = dir + "/games.log";  // need not exist: it is a specification
    settings_t s = applied({log, "/b", "/min_kills:5", "/cfg:/etc/vexo.cfg", "/bad_folder/x.log"});
    ASSERT_EQ(s.log_specs.size(), 1u);
    EXPECT_EQ(s.log_specs[0], log);
    EXPECT_TRUE(s.skip_bots);
    EXPECT_EQ(s.min_kills, 5u);
    EXPECT_STREQ(s.cfg_file, "/etc/vexo.cfg");

    // A path whose folder is missing stays an option: "/bad_folder/x.log" is /b.
    settings_t t = applied({"/bad_folder/x.log"});
    EXPECT_TRUE(t.skip_bots);
    EXPECT_TRUE(t.log_specs.empty());
    std::filesystem::remove_all(dir);
}

TEST(Settings, UsageTextAndOptionNames)
{
    EXPECT_EQ(captured([] { settings_t::print_usage(); }), run_texts::usage_text());
    EXPECT_EQ(captured([] { settings_t::print_option_names(6); }), "cfg:");
    EXPECT_EQ(captured([] { settings_t::print_option_names(12); }), "top");
}

TEST(Settings, CurrentSettingsBlock)
{
    EXPECT_EQ(captured([] { settings_t().print(); }), run_texts::settings_block({}));

    run_texts::block_values v;
    v.skip_bots = v.chat_log = v.no_funnames = v.data_file = true;
    v.max_players = 30;
    v.top_players = 10;
    v.min_kills = 5;
    v.min_games = 2;
    v.min_playtime = 600;
    v.order = "by playtime";
    std::string out = captured([] {
        applied({"/b", "/l", "/f", "/d", "/max_players:30", "/top10", "/min_kills:5",
                 "/min_games:2", "/min_playtime:600", "/oP", "/g:7", "/a", "/cfg:x.cfg"})
            .print();
    });
    EXPECT_EQ(out, run_texts::settings_block(v));

    const std::vector<std::pair<const char*, const char*>> orders = {
        {"/oT", "by team"}, {"/oR", "by ratio"}, {"/oE", "by eff"},   {"/oS", "by skill"},
        {"/oK", "by kills"}, {"/oN", "by name"}, {"/oF", "by frags"}, {"/oC", "by score"}};
    for (const auto& o : orders) {
        run_texts::block_values w;
        w.order = o.second;
        EXPECT_EQ(captured([&] { applied({o.first}).print(); }), run_texts::settings_block(w))
            << o.first;
    }
}
