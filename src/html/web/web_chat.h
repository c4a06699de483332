// web_chat: vexo_web/chat.html, the public chat of the run in UTF-8, one
// section per listed game with chat (its id "g<number>", linked from the
// game's page); the chat after the last listed game stands in a last section
// of its own.
// Written from the run's thread while the logs are read (/w with /l).
#pragma once
#include <string>
#include "html/web/charset.h"
#include "html/web/web_page.h"

class web_chat {
public:
    web_chat(log_charset charset, bool plain_names) : charset(charset), plain_names(plain_names) {}

    void open(const web_links& links);   // in the current folder, as vexo_web/chat.html
    bool is_open() const { return page.is_open(); }
    void line(const char* speaker, const char* text, bool spectator);
    // Game `number` is listed: its chat ends here. False when it had none
    // (and has no section).
    bool game_listed(int number);
    void finish();

private:
    void open_section();
    web_page page{1};
    log_charset charset;
    bool plain_names;
    bool section_open = false;
    int next_game = 1;
};
