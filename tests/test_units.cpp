// Tables of the small rules below the pages: numbers and time stamps of log
// lines, the tokenizer, the line reader, colour-coded names, file-name
// patterns, the command line and the configuration file.
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <tuple>

#include "app/config_file.h"
#include "app/settings.h"
#include "harness.h"
#include "parse/analyzelog.h"
#include "parse/funname.h"
#include "parse/numbers.h"
#include "platform/platform.h"

namespace {

using namespace harness;

std::string printed(const std::function<void()>& f) {
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TEST(Numbers, ReadIntReadsLikeAtoiAndSaturates) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {"  -7x", -7}, {"+5", 5}, {"22:", 22}, {"", 0}, {"abc", 0}, {"- 3", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"4294967306", INT_MAX},
        {"99999999999999999999999999", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN},
        {"0000000000000000000000012", 12}};
    for (const auto& c : cases) EXPECT_EQ(diverse::read_int(c.first), c.second) << c.first;
}

TEST(Numbers, TimeStampsAreMinutesAndSeconds) {
    analyzelog parser(nullptr, nullptr, nullptr, nullptr);
    const std::pair<const char*, int> cases[] = {
        {"12:34", 754}, {"0:00", 0}, {"17", 1020}, {"", 0}, {":30", 0}, {"  5:07", 307}, {"1:5x", 65},
        {"x1:05", 0}, {"-1:30", -30}, {"1234:56", 74096}, {"99999999999:99999999999", INT_MAX},
        {"-99999999:-99", INT_MIN}, {"35791394:59", INT_MAX}};
    for (const auto& c : cases) {
        EXPECT_EQ(parser.read_time(c.first), c.second) << c.first;
        EXPECT_EQ(parser.last_time, c.second) << c.first;
    }
}

// A line cut into tokens: the first with first_token, the others with
// next_token, each with its own separator.
TEST(Tokenizer, CutsLinesIntoTokens) {
    const struct {
        const char* line;
        std::vector<std::pair<char, std::string>> steps;
    } cases[] = {
        // Padded minutes, event word, numbers; a colon stays in its token.
        {"  12:34 Kill: 7 3 22: Ann killed Bob\n", {{' ', "12:34"}, {' ', "Kill:"}, {' ', "7"}, {' ', "3"}, {' ', "22:"}}},
        // Two backslashes in a row: the empty field between them vanishes.
        {"n\\Bob\\\\t\\2\\model\\x\n", {{'\\', "n"}, {'\\', "Bob"}, {'\\', "t"}, {'\\', "2"}, {'\\', "model"}, {'\\', "x"}, {'\\', ""}}},
        // A chat text read after the speaker keeps the colon that ended the speaker.
        {"Ann^7: hello: there\r\n", {{':', "Ann^7"}, {'\n', ": hello: there"}, {'\n', ""}, {' ', ""}}},
        // Leading blanks are dropped, inner and trailing blanks kept.
        {"\\ key one \\  value two \r\n", {{'\\', "key one "}, {'\\', "value two "}, {'\\', ""}}},
        // A token that ended on another character leaves it to the next one.
        {"a:b c\n", {{':', "a"}, {' ', ":b"}, {' ', "c"}}},
        // After the line end every token is empty, whatever the separator.
        {"x y\n", {{' ', "x"}, {' ', "y"}, {' ', ""}, {'\\', ""}, {':', ""}, {'\n', ""}}},
        {"x\r\ny z", {{' ', "x"}, {'\n', ""}, {' ', ""}}},
        {"", {{' ', ""}, {'\n', ""}}},
        {"\\\\\\   \\", {{'\\', ""}, {' ', ""}}},
        // A token longer than its buffer is cut; the rest of it is passed over.
        {"xxxxxxxxxxxxxxxxxxxx y\n", {{' ', "xxxxxxxxxxxxxxx"}, {' ', "y"}}},
    };
    analyzelog parser(nullptr, nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        bool first = true;
        for (const auto& step : c.steps) {
            char out[16];
            std::memset(out, '#', sizeof out);
            if (first) parser.first_token(c.line, out, sizeof out, step.first);
            else parser.next_token(out, sizeof out, step.first);
            first = false;
            EXPECT_EQ(std::string(out), step.second) << c.line;
        }
    }
}

