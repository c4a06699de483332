// HTML page primitives: fixed fragments written byte for byte, with "\r\n"
// only where a fragment carries it.
#include "html/primitives.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/settings.h"
#include "parse/funname.h"
#include "platform/platform.h"
#include "total/player.h"
#include "total/player_total.h"

// printf into a string; texts are never cut (a coloured name is long).
static std::string vformat(const char* format, va_list args) {
    char small[1024];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(n));
}

void html_page_head(html_page& out, const settings_t& settings) {
    out.puts("<html>\r\n");
    out.puts("<head>\r\n");
    out.puts("<title>VEXO results</title>\r\n");
    if (settings.stylesheet_file) {
        out.puts(out.in_subfolder
                     ? "<LINK REL=StyleSheet HREF=\"../vexo.css\" TYPE=\"text/css\">"
                     : "<LINK REL=StyleSheet HREF=\"vexo.css\" TYPE=\"text/css\">");
    } else {
        out.puts("<style>\r\n<!--\r\n");
        out.print(".text { color: #FFFFFF; font-family: Arial; font-size: %spt; text-align: center }\r\n",
                  settings.font_size_text);
        out.print(".title { color: #FFFFFF; font-family: Arial; font-size: %spt; text-align: center; font-weight: bold }\r\n",
                  settings.font_size_title);
        out.print("table td { color: #FFFFFF; font-family: Arial; font-size: %spt }\r\n", settings.font_size_text);
        out.print("table th { color: #FFFFFF; font-family: Arial; font-size: %spt }\r\n", settings.font_size_text);
        out.puts("-->\r\n</style>\r\n");
    }
    out.puts("</head>\r\n");
    out.puts("<body text=#FFFFFF bgcolor=#000000 class=text link=#FFFFFF vlink=#FFFFFF alink=#FFFFFF>\r\n");
}

void html_legend(outfile& out) {
    out.puts("<p>");
    out.puts("<b>Ratio</b> is calculated as (FPM - DPM)");
    out.puts("<br><b>Eff</b> is calculated as (100 * kills / (kills + total deaths))");
    out.puts("<br><b>Skill</b> is calculated as (kills / (total deaths + 1))");
    out.puts("<br><b>MKIOL</b> means \"Most Kills In One Life\"");
    out.puts("<br><b>Suicides</b> - if you kill yourself with your own weapons");
    out.puts("<br><b>Deaths</b> - if you drown, fall, melt to death etc.");
    out.puts("<br><b>T.deaths</b> is total deaths (killed + suicides + deaths)");
    out.puts("<br><b>FPM</b> is Frags Per Minute");
    out.puts("<br><b>DPM</b> is total Deaths Per Minute");
    out.puts("</p>");
}

void html_page_foot(outfile& out, bool with_legend) {
    if (with_legend) html_legend(out);
    out.puts("<p>");
    out.print("<a href=\"%s\">", VEXO_HOME_URL);
    out.print("<font color=#FF0000>VEXO</font></a> %s, %s", VEXO_BUILD, VEXO_DATE);
    out.print(" by <a href=\"mailto:%s\"><font color=#FFFFFF>%s</font></a>", VEXO_CONTACT, VEXO_AUTHOR);
    out.puts("</p>");
    out.puts("\r\n</body>");
    out.puts("\r\n</html>");
}

void html_table_open(outfile& out, const char* attributes) {
    out.print("\r\n<table %s>\r\n", attributes);
}

void html_table_close(outfile& out) { out.puts("</table>\r\n"); }

void html_set_cell_attributes(html_page& out, const char* attributes) { out.cell_attributes = attributes; }

static void write_cell(html_page& out, const char* tag, const char* text, size_t length) {
    out.lit("<");
    out.write(tag, 2);
    out.lit(" ");
    out.puts(out.cell_attributes);
    out.lit(">");
    out.write(text, length);
    out.lit("</");
    out.write(tag, 2);
    out.lit(">\r\n");
}

static void write_cell(html_page& out, const char* tag, const std::string& text) {
    write_cell(out, tag, text.data(), text.size());
}

void html_cell_text(html_page& out, const std::string& text) { write_cell(out, "td", text); }
void html_cell_text(html_page& out, const char* text) { write_cell(out, "td", text, strlen(text)); }
void html_head_cell_text(html_page& out, const std::string& text) { write_cell(out, "th", text); }
void html_head_cell_text(html_page& out, const char* text) { write_cell(out, "th", text, strlen(text)); }

std::string format_fixed(double value, int decimals) {
    const double scale = decimals == 1 ? 10.0 : 100.0;
    const double magnitude = std::fabs(value);
    if (std::isfinite(value) && magnitude < 1e9 && (decimals == 1 || decimals == 2)) {
        const double scaled = magnitude * scale;
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        // Near a tie the exact binary value decides: leave it to printf.
        if (std::fabs(fraction - 0.5) > 1e-6) {
            unsigned long long units = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
            char digits[40];
            char* p = digits + sizeof digits;
            for (int d = 0; d < decimals; d++) {
                *--p = static_cast<char>('0' + units % 10);
                units /= 10;
            }
            *--p = '.';
            do {
                *--p = static_cast<char>('0' + units % 10);
                units /= 10;
            } while (units);
            if (std::signbit(value)) *--p = '-';
            return std::string(p, static_cast<size_t>(digits + sizeof digits - p));
        }
    }
    char buffer[512];
    snprintf(buffer, sizeof buffer, decimals == 1 ? "%.1f" : "%.2f", value);
    return buffer;
}

