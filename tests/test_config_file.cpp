// The configuration file vexo.cfg: keys, values, comments, echo lines and
// fields that are cut.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/settings.h"

namespace {

class ConfigFile : public testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexo_cfg_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Writes `content` as the configuration file, reads it into `s` and
    // returns what the reader printed.
    std::string parse(const std::string& content, settings_t& s)
    {
        const std::string path = dir + "/vexo.cfg";
        std::ofstream(path, std::ios::binary) << content;
        testing::internal::CaptureStdout();
        analyzedemo(&s).parse(path.c_str());
        std::fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    std::string dir;
};

struct cfg_case {
    const char* what;
    std::string content;
    std::string echo;
    // expected fields after the read
    std::string output_directory, homepage_address, homepage_string, title, text;
};

}  // namespace

TEST_F(ConfigFile, LinesKeysAndEcho)
{
    settings_t d;  // defaults
    const std::string od = d.output_directory, ha = d.homepage_address, hs = d.homepage_string;
    const std::vector<cfg_case> cases = {
        {"only comments", ";output_directory \"stats\"\n;font_size_text \"8\"\n", "", od, ha, hs,
         "12", "10"},
        {"usual form", "output_directory \"stats\"\n", "\n- output_directory     \"stats\"",
         "stats", ha, hs, "12", "10"},
        {"blank before the comment sign", " ;output_directory \"stats\"\n",
         "\n- output_directory     \"stats\"", "stats", ha, hs, "12", "10"},
        {"empty value", "output_directory \"\"\n", "\n- output_directory     \"\"", "", ha, hs,
         "12", "10"},
        {"homepage_string value holding another key",
         "homepage_string \"see output_directory\"\n",
         "\n- output_directory     \"\"\n- homepage_string      \"see output_directory\"", "", ha,
         "see output_directory", "12", "10"},
        {"capitals are not keys", "OUTPUT_DIRECTORY \"stats\"\nFont_Size_Text \"8\"\n", "", od, ha,
         hs, "12", "10"},
        {"last occurrence wins", "font_size_text \"8\"\nfont_size_text \"9\"\n",
         "\n- font_size_text       \"8\"\n- font_size_text       \"9\"", od, ha, hs, "12", "9"},
        {"keys of one line echo in key order",
         "xx font_size_text \"9\" font_size_title \"14\" homepage_address \"http://example.org/\"\r\n",
         "\n- homepage_address     \"http://example.org/\"\n- font_size_title      \"14\""
         "\n- font_size_text       \"9\"",
         od, "http://example.org/", hs, "14", "9"},
        {"missing closing quote ends at the line end", "homepage_string \"Our clan\n",
         "\n- homepage_string      \"Our clan\"", od, ha, "Our clan", "12", "10"},
        {"key without delimiter, line end", "font_size_title 14\n",
         "\n- font_size_title      \"\"", od, ha, hs, "", "10"},
        {"key without delimiter, last line", "font_size_title \"13\"\nfont_size_text 14",
         "\n- font_size_title      \"13\"\n- font_size_text       \"\"", od, ha, hs, "13", ""},
        {"lines without keys", "\n\nsome words\n\"quoted\"\n", "", od, ha, hs, "12", "10"},
        {"font size cut to 15 characters", "font_size_title \"1234567890123456789\"\n",
         "\n- font_size_title      \"123456789012345\"", od, ha, hs, "123456789012345", "10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings_t s;
        EXPECT_EQ(parse(c.content, s), c.echo);
        EXPECT_EQ(s.output_directory, c.output_directory);
        EXPECT_EQ(s.homepage_address, c.homepage_address);
        EXPECT_EQ(s.homepage_string, c.homepage_string);
        EXPECT_EQ(s.font_size_title, c.title);
        EXPECT_EQ(s.font_size_text, c.text);
    }
}

TEST_F(ConfigFile, LongLinesArriveIn254CharacterPieces)
{
    // The first piece holds the key, the opening quote and 236 letters; the
    // rest of the line is a piece of its own without a key.
    settings_t s;
    const std::string value(300, 'a');
    std::string out = parse("homepage_address \"" + value + "\"\nfont_size_text \"11\"\n", s);
    EXPECT_EQ(std::string(s.homepage_address), std::string(236, 'a'));
    EXPECT_EQ(out, "\n- homepage_address     \"" + std::string(236, 'a') +
                       "\"\n- font_size_text       \"11\"");
    EXPECT_STREQ(s.font_size_text, "11");
}

TEST_F(ConfigFile, MissingFileKeepsTheDefaults)
{
    settings_t s;
    std::strcpy(s.output_directory, "kept");
    testing::internal::CaptureStdout();
    analyzedemo(&s).parse((dir + "/absent.cfg").c_str());
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nNo CFG found, using default values\n");
    EXPECT_STREQ(s.output_directory, "kept");
    EXPECT_STREQ(s.homepage_string, "VEXO homepage");
}

TEST(ConfigValue, DelimiterRule)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {" \"stats\"", "stats"},   {" \"stats\" trailing \"x\"", "stats"},
        {" \"stats", "stats"},     {" \"a b c\"\r\n", "a b c"},
        {" \"\"", ""},             {" 14\n", ""},
        {" 14", ""},               {"", ""},
        {"=\"x\"\"y\"", "x"},      {"\"\n", ""},
        {" \"va\rlue\"", "va"},
    };
    for (const auto& c : cases) EXPECT_EQ(analyzedemo::read_value(c.first), c.second) << c.first;
}
