// web_page: one page of the web page set, an output file that knows where it
// lies (the results folder or vexo_web/), so that its links reach the rest of
// the site relatively; with the frame every page
// shares: head, site navigation, main part and foot. A page is written on one
// thread from open to close.
#pragma once
#include <string>
#include "app/outfile.h"

// Which of the optional pages a run writes; the navigation links only those.
struct web_links {
    bool chat = false;     // vexo_web/chat.html and chat.htm (/l)
    bool report = false;   // report.htm (/r)
    int top_players = 0;   // top_players.htm when above 0
};

class web_page : public outfile {
public:
    // depth 0: the results folder (index.html); 1: vexo_web/.
    explicit web_page(int depth) : depth(depth) {}

    const int depth;
    // The way from this page into vexo_web/ ("vexo_web/" or "") and to the
    // results folder ("" or "../").
    const char* site() const { return depth == 0 ? "vexo_web/" : ""; }
    const char* top() const { return depth == 0 ? "" : "../"; }

    // Opens the file and writes everything up to the page's heading:
    // `title` (plain text) in the title element and, unless `heading_html`
    // is given, in the h1. `search`: the page has the player search box and
    // loads the search data.
    void begin(const std::string& path, const std::string& title, const web_links& links, bool search,
               const std::string& heading_html = std::string());
    // The foot and the scripts; closes the file.
    void end();

private:
    bool search = false;
};

// The player search form of the contract with the script (works without
// the script as a link to the ranking).
void web_search_form(web_page& page);