// Lines of any length arrive whole across the reader's blocks, a longer line
// in pieces of 2046 characters.
TEST(LogReader, LinesArriveWholeAcrossBlocks) {
    std::string log;
    for (int i = 0; i < 150000; i++) log += "line " + std::to_string(i) + (i % 3 ? "\n" : "\r\n");
    log += std::string(5000, 'x') + "\nlast";
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fwrite(log.data(), 1, log.size(), f);
    std::rewind(f);
    std::string read;
    {
        log_reader reader(f);
        char line[LOG_LINE_MAX];
        int pieces = 0;
        while (reader.read_line(line)) {
            EXPECT_LE(std::strlen(line), 2046u);
            read += line;
            pieces++;
        }
        EXPECT_EQ(pieces, 150000 + 3 + 1);
        EXPECT_EQ(reader.position(), static_cast<long long>(log.size()));
    }
    std::fclose(f);
    EXPECT_TRUE(read == log);
}

std::string font(const char* colour, const std::string& inner) {
    return std::string("<font color=\"") + colour + "\">" + inner + "</font>";
}

TEST(Names, HtmlPlainAndMatchedForms) {
    const struct {
        std::string raw, html, plain;
    } cases[] = {
        {"Bob", "Bob", "Bob"},
        {"", "", ""},
        {"^1A^4B", font("red", "A") + font("blue", "B"), "AB"},
        {"^0a^1b^2c^3d^4e^5f^6g^7h^8i^9j",
         font("black", "a") + font("red", "b") + font("lime", "c") + font("yellow", "d") + font("blue", "e") +
             font("cyan", "f") + font("purple", "g") + font("white", "h") + font("black", "i") + font("red", "j"),
         "abcdefghij"},
        // ^l and ^s are lime and white in HTML only; the plain form keeps them.
        {"^lX", font("lime", "X"), "^lX"},
        {"^sX", font("white", "X"), "^sX"},
        {"^LX", "^LX", "^LX"},
        {"a<b>&c\"d", "a&lt;b&gt;&amp;c\"d", "a&lt;b&gt;&amp;c\"d"},
        {"^1<&>", font("red", "&lt;&amp;&gt;"), "&lt;&amp;&gt;"},
        // A code at the end opens nothing; of several codes in a row the last counts.
        {"Bob^3", "Bob", "Bob"},
        {"^1Bob^", font("red", "Bob^"), "Bob^"},
        {"^1^2^3X", font("yellow", "X"), "X"},
        {"^", "^", "^"},
        {"^^1X", "^" + font("red", "X"), "^X"},
        // A lone caret is written at once; the colour starts with the next character.
        {"^1^xA", "^" + font("red", "xA"), "^xA"},
        {"^1a^1b", font("red", "a") + font("red", "b"), "ab"},
        {"\xe9t\xe9", "\xe9t\xe9", "\xe9t\xe9"},
        {std::string(64, '&'), [] { std::string s; for (int i = 0; i < 64; i++) s += "&amp;"; return s; }(),
         [] { std::string s; for (int i = 0; i < 64; i++) s += "&amp;"; return s; }()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(diverse::funname_to_html(c.raw.c_str()), c.html) << c.raw;
        EXPECT_EQ(diverse::funname_to_ascii(c.raw.c_str()), c.plain) << c.raw;
    }
    EXPECT_EQ(diverse::matched_name("^1Red^7Guy"), "redguy");
    EXPECT_EQ(diverse::matched_name("MiXeD^3CASE"), "mixedcase");
    EXPECT_EQ(diverse::matched_name("^lX"), "^lx");
    EXPECT_EQ(diverse::matched_name("\xC4Z&"), "\xC4z&amp;");
}

TEST(FileNames, StarAndQuestionMarkWithoutRegardToCase) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.log", "games.log", true},       {"*.LOG", "games.log", true},     {"*.log", "GAMES.LOG", true},
        {"GAMES.LOG", "games.log", true},   {"g?mes.log", "GAMES.log", true}, {"g?mes.log", "gmes.log", false},
        {"*", "anything", true},            {"*", "", true},                  {"?", "", false},
        {"a*b*c", "aXXbYYc", true},         {"a*b*c", "aXXbYY", false},       {"*.log", "games.log.bak", false},
        {"games.log", "games.lo", false},   {"games.lo", "games.log", false}, {"*log*", "server_LOG_1.txt", true},
        {"??", "ab", true},                 {"??", "abc", false},             {"*a", "bbba", true},
        {"[a].log", "a.log", false},        {"[a].log", "[A].LOG", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::wildcard_match(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}

// The settings an argument list changes, against the documented defaults
// (sort by ratio, 50 games a list file, vexo.cfg, everything else off).
std::string changed(const std::vector<std::string>& args) {
    std::vector<const char*> argv{"vexo"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    settings_t s;
    const std::string out = printed([&] { s.apply_command_line(static_cast<int>(argv.size()), argv.data()); });
    std::string t = out.empty() ? "" : "printed ";
    for (const auto& [on, word] : {std::pair<bool, const char*>{s.skip_bots, "b"}, {s.chat_log, "l"}, {s.data_file, "d"},
                                   {s.no_funnames, "f"}, {s.open_results, "a"}, {s.filters_given, "filters"}})
        if (on) t += std::string(word) + " ";
    const std::tuple<long long, long long, const char*> numbers[] = {
        {s.sort_order, SORT_RATIO, "o"}, {s.top_players, 0, "top"}, {s.games_per_file, 50, "g"}, {s.min_kills, 0, "mk"},
        {s.min_games, 0, "mg"}, {s.min_playtime, 0, "mp"}, {s.max_players, 0, "max"}};
    for (const auto& [value, by_default, word] : numbers)
        if (value != by_default) t += word + std::to_string(value) + " ";
    if (std::string(s.cfg_file) != "vexo.cfg") t += std::string("cfg:") + s.cfg_file + " ";
    for (const std::string& spec : s.log_specs) t += "log:" + spec + " ";
    return t.empty() ? t : t.substr(0, t.size() - 1);
}

TEST(CommandLine, ArgumentsAndTheSettingsTheyChange) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, ""},
        {{"games.log", "/b", "/oK", "/min_kills:5"}, "b filters o4 mk5 log:games.log"},
        {{"/ok"}, "o4"}, {{"/oC"}, "o8"}, {{"-on"}, "o6"}, {{"/oT"}, "o0"}, {{"/OP"}, "o9"}, {{"/oF"}, "o7"},
        {{"/oE", "/oX"}, "o2"}, {{"/oS", "/o"}, "o3"}, {{"/oR"}, ""},
        {{"/top5"}, "top5"}, {{"/top:5"}, ""}, {{"/G:20"}, "g20"}, {{"/g20"}, ""}, {{"/g"}, ""},
        {{"/cfg:My.Cfg"}, "cfg:My.Cfg"}, {{"/cfg"}, ""}, {{"/about"}, "a"}, {{"-L", "/d", "/F"}, "l d f"},
        {{"/min_games:3", "-MIN_PLAYTIME:600", "/max_players:-2"}, "filters mg3 mp600 max-2"},
        {{"/max_players:abc"}, "filters"}, {{"/min_kills: 7x"}, "filters mk7"},
        {{"first.log", "Second.Log"}, "log:first.log log:Second.Log"},
        {{"/x", "-", "/", "--", "/zzz:1"}, ""},
        // A path whose folder exists is a log file; otherwise it is an option.
        {{"/tmp/x.log", "/cfg:/etc/vexo.cfg"}, "cfg:/etc/vexo.cfg log:/tmp/x.log"},
        {{"/bad_folder/x.log"}, "b"},
        {{std::string(400, 'q')}, "log:" + std::string(255, 'q')},
    };
    for (const auto& c : cases) EXPECT_EQ(changed(c.first), c.second) << (c.first.empty() ? "" : c.first[0]);

    // A value below 1 for the games per list file is refused with a warning, on the first pass only.
    const char* const argv[] = {"vexo", "/g:7", "/g:-3"};
    settings_t s;
    EXPECT_EQ(printed([&] { s.apply_command_line(3, argv, true); }), "\nWARNING: games per file below 1 refused: -3");
    EXPECT_EQ(s.games_per_file, 7);
    EXPECT_EQ(printed([&] { s.apply_command_line(3, argv, false); }), "");
}

