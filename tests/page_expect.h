// Shared helpers of the page tests: a scratch results folder per test, reading
// a written page back with its time stamps masked, and the fixed fragments
// (head, foot, cells) from which the expected pages are assembled.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/settings.h"
#include "game/resultdata.h"

namespace pagetest {

// Every test runs in a fresh temporary folder, which is the results folder
// of the page writers; the previous folder is restored afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous = here;
        char pattern[] = "/tmp/vexo_pages_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(previous.c_str()), 0);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    std::string previous;
};

// A client that connects and sends its first user info at `time`.
inline void join(resultdata& game, int client, const char* name, int bot_skill, int team, int time) {
    game.client_connect(client, time);
    game.client_userinfo(client, name, bot_skill, team, time);
}

// Kills `count` times at the given time.
inline void kill(resultdata& game, int killer, int victim, int weapon, int time, int count = 1) {
    for (int i = 0; i < count; i++) game.add_kill(killer, victim, weapon, time);
}

inline bool file_exists(const std::string& path) {
    return std::filesystem::exists(path);
}

inline std::string read_raw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text put in place of each well-formed time stamp.
inline const char* const MASK = "<date>";

// True when `t` has the fixed form "Sun Dec 06 20:00:24 2026".
inline bool is_timestamp(const std::string& t) {
    static const std::string days = "SunMonTueWedThuFriSat";
    static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    auto one_of = [](const std::string& names, const std::string& name) {
        for (size_t i = 0; i + 3 <= names.size(); i += 3)
            if (names.compare(i, 3, name) == 0) return true;
        return false;
    };
    const std::string shape = "www mmm 00 00:00:00 0000";  // 0: a digit
    if (t.size() != shape.size()) return false;
    for (size_t i = 0; i < shape.size(); i++) {
        if (shape[i] == '0' && !(t[i] >= '0' && t[i] <= '9')) return false;
        if ((shape[i] == ' ' || shape[i] == ':') && t[i] != shape[i]) return false;
    }
    return one_of(days, t.substr(0, 3)) && one_of(months, t.substr(4, 3)) && t[8] <= '3' &&
           t[11] <= '2' && t[14] <= '5' && t[17] <= '6';
}

// Replaces the 24 characters of every time stamp "<p class=text>[...\n]" by
// MASK when they have the fixed form; a stamp of any other form stays as
// written, so the comparison shows it.
inline std::string mask_timestamps(std::string page) {
    const std::string open = "<p class=text>[";
    size_t at = 0;
    while ((at = page.find(open, at)) != std::string::npos) {
        const size_t start = at + open.size();
        if (page.size() >= start + 26 && page.compare(start + 24, 2, "\n]") == 0 &&
            is_timestamp(page.substr(start, 24))) {
            page.replace(start, 24, MASK);
        }
        at = start;
    }
    return page;
}

inline std::string read_page(const std::string& path) {
    return mask_timestamps(read_raw(path));
}

// The time stamp paragraph as it reads after masking.
inline std::string stamp() {
    return std::string("<p class=text>[") + MASK + "\n]</p>\r\n";
}

inline std::string head_start() {
    return "<html>\r\n<head>\r\n<title>VEXO results</title>\r\n";
}

inline std::string body_tag() {
    return "<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF "
           "alink=#FFFFFF>\r\n";
}

inline std::string inline_style(const std::string& title_pt = "12", const std::string& text_pt = "10") {
    return "<style>\r\n<!--\r\n"
           ".text { color: #FFFFFF; font-family: Arial; font-size: " + text_pt +
           "pt; text-align: center }\r\n"
           ".title { color: #FFFFFF; font-family: Arial; font-size: " + title_pt +
           "pt; text-align: center; font-weight: bold }\r\n"
           "table td { color: #FFFFFF; font-family: Arial; font-size: " + text_pt + "pt }\r\n"
           "table th { color: #FFFFFF; font-family: Arial; font-size: " + text_pt + "pt }\r\n"
           "-->\r\n</style>\r\n";
}

// Page head with the default inline style.
inline std::string head() {
    return head_start() + inline_style() + "</head>\r\n" + body_tag();
}

// Page head linking the stylesheet file; `up` for pages one folder below.
inline std::string linked_head(bool up) {
    return head_start() + "<LINK REL=StyleSheet HREF=\"" + (up ? "../" : "") +
           "vexo.css\" TYPE=\"text/css\">" + "</head>\r\n" + body_tag();
}

inline std::string legend() {
    return std::string("<p>") +
           "<b>Ratio</b> is calculated as (FPM - DPM)" +
           "<br><b>Eff</b> is calculated as (100 * kills / (kills + total deaths))" +
           "<br><b>Skill</b> is calculated as (kills / (total deaths + 1))" +
           "<br><b>MKIOL</b> means \"Most Kills In One Life\"" +
           "<br><b>Suicides</b> - if you kill yourself with your own weapons" +
           "<br><b>Deaths</b> - if you drown, fall, melt to death etc." +
           "<br><b>T.deaths</b> is total deaths (killed + suicides + deaths)" +
           "<br><b>FPM</b> is Frags Per Minute" +
           "<br><b>DPM</b> is total Deaths Per Minute" +
           "</p>";
}

inline std::string foot(bool with_legend) {
    return (with_legend ? legend() : std::string()) +
           "<p>" +
           "<a href=\"" + VEXO_HOME_URL + "\">" +
           "<font color=#FF0000>VEXO</font></a> build 056, 2000-10-07" +
           " by <a href=\"mailto:" + VEXO_CONTACT + "\"><font color=#FFFFFF>" + VEXO_AUTHOR +
           "</font></a>" +
           "</p>" + "\r\n</body>" + "\r\n</html>";
}

inline std::string table_open(const std::string& attributes) {
    return "\r\n<table " + attributes + ">\r\n";
}
inline std::string table_close() { return "</table>\r\n"; }

inline std::string th(const std::string& attributes, const std::string& text) {
    return "<th " + attributes + ">" + text + "</th>\r\n";
}
inline std::string td(const std::string& attributes, const std::string& text) {
    return "<td " + attributes + ">" + text + "</td>\r\n";
}
inline std::string para(const std::string& text) { return "<p>" + text + "</p>"; }

// The position of the first difference, to make a failed page comparison
// readable (gtest prints both texts in full as well).
inline std::string first_difference(const std::string& expected, const std::string& actual) {
    size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) i++;
    auto around = [i](const std::string& s) {
        const size_t from = i > 60 ? i - 60 : 0;
        return s.substr(from, 140);
    };
    return "first difference at byte " + std::to_string(i) + "\nexpected: ..." + around(expected) +
           "\nactual:   ..." + around(actual);
}

#define EXPECT_PAGE(expected, actual)                                                  \
    do {                                                                               \
        const std::string expected_page_ = (expected);                                 \
        const std::string actual_page_ = (actual);                                     \
        EXPECT_TRUE(expected_page_ == actual_page_)                                    \
            << pagetest::first_difference(expected_page_, actual_page_);               \
    } while (0)

}  // namespace pagetest
