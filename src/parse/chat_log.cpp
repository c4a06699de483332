// chat_log: chat.htm, one page for the chat of every log file of the run.
#include "parse/chat_log.h"

#include <cstdio>

void chat_log::open() {
    file.open("chat.htm");
    file.puts("<html>");
    file.puts("<title>VEXO chatlog</title>\r\n");
    file.puts("<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF alink=#FFFFFF>\r\n");
    file.puts("<p><i><b>Game 1</b></i></p>\r\n");
}

void chat_log::line(const std::string& speaker_html, const std::string& text_html, bool spectator) {
    if (spectator)
        file.print("<b>[---- %s</b>%s ----]<br>\r\n", speaker_html.c_str(), text_html.c_str());
    else
        file.print("<b>%s</b>%s<br>\r\n", speaker_html.c_str(), text_html.c_str());
}

void chat_log::heading(int game_number) {
    file.print("<p><i><b>Game %i</b></i></p>\r\n", game_number);
}

void chat_log::finish() {
    if (!file.is_open()) return;
    file.puts("</body>");
    file.puts("</html>");
    file.close();
    const long long size = file.size();
    printf("\n\nWrote chat.htm [%lld byte]", size);
}
