// The chat log chat.htm: the page byte for byte, over one and several log files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "log_support.h"

using vexo_test::parsed_log;

namespace {

const std::string page_head =
    "<html>"
    "<title>VEXO chatlog</title>\r\n"
    "<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF alink=#FFFFFF>\r\n"
    "<p><i><b>Game 1</b></i></p>\r\n";
const std::string page_foot = "</body></html>";

std::string heading(int n) {
    return "<p><i><b>Game " + std::to_string(n) + "</b></i></p>\r\n";
}

std::string font(const char* colour, const std::string& inner) {
    return std::string("<font color=\"") + colour + "\">" + inner + "</font>";
}

// Each test runs in a fresh temporary folder, where chat.htm is made.
class ChatLog : public vexo_test::parser_test {
protected:
    void SetUp() override {
        parser_test::SetUp();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        start_dir = here;
        char pattern[] = "/tmp/vexo_chat_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        work_dir = pattern;
        ASSERT_EQ(chdir(work_dir.c_str()), 0);
    }
    void TearDown() override {
        if (!start_dir.empty()) {
            EXPECT_EQ(chdir(start_dir.c_str()), 0);
        }
        if (!work_dir.empty()) std::filesystem::remove_all(work_dir);
        parser_test::TearDown();
    }

    static std::string read_page() {
        std::ifstream in("chat.htm", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Completes the page; returns what it printed.
    static std::string finish(chat_log& chat) {
        testing::internal::CaptureStdout();
        chat.finish();
        return testing::internal::GetCapturedStdout();
    }

    std::string start_dir, work_dir;
};

TEST_F(ChatLog, PageOfOneGame) {
    chat_log chat;
    chat.open();
    {
        parsed_log log(" 0:00 InitGame: \\g_gametype\\0\\mapname\\Arena\n"
                       " 0:01 ClientConnect: 0\n"
                       " 0:01 ClientUserinfoChanged: 0 n\\^1Ann\\t\\0\n"
                       " 0:02 ClientConnect: 1\n"
                       " 0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\3\n"
                       " 0:05 say: ^1Ann: hi <all> & ^2you\n"
                       " 0:06 sayteam: ^1Ann: secret\n"
                       " 0:07 say: Bob: spectating: me\r\n"
                       " 0:08 say:   Bob   no colon\n"
                       " 0:10 ShutdownGame:\n",
                       &chat);
        ASSERT_EQ(log.next_game(), 1);
        chat.heading(2);
        EXPECT_EQ(log.next_game(), 0);
    }
    const std::string printed = finish(chat);
    EXPECT_EQ(printed, "\n\nWrote chat.htm [" + std::to_string(read_page().size()) + " byte]");
    EXPECT_EQ(read_page(),
              page_head +
                  "<b>" + font("red", "Ann") + "</b>: hi &lt;all&gt; &amp; " + font("lime", "you") +
                  "<br>\r\n"
                  "<b>Bob</b>: spectating: me<br>\r\n"
                  "<b>Bob   no colon</b><br>\r\n" +
                  heading(2) + page_foot);
}

TEST_F(ChatLog, SpectatorsOfAOneOnOneGame) {
    chat_log chat;
    chat.open();
    {
        parsed_log log(" 0:00 InitGame: \\g_gametype\\1\n"
                       " 0:01 ClientConnect: 0\n"
                       " 0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\0\n"
                       " 0:02 ClientConnect: 1\n"
                       " 0:02 ClientUserinfoChanged: 1 n\\^4Spec\\t\\3\n"
                       " 0:05 say: ^4Spec: gg\n"
                       " 0:06 say: Ann: thanks\n"
                       " 0:07 say: Ghost: boo\n"
                       " 0:08 Exit: Fraglimit hit.\n"
                       " 0:09 say: ^4Spec: <3\n"
                       " 0:10 ShutdownGame:\n"
                       " 0:11 InitGame: \\g_gametype\\0\n"
                       " 0:12 ClientConnect: 1\n"
                       " 0:12 ClientUserinfoChanged: 1 n\\^4Spec\\t\\3\n"
                       " 0:13 say: ^4Spec: now free\n",
                       &chat);
        ASSERT_EQ(log.next_game(), 1);
        chat.heading(5);
        EXPECT_EQ(log.next_game(), 0);
    }
    finish(chat);
    const std::string spec = font("blue", "Spec");
    EXPECT_EQ(read_page(), page_head +
                               "<b>[---- " + spec + "</b>: gg ----]<br>\r\n"
                               "<b>Ann</b>: thanks<br>\r\n"
                               "<b>Ghost</b>: boo<br>\r\n"
                               "<b>[---- " + spec + "</b>: &lt;3 ----]<br>\r\n" +
                               heading(5) +
                               "<b>" + spec + "</b>: now free<br>\r\n" + page_foot);
}

TEST_F(ChatLog, LongSpeakerIsCutLongTextKept) {
    chat_log chat;
    chat.open();
    {
        parsed_log log(" 0:05 say: " + std::string(100, 'S') + ": " + std::string(1000, '<') + "\n", &chat);
        EXPECT_EQ(log.next_game(), 0);
    }
    finish(chat);
    std::string text;
    for (int i = 0; i < 1000; i++) text += "&lt;";
    EXPECT_EQ(read_page(), page_head + "<b>" + std::string(63, 'S') + "</b>: " + text + "<br>\r\n" + page_foot);
}

// One chat.htm for the whole run: the chat of every log file, headings
// numbered on across files, the end written once.
TEST_F(ChatLog, SpansTheLogFilesOfARun) {
    {
        std::ofstream old("chat.htm", std::ios::binary);
        old << "left from an earlier run";
    }
    chat_log chat;
    chat.open();
    {
        parsed_log first(" 0:00 InitGame: \\g_gametype\\0\n"
                         " 0:01 say: Ann: one\n"
                         " 0:02 ShutdownGame:\n"
                         " 0:03 InitGame: \\g_gametype\\0\n"
                         " 0:04 say: Ann: two\n"
                         " 0:05 ShutdownGame:\n"
                         " 0:06 say: Ann: unfinished\n",
                         &chat);
        ASSERT_EQ(first.next_game(), 1);
        chat.heading(2);
        ASSERT_EQ(first.next_game(), 1);  // a game that is not written: no heading
        EXPECT_EQ(first.next_game(), 0);
    }
    EXPECT_EQ(read_page().find("</body>"), std::string::npos);
    {
        parsed_log second(" 0:00 InitGame: \\g_gametype\\0\n"
                          " 0:01 say: Bob: three\n"
                          " 0:02 ShutdownGame:\n",
                          &chat);
        ASSERT_EQ(second.next_game(), 1);
        chat.heading(3);
        EXPECT_EQ(second.next_game(), 0);
    }
    const std::string expected = page_head +
                                 "<b>Ann</b>: one<br>\r\n" + heading(2) +
                                 "<b>Ann</b>: two<br>\r\n"
                                 "<b>Ann</b>: unfinished<br>\r\n"
                                 "<b>Bob</b>: three<br>\r\n" +
                                 heading(3) + page_foot;
    EXPECT_EQ(finish(chat), "\n\nWrote chat.htm [" + std::to_string(expected.size()) + " byte]");
    EXPECT_EQ(read_page(), expected);
}

}  // namespace
