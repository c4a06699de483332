// The line reader, the tokenizer, time stamps and numbers of log lines.
#include <gtest/gtest.h>

#include <limits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "log_support.h"
#include "parse/numbers.h"

using vexo_test::parsed_log;
using vexo_test::temp_log;
using LineSplit = vexo_test::parser_test;

namespace {

constexpr int int_max = std::numeric_limits<int>::max();
constexpr int int_min = std::numeric_limits<int>::min();

struct time_case {
    const char* text;
    int seconds;
};

TEST(ReadTime, MinutesAndSeconds) {
    const time_case cases[] = {
        {"12:34", 754}, {"0:00", 0},    {"17", 1020}, {"", 0},
        {":30", 0},     {"  5:07", 307}, {"1:5x", 65}, {"x1:05", 0},
        {"-1:30", -30}, {"1234:56", 74096},
    };
    parsed_log log("");
    EXPECT_EQ(log.parser->last_time, 0);
    for (const time_case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(log.parser->read_time(c.text), c.seconds);
        EXPECT_EQ(log.parser->last_time, c.seconds);
    }
    // Minutes beyond 32 bits, and minutes whose seconds do not fit: any value,
    // but no overflow (the sanitizer build traps on one).
    for (const char* text : {"99999999", "99999999999:99999999999", "-99999999:-99", "35791394:59"}) {
        int seconds = log.parser->read_time(text);
        EXPECT_EQ(log.parser->last_time, seconds) << text;
    }
}

TEST(ReadInt, ReadsLikeAtoiAndSaturates) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"  -7x", -7},
        {"+5", 5},
        {"22:", 22},
        {"", 0},
        {"abc", 0},
        {"- 3", 0},
        {"2147483647", int_max},
        {"2147483648", int_max},
        {"4294967306", int_max},
        {"99999999999999999999999999", int_max},
        {"-2147483648", int_min},
        {"-99999999999", int_min},
        {"0000000000000000000000012", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(diverse::read_int(c.first), c.second) << c.first;
}

// A line is cut into tokens: the first with first_token, the others with
// next_token, each with its own separator.
struct token_case {
    const char* line;
    std::vector<std::pair<char, std::string>> steps;
};

TEST(Tokenizer, CutsLinesIntoTokens) {
    const token_case cases[] = {
        // Padded minutes, event word, numbers; a colon stays in its token.
        {"  12:34 Kill: 7 3 22: Ann killed Bob\n",
         {{' ', "12:34"}, {' ', "Kill:"}, {' ', "7"}, {' ', "3"}, {' ', "22:"}}},
        // Two backslashes in a row: the empty field between them vanishes.
        {"n\\Bob\\\\t\\2\\model\\x\n",
         {{'\\', "n"}, {'\\', "Bob"}, {'\\', "t"}, {'\\', "2"}, {'\\', "model"}, {'\\', "x"}, {'\\', ""}}},
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
    };
    parsed_log log("");
    for (const token_case& c : cases) {
        SCOPED_TRACE(c.line);
        char out[256];
        bool first = true;
        for (const auto& step : c.steps) {
            std::memset(out, '#', sizeof out);
            if (first)
                log.parser->first_token(c.line, out, sizeof out, step.first);
            else
                log.parser->next_token(out, sizeof out, step.first);
            first = false;
            EXPECT_EQ(std::string(out), step.second);
        }
    }
}

TEST(Tokenizer, LongTokenIsCutToItsBuffer) {
    parsed_log log("");
    const std::string line = std::string(300, 'x') + " y\n";
    char out[65];
    log.parser->first_token(line.c_str(), out, sizeof out, ' ');
    EXPECT_EQ(std::string(out), std::string(64, 'x'));
    // The rest of the long token is passed over, not read as the next token.
    log.parser->next_token(out, sizeof out, ' ');
    EXPECT_EQ(std::string(out), "y");
}

// The first token is the time stamp, unless the event word ran into it.
TEST_F(LineSplit, SeparatesTimeStampAndEventWord) {
    struct split_case {
        const char* line;
        int connect_time;  // since of client 4 afterwards, -1 when the line is no event
    };
    const split_case cases[] = {
        {"  1:05 ClientConnect: 4\n", 65},
        {"1234:56ClientConnect: 4\n", 74096},   // seven characters, then the event word
        {"12345678 ClientConnect: 4\n", 740740680},  // eight characters are still a time stamp
        {"123456789 ClientConnect: 4\n", -1},  // nine characters without a colon: no event
        {"12:34ClientConnect: 4\n", -1},       // event word taken from the eighth character
        {"1:05\tClientConnect: 4\n", -1},
        {"ClientConnect: 4\n", 0},             // no time stamp: the event word first, time 0
        {"1:05 clientconnect: 4\n", -1},
    };
    for (const split_case& c : cases) {
        SCOPED_TRACE(c.line);
        parsed_log log("");
        log.results->clients[4].since = -1;
        EXPECT_EQ(log.line(c.line), 0);
        EXPECT_EQ(log.results->clients[4].since, c.connect_time);
    }
}

TEST(LogReader, LinesAcrossItsBlocksArriveWhole) {
    std::string log;
    for (int i = 0; i < 150000; i++) log += "line " + std::to_string(i) + (i % 3 ? "\n" : "\r\n");
    FILE* f = temp_log(log);
    ASSERT_NE(f, nullptr);
    {
        log_reader reader(f);
        char line[LOG_LINE_MAX];
        int i = 0;
        bool all_equal = true;
        while (reader.read_line(line)) {
            std::string expected = "line " + std::to_string(i) + (i % 3 ? "\n" : "\r\n");
            if (expected != line) {
                ADD_FAILURE() << "line " << i << ": " << line;
                all_equal = false;
                break;
            }
            i++;
        }
        EXPECT_TRUE(all_equal);
        EXPECT_EQ(i, 150000);
        EXPECT_EQ(reader.position(), static_cast<long long>(log.size()));
    }
    std::fclose(f);
}

// A 5000-character line is read as three lines of at most 2046 characters:
// each piece is dispatched on its own, from whatever followed the cut.
TEST_F(LineSplit, LongLineIsHandledAsSeveralLines) {
    std::string piece1 = " 0:05 Item: 0 ";
    piece1 += std::string(2046 - piece1.size(), 'x');
    std::string piece2 = " 0:06 ClientConnect: 7 ";
    piece2 += std::string(2046 - piece2.size(), 'y');
    std::string piece3_tail = " 0:07 Item: 0 item_quad";
    std::string piece3 = std::string(5000 - 2 * 2046 - piece3_tail.size(), 'z') + piece3_tail;
    const std::string long_line = piece1 + piece2 + piece3;
    ASSERT_EQ(long_line.size(), 5000u);

    parsed_log log(" 0:00 InitGame: \\g_gametype\\0\n"
                   " 0:01 ClientConnect: 0\n"
                   " 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n" +
                   long_line + "\n" +
                   " 0:08 Item: 0 item_quad\n"
                   " 0:09 ShutdownGame:\n");
    ASSERT_EQ(log.next_game(), 1);
    ASSERT_EQ(log.count(), 1);
    // Piece 1 is an item with an unknown (cut) class name; piece 2 a connect;
    // piece 3 starts with a long token and is no event; the next line counts.
    EXPECT_EQ(log.slot(0).items_total, 2);
    EXPECT_EQ(log.slot(0).items[ITEM_QUAD], 1u);
    EXPECT_EQ(log.results->clients[7].since, 6);
    EXPECT_EQ(log.next_game(), 0);
}

}  // namespace
