// Colour-coded names: the HTML form, the plain form and the matching key.
#include <gtest/gtest.h>

#include <string>

#include "parse/funname.h"

namespace {

std::string font(const char* colour, const std::string& inner) {
    return std::string("<font color=\"") + colour + "\">" + inner + "</font>";
}

struct name_case {
    const char* raw;
    std::string html;
    std::string plain;
};

const name_case name_cases[] = {
    {"Bob", "Bob", "Bob"},
    {"", "", ""},
    {"^1Bob", font("red", "Bob"), "Bob"},
    {"^1A^4B", font("red", "A") + font("blue", "B"), "AB"},
    {"^0a^1b^2c^3d^4e^5f^6g^7h^8i^9j",
     font("black", "a") + font("red", "b") + font("lime", "c") + font("yellow", "d") +
         font("blue", "e") + font("cyan", "f") + font("purple", "g") + font("white", "h") +
         font("black", "i") + font("red", "j"),
     "abcdefghij"},
    // ^l and ^s are lime and white in HTML only; the plain form keeps them.
    {"^lX", font("lime", "X"), "^lX"},
    {"^sX", font("white", "X"), "^sX"},
    {"^LX", "^LX", "^LX"},
    {"^xY", "^xY", "^xY"},
    {"a<b>&c\"d", "a&lt;b&gt;&amp;c\"d", "a&lt;b&gt;&amp;c\"d"},
    {"^1<&>", font("red", "&lt;&amp;&gt;"), "&lt;&amp;&gt;"},
    // A code at the end opens nothing; several codes in a row leave the last.
    {"Bob^3", "Bob", "Bob"},
    {"^1Bob^", font("red", "Bob^"), "Bob^"},
    {"^1^2^3X", font("yellow", "X"), "X"},
    {"^1 ^2", font("red", " "), " "},
    {"^", "^", "^"},
    {"^^1X", "^" + font("red", "X"), "^X"},
    // A lone caret is written without taking the pending colour; the colour
    // starts at the next character.
    {"^1^xA", "^" + font("red", "xA"), "^xA"},
    // The same colour twice still closes and opens a font element.
    {"^1a^1b", font("red", "a") + font("red", "b"), "ab"},
    {"Red^7", "Red", "Red"},
    {"\xe9t\xe9", "\xe9t\xe9", "\xe9t\xe9"},
};

class NameForms : public ::testing::TestWithParam<name_case> {};

TEST_P(NameForms, HtmlAndPlain) {
    const name_case& c = GetParam();
    EXPECT_EQ(diverse::funname_to_html(c.raw), c.html) << "raw: " << c.raw;
    EXPECT_EQ(diverse::funname_to_ascii(c.raw), c.plain) << "raw: " << c.raw;
}

INSTANTIATE_TEST_SUITE_P(Names, NameForms, ::testing::ValuesIn(name_cases));

TEST(Names, MatchedNameIsPlainAndLowerCase) {
    EXPECT_EQ(diverse::matched_name("^1Red^7Guy"), "redguy");
    EXPECT_EQ(diverse::matched_name("MiXeD^3CASE"), "mixedcase");
    EXPECT_EQ(diverse::matched_name("^lX"), "^lx");
    EXPECT_EQ(diverse::matched_name("\xC4Z&"), "\xC4z&amp;");
}

// A name within the 64-character limit always converts, even the worst ones.
TEST(Names, WorstCaseNamesConvert) {
    for (int n : {26, 64}) {
        std::string raw(n, '&');
        std::string escaped;
        for (int i = 0; i < n; ++i) escaped += "&amp;";
        EXPECT_EQ(diverse::funname_to_html(raw.c_str()), escaped);
        EXPECT_EQ(diverse::funname_to_ascii(raw.c_str()), escaped);
    }

    // A colour code before every letter: 21 coded letters and one more.
    const char* colours[] = {"black", "red",    "lime",  "yellow", "blue",
                             "cyan",  "purple", "white", "black",  "red"};
    std::string raw, html, plain;
    for (int i = 0; i < 21; ++i) {
        char letter = static_cast<char>('a' + i);
        raw += '^';
        raw += static_cast<char>('0' + i % 10);
        raw += letter;
        html += font(colours[i % 10], std::string(1, letter));
        plain += letter;
    }
    raw += 'Z';
    html.insert(html.size() - 7, "Z");
    plain += 'Z';
    ASSERT_EQ(raw.size(), 64u);
    EXPECT_EQ(diverse::funname_to_html(raw.c_str()), html);
    EXPECT_EQ(diverse::funname_to_ascii(raw.c_str()), plain);

    // Every visible character escaped and in its own font element.
    raw.clear();
    html.clear();
    for (int i = 0; i < 21; ++i) {
        raw += "^6>";
        html += font("purple", "&gt;");
    }
    raw += '&';
    html.insert(html.size() - 7, "&amp;");
    ASSERT_EQ(raw.size(), 64u);
    EXPECT_EQ(diverse::funname_to_html(raw.c_str()), html);
}

// Chat texts have no length limit; whatever a player types converts.
TEST(Names, LongChatTextConverts) {
    std::string text;
    while (text.size() < 10000) text += "^1hi ^4<all>^s& ";
    text.resize(10000);
    std::string html = diverse::funname_to_html(text.c_str());
    ASSERT_FALSE(html.empty());
    EXPECT_EQ(html.rfind(font("red", "hi ") + font("blue", "&lt;all&gt;") + font("white", "&amp; "), 0), 0u);

    // Markup stays well formed: every '<' starts a font tag, tags balance.
    size_t open = 0, close = 0;
    for (size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
        if (html.compare(i, 13, "<font color=\"") == 0) {
            ++open;
        } else {
            ASSERT_EQ(html.compare(i, 7, "</font>"), 0) << "at " << i;
            ++close;
        }
    }
    EXPECT_EQ(open, close);
    EXPECT_GT(open, 3u);
    EXPECT_EQ(html.compare(html.size() - 7, 7, "</font>"), 0);
    EXPECT_EQ(html.find("^1"), std::string::npos);
}

}  // namespace
