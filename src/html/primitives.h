// The page primitives through which every page is written (head with the
// linked or inline stylesheet, foot with the legend, tables, cells,
// paragraphs) and the helpers the pages share (time formats, team letters,
// the player filter test, the sort-order words). The head and the cells
// read the state of their page (html_page): its folder and the attribute
// text set last with html_set_cell_attributes.
#pragma once
#include <string>
#include "html/html_page.h"

class settings_t;
class player_t;
class player_total_t;

void html_page_head(html_page& out, const settings_t& settings);
void html_page_foot(outfile& out, bool with_legend);
void html_legend(outfile& out);
void html_table_open(outfile& out, const char* attributes);
void html_table_close(outfile& out);
void html_set_cell_attributes(html_page& out, const char* attributes);
void html_cell(html_page& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void html_head_cell(html_page& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same cells for a text as it stands or a number ("%s", "%i", "%u"),
// without a trip through printf: the game pages hold thousands of them.
void html_cell_text(html_page& out, const std::string& text);
void html_cell_text(html_page& out, const char* text);
void html_head_cell_text(html_page& out, const char* text);
void html_cell_int(html_page& out, long long value);
void html_head_cell_text(html_page& out, const std::string& text);
// A cell "%.1f" or "%.2f" (decimals 1 or 2) of `value`.
void html_cell_fixed(html_page& out, double value, int decimals);
// printf's "%.1f" / "%.2f" of `value`, computed directly where the rounding
// is clear and by snprintf where it is not: always the same bytes.
std::string format_fixed(double value, int decimals);
void html_paragraph(outfile& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void html_p_open(outfile& out);
void html_p_close(outfile& out);
// The time stamp paragraph of the pages: "<p class=text>[%s]</p>\r\n".
void html_timestamp(outfile& out);

int time_hours(int seconds);
int time_minutes(int seconds);
int time_seconds(int seconds);
std::string format_hms(int seconds);      // "%02i:%02i:%02i h"
std::string format_hm(int seconds);       // "%02i:%02i h"
std::string format_min_sec(int seconds);  // "%i:%02i min"

// Collapses repeats of the history in place and returns the coloured letters.
std::string team_letters(std::string& teams);
// The Bot cell of a player: "(skill)" for a bot, "-" for a human; leaves the
// attribute text empty.
void html_bot_cell(html_page& out, const player_t& player);
void html_bot_cell(html_page& out, const player_total_t& player);
// The cells Frags, Kills, Killed, Suicides, Deaths and T.deaths of a player.
void html_count_cells(html_page& out, const player_t& player);
void html_count_cells(html_page& out, const player_total_t& player);
// "<p class=\"title\">" link to the configured home page, when one is set.
void html_homepage_line(outfile& out, const settings_t& settings);
// The title links to the ranking: "All players", and with /top the top set.
void html_ranking_links(outfile& out, const settings_t& settings);
// The FPM and DPM cells of a player ("0.00" without play time).
void html_rate_cells(html_page& out, const player_t& player);
void html_rate_cells(html_page& out, const player_total_t& player);
bool player_excluded(const settings_t& settings, const player_total_t& player);
const char* sort_order_name(int order);
// "ERR" for a ratio within 0.001 of -9999, else "%.2f".
std::string ratio_text(double ratio);
// A text escaped like names ('<', '>', '&'), for values from the log.
std::string html_escape(const char* text);
