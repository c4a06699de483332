// web_chat: the chat page of the web page set.
#include "html/web/web_chat.h"

#include <cstring>

#include "html/web/web_text.h"

void web_chat::open(const web_links& links) {
    page.begin("vexo_web/chat.html", "Chat", links, false);
    page.lit("<p>The public chat of the games, in the order of the logs; games without chat are left out. "
             "Team chat is not shown.</p>\n");
}

void web_chat::open_section() {
    if (section_open) return;
    page.print("<section class=\"chat\" id=\"g%i\">\n<h2>Game %i</h2>\n", next_game, next_game);
    section_open = true;
}

void web_chat::line(const char* speaker, const char* text, bool spectator) {
    open_section();
    const std::string who = to_utf8(speaker, strlen(speaker), charset);
    std::string said = to_utf8(text, strlen(text), charset);
    // The text begins with the colon after the speaker's name.
    size_t from = 0;
    while (from < said.size() && (said[from] == ':' || said[from] == ' ')) from++;
    said.erase(0, from);
    page.puts(spectator ? "<p class=\"spectator\"><b>" : "<p><b>");
    page.puts(plain_names ? html_text(plain_text(who)) : coloured_html(who));
    page.lit("</b>: ");
    page.puts(coloured_html(said));
    page.puts(spectator ? " <small>(spectator)</small></p>\n" : "</p>\n");
}

bool web_chat::game_listed(int number) {
    const bool had_chat = section_open;
    if (had_chat)
        page.print("<p class=\"back\"><a href=\"game_%i.html\">To game %i</a></p>\n</section>\n", number, number);
    section_open = false;
    next_game = number + 1;
    return had_chat;
}

void web_chat::finish() {
    if (!page.is_open()) return;
    if (section_open) {
        // Chat after the last listed game: its game did not end or was not listed.
        page.lit("<p class=\"note\">This game is not listed: it did not end in the log, or it had fewer "
                 "than two players.</p>\n</section>\n");
        section_open = false;
    }
    page.end();
}
