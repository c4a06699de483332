// The page primitives: head with inline or linked stylesheet, foot with and
// without the legend, tables, cells and paragraphs, and the helpers the pages
// share (time formats, team letters, the player filter, sort words).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/outfile.h"
#include "app/settings.h"
#include "html/primitives.h"
#include "page_expect.h"
#include "total/player.h"
#include "total/player_total.h"

using namespace pagetest;

namespace {

class PagePrimitives : public ScratchFolder {
protected:
    // Writes through `write` into a fresh file and returns what landed in it.
    std::string written(const std::function<void(outfile&)>& write) {
        outfile out;
        out.open("fragment.htm");
        write(out);
        out.close();
        return read_raw("fragment.htm");
    }
    settings_t settings;
};

TEST_F(PagePrimitives, InlineStylesheetHeadWithDefaultAndOwnFontSizes) {
    EXPECT_EQ(written([&](outfile& out) { html_page_head(out, settings); }),
              "<html>\r\n<head>\r\n<title>VEXO results</title>\r\n"
              "<style>\r\n<!--\r\n"
              ".text { color: #FFFFFF; font-family: Arial; font-size: 10pt; text-align: center }\r\n"
              ".title { color: #FFFFFF; font-family: Arial; font-size: 12pt; text-align: center; "
              "font-weight: bold }\r\n"
              "table td { color: #FFFFFF; font-family: Arial; font-size: 10pt }\r\n"
              "table th { color: #FFFFFF; font-family: Arial; font-size: 10pt }\r\n"
              "-->\r\n</style>\r\n"
              "</head>\r\n"
              "<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF "
              "alink=#FFFFFF>\r\n");

    // The sizes are the settings' texts, inserted unchecked.
    copy_field(settings.font_size_title, sizeof settings.font_size_title, "18");
    copy_field(settings.font_size_text, sizeof settings.font_size_text, "x9");
    settings.in_subfolder = true;  // no say over the inline style
    EXPECT_EQ(written([&](outfile& out) { html_page_head(out, settings); }),
              head_start() + inline_style("18", "x9") + "</head>\r\n" + body_tag());
}

TEST_F(PagePrimitives, LinkedStylesheetHeadFollowsTheFolderOfThePage) {
    settings.stylesheet_file = true;
    EXPECT_EQ(written([&](outfile& out) { html_page_head(out, settings); }),
              "<html>\r\n<head>\r\n<title>VEXO results</title>\r\n"
              "<LINK REL=StyleSheet HREF=\"vexo.css\" TYPE=\"text/css\"></head>\r\n" +
                  body_tag());
    settings.in_subfolder = true;
    EXPECT_EQ(written([&](outfile& out) { html_page_head(out, settings); }),
              "<html>\r\n<head>\r\n<title>VEXO results</title>\r\n"
              "<LINK REL=StyleSheet HREF=\"../vexo.css\" TYPE=\"text/css\"></head>\r\n" +
                  body_tag());
}

TEST_F(PagePrimitives, FootWithAndWithoutLegend) {
    const std::string credit = std::string("<p><a href=\"") + VEXO_HOME_URL + "\">" +
                               "<font color=#FF0000>VEXO</font></a> build 056, 2000-10-07 by " +
                               "<a href=\"mailto:" + VEXO_CONTACT + "\"><font color=#FFFFFF>" +
                               VEXO_AUTHOR + "</font></a></p>\r\n</body>\r\n</html>";
    EXPECT_EQ(written([](outfile& out) { html_page_foot(out, false); }), credit);

    const std::string legend_text =
        "<p><b>Ratio</b> is calculated as (FPM - DPM)"
        "<br><b>Eff</b> is calculated as (100 * kills / (kills + total deaths))"
        "<br><b>Skill</b> is calculated as (kills / (total deaths + 1))"
        "<br><b>MKIOL</b> means \"Most Kills In One Life\""
        "<br><b>Suicides</b> - if you kill yourself with your own weapons"
        "<br><b>Deaths</b> - if you drown, fall, melt to death etc."
        "<br><b>T.deaths</b> is total deaths (killed + suicides + deaths)"
        "<br><b>FPM</b> is Frags Per Minute"
        "<br><b>DPM</b> is total Deaths Per Minute</p>";
    EXPECT_EQ(written([](outfile& out) { html_legend(out); }), legend_text);
    EXPECT_EQ(written([](outfile& out) { html_page_foot(out, true); }), legend_text + credit);

    // The credit is the project's own: neither empty nor a placeholder.
    EXPECT_NE(std::string(VEXO_HOME_URL), "");
    EXPECT_NE(std::string(VEXO_CONTACT), "");
    EXPECT_NE(std::string(VEXO_AUTHOR), "");
}

TEST_F(PagePrimitives, TablesCellsAndParagraphs) {
    const std::string text = written([](outfile& out) {
        html_table_open(out, "border=1 cellspacing=0");
        html_set_cell_attributes("bgcolor=#000080");
        html_head_cell(out, "%s", "Map");
        html_cell(out, "<p align=right>%i</p>", 15);  // attributes stay until set anew
        html_set_cell_attributes("");
        html_cell(out, "%i %%", 33);
        html_head_cell(out, "-");
        html_table_close(out);
        html_paragraph(out, "<b>%s</b>", "Game info");
        html_p_open(out);
        html_p_close(out);
    });
    EXPECT_EQ(text,
              "\r\n<table border=1 cellspacing=0>\r\n"
              "<th bgcolor=#000080>Map</th>\r\n"
              "<td bgcolor=#000080><p align=right>15</p></td>\r\n"
              "<td >33 %</td>\r\n"
              "<th >-</th>\r\n"
              "</table>\r\n"
              "<p><b>Game info</b></p>"
              "<p></p>");
}

TEST_F(PagePrimitives, CellTextsAreNotCut) {
    // A fully coloured 64-character name is far above the classic 1023 characters.
    std::string name;
    for (int i = 0; i < 64; i++) name += "<font color=\"red\">x</font>";
    const std::string text = written([&](outfile& out) {
        html_set_cell_attributes("align=left");
        html_cell(out, "<b>%s</b>", name.c_str());
        html_paragraph(out, "%s", name.c_str());
    });
    EXPECT_EQ(text, "<td align=left><b>" + name + "</b></td>\r\n<p>" + name + "</p>");
}

TEST_F(PagePrimitives, TimeStampHasTheFixedTwentyFourCharacterForm) {
    const std::string text = written([](outfile& out) { html_timestamp(out); });
    EXPECT_EQ(mask_timestamps(text), stamp()) << text;
}

TEST(PageHelpers, TimeFormats) {
    struct row {
        int seconds;
        const char* hms;
        const char* hm;
        const char* min_sec;
        int hours, minutes, secs;
    };
    const row rows[] = {
        {59, "00:00:59 h", "00:00 h", "0:59 min", 0, 0, 59},
        {0, "00:00:00 h", "00:00 h", "0:00 min", 0, 0, 0},
        {3725, "01:02:05 h", "01:02 h", "62:05 min", 1, 2, 5},
        {36000, "10:00:00 h", "10:00 h", "600:00 min", 10, 0, 0},
        {3599, "00:59:59 h", "00:59 h", "59:59 min", 0, 59, 59},  // minutes are dropped, not rounded
        {400000, "111:06:40 h", "111:06 h", "6666:40 min", 111, 6, 40},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.seconds);
        EXPECT_EQ(format_hms(r.seconds), r.hms);
        EXPECT_EQ(format_hm(r.seconds), r.hm);
        EXPECT_EQ(format_min_sec(r.seconds), r.min_sec);
        EXPECT_EQ(time_hours(r.seconds), r.hours);
        EXPECT_EQ(time_minutes(r.seconds), r.minutes);
        EXPECT_EQ(time_seconds(r.seconds), r.secs);
    }
}

