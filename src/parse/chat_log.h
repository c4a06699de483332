// chat_log: the page chat.htm with the public chat of every log file of a run
// and a heading before the chat of each game.
#pragma once
#include <string>
#include "app/outfile.h"

class chat_log {
public:
    chat_log() {}
    virtual ~chat_log() {}

    void open();                 // creates chat.htm among the run's pages (items up to "Game 1")
    bool is_open() const { return file.is_open(); }
    void line(const std::string& speaker_html, const std::string& text_html, bool spectator);
    void heading(int game_number);
    void finish();               // "</body></html>", close, "\n\nWrote chat.htm [%i byte]"

private:
    outfile file;
};
