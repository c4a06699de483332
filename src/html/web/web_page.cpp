// web_page: the frame of every page of the web page set.
#include "html/web/web_page.h"

#include "app/settings.h"
#include "html/web/web_text.h"

void web_page::begin(const std::string& path, const std::string& title, const web_links& links, bool with_search,
                     const std::string& heading_html) {
    search = with_search;
    open(path.c_str());
    const std::string title_html = html_text(title);
    const std::string s = site(), t = top();
    lit("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
    puts(title_html);
    lit(" - VEXO</title>\n<link rel=\"stylesheet\" href=\"");
    puts(s);
    lit("vexo.css\">\n</head>\n<body>\n<header class=\"site\">\n<nav aria-label=\"Site\">\n<ul>\n");
    print("<li><a href=\"%sindex.html\">Home</a></li>\n", t.c_str());
    print("<li><a href=\"%sranking.html\">Ranking</a></li>\n", s.c_str());
    print("<li><a href=\"%sgames.html\">Games</a></li>\n", s.c_str());
    print("<li><a href=\"%smaps.html\">Maps</a></li>\n", s.c_str());
    if (links.chat) print("<li><a href=\"%schat.html\">Chat</a></li>\n", s.c_str());
    print("<li><a href=\"%splayers.htm\">Classic pages</a></li>\n", t.c_str());
    if (links.report) print("<li><a href=\"%sreport.htm\">Run report</a></li>\n", t.c_str());
    lit("</ul>\n</nav>\n</header>\n<main>\n<h1>");
    puts(heading_html.empty() ? title_html : heading_html);
    lit("</h1>\n");
}

void web_page::end() {
    const std::string s = site();
    print("</main>\n<footer>\n<p>Written by %s %s.</p>\n</footer>\n", VEXO_NAME, VEXO_BUILD);
    if (search) print("<script src=\"%ssearch.js\"></script>\n", s.c_str());
    print("<script src=\"%svexo.js\"></script>\n</body>\n</html>\n", s.c_str());
    close();
}

void web_search_form(web_page& page) {
    page.print("<form class=\"search\" role=\"search\" action=\"%sranking.html\" data-base=\"%s\">\n", page.site(),
               page.site());
    page.lit("<label for=\"player-search\">Find a player</label>\n"
             "<input type=\"search\" id=\"player-search\" name=\"q\" autocomplete=\"off\" "
             "placeholder=\"Player name\">\n"
             "<ul id=\"search-results\" aria-live=\"polite\"></ul>\n</form>\n");
}