TEST(PageHelpers, TeamLettersCollapseTheHistoryInPlace) {
    const std::string red = "<font color=red>R</font>";
    const std::string blue = "<font color=blue>B</font>";

    std::string history("\1\1\2\2\1\3");
    EXPECT_EQ(team_letters(history), red + blue + red + "S");
    EXPECT_EQ(history, std::string("\1\2\1\3"));

    std::string none;
    EXPECT_EQ(team_letters(none), "");
    EXPECT_EQ(none, "");

    // Team -1 is stored as byte 255: it adds no letter but still breaks a run.
    std::string odd("\2\xff\xff\2");
    EXPECT_EQ(team_letters(odd), blue + blue);
    EXPECT_EQ(odd, std::string("\2\xff\2"));

    // Forty changes and more come out whole.
    std::string long_history;
    std::string expected;
    for (int i = 0; i < 60; i++) {
        long_history += (i % 2) ? '\2' : '\1';
        expected += (i % 2) ? blue : red;
    }
    EXPECT_EQ(team_letters(long_history), expected);
}

TEST(PageHelpers, PlayerFilterBoundaries) {
    settings_t s;
    player_total_t p("P", 1);
    player_t slot;
    slot.kills[0] = 4;
    p.add_weapons(slot);
    p.games = 1;
    p.playtime = 59;

    s.min_kills = 5;
    s.min_games = 2;
    s.min_playtime = 60;
    s.max_players = 1;
    EXPECT_FALSE(player_excluded(s, p)) << "limits apply only once a filter was given";

    s.filters_given = true;
    struct row {
        uint32_t min_kills, min_games, min_playtime;
        bool excluded;
    };
    const row rows[] = {
        {5, 0, 0, true},    // 4 kills below 5
        {4, 0, 0, false},   // 4 kills reach 4
        {0, 0, 0, false},   // 0 means no limit
        {0, 2, 0, true},    // 1 game below 2
        {0, 1, 0, false},
        {0, 0, 60, true},   // 59 s below 60 s
        {0, 0, 59, false},
        {4, 1, 59, false},  // all met
        {4, 1, 61, true},   // one missed is enough
    };
    for (const row& r : rows) {
        s.min_kills = r.min_kills;
        s.min_games = r.min_games;
        s.min_playtime = r.min_playtime;
        EXPECT_EQ(player_excluded(s, p), r.excluded)
            << r.min_kills << " " << r.min_games << " " << r.min_playtime;
    }

    // Compared as unsigned 32-bit numbers: a limit above 2^31 excludes everyone.
    s.min_kills = 0;
    s.min_games = 0;
    s.min_playtime = 3000000000u;
    p.playtime = 2999999999u;
    EXPECT_TRUE(player_excluded(s, p));
    p.playtime = 3000000000u;
    EXPECT_FALSE(player_excluded(s, p));
}

TEST(PageHelpers, SortWordsRatioTextAndEscaping) {
    const char* const words[] = {"team",  "ratio", "eff",  "skill", "kills",
                                 "killed", "name", "frags", "score", "playtime"};
    for (int order = 0; order < 10; order++) EXPECT_STREQ(sort_order_name(order), words[order]);

    EXPECT_EQ(ratio_text(-9999.0), "ERR");
    EXPECT_EQ(ratio_text(-9998.9995), "ERR");
    EXPECT_EQ(ratio_text(-9999.0009), "ERR");
    EXPECT_EQ(ratio_text(-9998.99), "-9998.99");
    EXPECT_EQ(ratio_text(0.0), "0.00");
    EXPECT_EQ(ratio_text(-0.6), "-0.60");
    EXPECT_EQ(ratio_text(2.0 / 3.0), "0.67");

    EXPECT_EQ(html_escape("dm<7>&b"), "dm&lt;7&gt;&amp;b");
    EXPECT_EQ(html_escape("plain"), "plain");
    EXPECT_EQ(html_escape(""), "");
}

}  // namespace