TEST(ConfigFile, KeysValuesCommentsAndEcho) {
    const std::string a300(300, 'a'), a236(236, 'a');
    // The fields after the read: output_directory|homepage_address|homepage_string|title|text.
    const std::string defaults = "||VEXO homepage|12|10";
    const struct {
        const char* what;
        std::string content, echo, fields;
    } cases[] = {
        {"only comments", ";output_directory \"stats\"\n;font_size_text \"8\"\n", "", defaults},
        {"usual form", "output_directory \"stats\"\n", "\n- output_directory     \"stats\"", "stats||VEXO homepage|12|10"},
        {"blank before the comment sign", " ;output_directory \"stats\"\n", "\n- output_directory     \"stats\"",
         "stats||VEXO homepage|12|10"},
        {"empty value", "output_directory \"\"\n", "\n- output_directory     \"\"", defaults},
        {"a value holding another key", "homepage_string \"see output_directory\"\n",
         "\n- output_directory     \"\"\n- homepage_string      \"see output_directory\"", "||see output_directory|12|10"},
        {"capitals are no keys", "OUTPUT_DIRECTORY \"stats\"\nFont_Size_Text \"8\"\n", "", defaults},
        {"the last occurrence counts", "font_size_text \"8\"\nfont_size_text \"9\"\n",
         "\n- font_size_text       \"8\"\n- font_size_text       \"9\"", "||VEXO homepage|12|9"},
        {"keys of one line echo in key order",
         "xx font_size_text \"9\" font_size_title \"14\" homepage_address \"http://example.org/\"\r\n",
         "\n- homepage_address     \"http://example.org/\"\n- font_size_title      \"14\"\n- font_size_text       \"9\"",
         "|http://example.org/|VEXO homepage|14|9"},
        {"a missing closing quote ends at the line end", "homepage_string \"Our clan\n",
         "\n- homepage_string      \"Our clan\"", "||Our clan|12|10"},
        {"a key without a quote", "font_size_title \"13\"\nfont_size_text 14",
         "\n- font_size_title      \"13\"\n- font_size_text       \"\"", "||VEXO homepage|13|"},
        {"a carriage return ends the value", "homepage_string \"va\rlue\"\n", "\n- homepage_string      \"va\"",
         "||va|12|10"},
        {"lines without keys", "\n\nsome words\n\"quoted\"\n", "", defaults},
        {"font sizes are cut to 15 characters", "font_size_title \"1234567890123456789\"\n",
         "\n- font_size_title      \"123456789012345\"", "||VEXO homepage|123456789012345|10"},
        // Lines are read in pieces of 254 characters: the key's piece keeps 236 letters.
        {"long lines", "homepage_address \"" + a300 + "\"\nfont_size_text \"11\"\n",
         "\n- homepage_address     \"" + a236 + "\"\n- font_size_text       \"11\"", "|" + a236 + "|VEXO homepage|12|11"},
    };
    scratch_dir dir;
    for (const auto& c : cases) {
        write_file(dir / "vexo.cfg", c.content);
        settings_t s;
        EXPECT_EQ(printed([&] { analyzedemo(&s).parse((dir / "vexo.cfg").c_str()); }), c.echo) << c.what;
        EXPECT_EQ(std::string(s.output_directory) + "|" + s.homepage_address + "|" + s.homepage_string + "|" +
                      s.font_size_title + "|" + s.font_size_text,
                  c.fields)
            << c.what;
    }
}

}  // namespace