void html_cell_fixed(html_page& out, double value, int decimals) {
    out.lit("<td ");
    out.puts(out.cell_attributes);
    out.lit(">");
    out.puts(format_fixed(value, decimals));
    out.lit("</td>\r\n");
}

void html_cell_int(html_page& out, long long value) {
    out.lit("<td ");
    out.puts(out.cell_attributes);
    out.lit(">");
    out.put_int(value);
    out.lit("</td>\r\n");
}

void html_cell(html_page& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    write_cell(out, "td", text);
}

void html_head_cell(html_page& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    write_cell(out, "th", text);
}

void html_paragraph(outfile& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    out.puts("<p>");
    out.write(text.data(), text.size());
    out.puts("</p>");
}

void html_p_open(outfile& out) { out.puts("<p>"); }
void html_p_close(outfile& out) { out.puts("</p>"); }

void html_timestamp(outfile& out) {
    out.print("<p class=text>[%s]</p>\r\n", platform::local_timestamp().c_str());
}

int time_hours(int seconds) { return seconds / 3600; }
int time_minutes(int seconds) { return seconds % 3600 / 60; }
int time_seconds(int seconds) { return seconds % 3600 % 60; }

std::string format_hms(int seconds) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%02i:%02i:%02i h", time_hours(seconds), time_minutes(seconds),
             time_seconds(seconds));
    return buffer;
}

std::string format_hm(int seconds) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%02i:%02i h", time_hours(seconds), time_minutes(seconds));
    return buffer;
}

std::string format_min_sec(int seconds) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%i:%02i min", time_hours(seconds) * 60 + time_minutes(seconds),
             time_seconds(seconds));
    return buffer;
}

std::string team_letters(std::string& teams) {
    std::string collapsed;
    for (char c : teams)
        if (collapsed.empty() || collapsed.back() != c) collapsed += c;
    teams = collapsed;
    std::string result;
    for (char c : collapsed) {
        if (c == 1) result += "<font color=red>R</font>";
        else if (c == 2) result += "<font color=blue>B</font>";
        else if (c == 3) result += "S";
    }
    return result;
}

// The same cells for a game slot and a totals record.
template <class Player>
static void bot_cell(html_page& out, const Player& p) {
    html_set_cell_attributes(out, "align=center");
    if (p.bot_skill > -1) html_cell(out, "(%i)", p.bot_skill);
    else html_cell_text(out, "-");
    html_set_cell_attributes(out, "");
}

void html_bot_cell(html_page& out, const player_t& p) { bot_cell(out, p); }
void html_bot_cell(html_page& out, const player_total_t& p) { bot_cell(out, p); }

template <class Player>
static void count_cells(html_page& out, const Player& p) {
    html_cell_int(out, p.frags());
    html_cell_int(out, p.total_kills());
    html_cell_int(out, p.total_killed());
    html_cell_int(out, p.total_suicides());
    html_cell_int(out, p.get_world_deaths());
    html_cell_int(out, p.total_deaths());
}

void html_count_cells(html_page& out, const player_t& p) { count_cells(out, p); }
void html_count_cells(html_page& out, const player_total_t& p) { count_cells(out, p); }

void html_homepage_line(outfile& out, const settings_t& settings) {
    if (settings.homepage_address[0])
        out.print("<p class=\"title\"><a href=\"%s\"><font color=red>%s</font></a></p>",
                  settings.homepage_address, settings.homepage_string);
}

void html_ranking_links(outfile& out, const settings_t& settings) {
    out.puts("<p class=\"title\"><a href=\"players.htm\"><font color=red>All players</font></a></p>");
    if (settings.top_players > 0)
        out.print("<p class=\"title\"><a href=\"top_players.htm\"><font color=red>Top %i players</font></a></p>",
                  settings.top_players);
}

template <class Player>
static void rate_cells(html_page& out, const Player& p) {
    if (p.playtime != 0) {
        html_cell_fixed(out, p.frags() * 60.0 / p.playtime, 2);
        html_cell_fixed(out, p.total_deaths() * 60.0 / p.playtime, 2);
    } else {
        html_cell_text(out, "0.00");
        html_cell_text(out, "0.00");
    }
}

void html_rate_cells(html_page& out, const player_t& p) { rate_cells(out, p); }
void html_rate_cells(html_page& out, const player_total_t& p) { rate_cells(out, p); }

bool player_excluded(const settings_t& settings, const player_total_t& player) {
    if (!settings.filters_given) return false;
    if (settings.min_kills != 0 && player.total_kills() < settings.min_kills) return true;
    if (settings.min_games != 0 && static_cast<uint32_t>(player.games) < settings.min_games) return true;
    if (settings.min_playtime != 0 && player.playtime < settings.min_playtime) return true;
    return false;
}

const char* sort_order_name(int order) {
    static const char* const names[10] = {"team", "ratio", "eff",   "skill", "kills",
                                          "killed", "name", "frags", "score", "playtime"};
    return order >= 0 && order <= 9 ? names[order] : "";
}

std::string ratio_text(double ratio) {
    if (std::fabs(ratio - -9999.0) < 0.001) return "ERR";
    return format_fixed(ratio, 2);
}

std::string html_escape(const char* text) {
    std::string result;
    for (const char* p = text; *p; p++) append_escaped(result, *p);
    return result;
}
