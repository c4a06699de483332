// The run report "report.htm" (/r): for every log file what was read from it
// (lines by time-stamp form and event word, lines not understood, games and
// what became of them, kill lines), the warnings of the run, and a check of
// the totals against the listed games.
#include <cstdio>

#include "app/vexo_main.h"
#include "app/warnings.h"
#include "game/dialect.h"
#include "game/weapon_registry.h"
#include "html/primitives.h"
#include "html/private_text.h"
#include "total/resultdata_total.h"

namespace {

const char* const TABLE_ATTRIBUTES = "border=1 cellspacing=0 bordercolor=#000000 bgcolor=#606060";

void section_row(html_page& o, const char* title) {
    o.puts("<tr>\r\n");
    html_set_cell_attributes(o, "colspan=2 align=left bgcolor=#000080");
    html_head_cell_text(o, title);
    o.puts("</tr>\r\n");
}

// A label and its value; counts are aligned right, texts left.
void text_row(html_page& o, const std::string& label, const std::string& value, const char* value_align = "align=right") {
    o.puts("<tr>\r\n");
    html_set_cell_attributes(o, "align=left");
    html_cell_text(o, label);
    html_set_cell_attributes(o, value_align);
    html_cell_text(o, value);
    o.puts("</tr>\r\n");
}

void count_row(html_page& o, const std::string& label, uint64_t value) {
    text_row(o, label, std::to_string(value));
}

const char* drop_text(drop_reason reason) {
    switch (reason) {
        case DROP_FEW_PLAYERS: return "fewer than two active players";
        case DROP_BOTS_LEFT_OUT: return "fewer than two players once the bots were left out (/b)";
        case DROP_TOO_MANY_CLIENTS: return "more than 511 clients";
        default: return "listed";
    }
}

void file_section(html_page& o, const file_report& f, int index) {
    const log_counts& c = f.counts;
    o.print("<p class=\"title\">Log file %i: %s</p>", index, html_escape(file_name_for_report(f.name).c_str()).c_str());
    html_table_open(o, TABLE_ATTRIBUTES);
    text_row(o, "Size", std::to_string(f.size) + " byte");
    if (f.bytes_left > 0)
        text_row(o, "Written after the run opened the file (left for the next run)",
                 std::to_string(f.bytes_left) + " byte");
    count_row(o, "Lines read", c.lines());

    section_row(o, "Lines by time stamp");
    static const struct {
        time_form form;
        const char* text;
    } forms[] = {
        {FORM_MIN_SEC, "m:ss (12:34)"},
        {FORM_JOINED, "m:ss run on into the event word (1101:28ClientConnect:)"},
        {FORM_TENTHS, "seconds and tenths (600.1)"},
        {FORM_DATE, "date and clock ([2017-05-07] [18:38:43])"},
        {FORM_CTIME, "date and clock ([Mon Dec 28 13:38:57 2015])"},
        {FORM_GAME_CLOCK, "date, clock and game time (1-25-2021 3:47 (0:07):)"},
        {FORM_UNIX, "Unix time (1336040739|)"},
        {FORM_NONE, "none: the event word first"},
        {FORM_UNKNOWN, "none of these forms"},
    };
    for (const auto& f : forms) count_row(o, f.text, c.forms[f.form]);

    section_row(o, "Lines by event word");
    for (int kind = 0; kind < EV_UNKNOWN; kind++)
        if (c.events[kind] > 0) count_row(o, html_escape(event_words[kind]), c.events[kind]);
    count_row(o, "no event word of the list", c.events[EV_UNKNOWN]);

    section_row(o, "Lines not understood (no time-stamp form, or no event word)");
    count_row(o, "Lines not understood", c.not_understood);
    for (const log_counts::numbered_line& line : c.first_not_understood)
        text_row(o, "Line " + std::to_string(line.number), html_escape(quote_for_report(line.text).c_str()),
                 "align=left");

    section_row(o, "Games");
    count_row(o, "Games started (InitGame:)", c.events[EV_INIT_GAME]);
    count_row(o, "Games ended by ShutdownGame:", c.events[EV_SHUTDOWN]);
    count_row(o, "Games ended by Warmup:", c.ended_by_warmup);
    count_row(o, "Games ended by the next InitGame: (no ShutdownGame: before it)", c.ended_by_init_game);
    count_row(o, "Games ended by the end of the file", c.ended_by_eof ? 1 : 0);
    count_row(o, "Games listed", static_cast<uint64_t>(f.listed));
    for (int reason = DROP_NONE + 1; reason < DROP_REASONS; reason++)
        if (f.dropped[reason] > 0)
            count_row(o, std::string("Games dropped: ") + drop_text(static_cast<drop_reason>(reason)),
                      f.dropped[reason]);

    section_row(o, "Kill lines");
    count_row(o, "Kill lines read", c.events[EV_KILL]);
    count_row(o, "Counted", c.kills[KILL_COUNTED]);
    if (f.kills_without_weapon_slot > 0)
        count_row(o, "Counted under all weapons only (more weapons in the game than it has room for)",
                  f.kills_without_weapon_slot);
    count_row(o, "Counted in the listed games", f.kill_lines_listed);
    count_row(o, "No counter changed: after Exit: or Game_End:", c.kills[KILL_AFTER_EXIT]);
    count_row(o, "No counter changed: during a warm-up or while events are skipped", c.kills[KILL_SKIPPED]);
    count_row(o, "No counter changed: unknown client", c.kills[KILL_UNKNOWN_CLIENT]);
    count_row(o, "No counter changed: a bot's kill or death, bots left out (/b)", c.kills[KILL_BOT]);
    count_row(o, "No counter changed: in a game dropped for more than 511 clients", c.kills[KILL_DROPPED_GAME]);
    count_row(o, "No counter changed: team change", c.kills[KILL_TEAM_CHANGE]);
    count_row(o, "No counter changed: not a player", c.kills[KILL_NOT_A_PLAYER]);
    count_row(o, "MOD text of another id in the dialect's weapon table", c.mod_text_disagrees);

    section_row(o, "Games by dialect (InitGame: lines)");
    const std::vector<const dialect*>& dialects = all_dialects();
    for (size_t k = 0; k < c.games_by_dialect.size() && k < dialects.size(); k++)
        if (c.games_by_dialect[k] > 0) count_row(o, dialects[k]->name, c.games_by_dialect[k]);

    section_row(o, "Kill lines counted by weapon");
    for (size_t w = 0; w < c.kills_by_weapon.size(); w++) {
        if (c.kills_by_weapon[w] == 0) continue;
        count_row(o, w == 0 ? std::string("weapon id 0 (in the all-weapons figures only)") : weapon_name(static_cast<int>(w)),
                  c.kills_by_weapon[w]);
    }
    html_table_close(o);

    if (f.games.empty()) return;
    html_paragraph(o, "<b>Games ended by ShutdownGame:</b>");
    html_table_open(o, TABLE_ATTRIBUTES);
    o.puts("<tr>\r\n");
    html_set_cell_attributes(o, "align=left bgcolor=#000080");
    html_head_cell_text(o, "#");
    html_head_cell_text(o, "Result");
    o.puts("</tr>\r\n");
    char link[128];
    for (size_t k = 0; k < f.games.size(); k++) {
        const game_fate& g = f.games[k];
        if (g.reason == DROP_NONE)
            snprintf(link, sizeof link, "<a href=\"vexo_games/game_%i.htm\">Game %i</a>", g.number, g.number);
        else
            snprintf(link, sizeof link, "dropped: %s", drop_text(g.reason));
        o.puts("<tr>\r\n");
        html_set_cell_attributes(o, "align=left");
        html_cell_int(o, static_cast<long long>(k + 1));
        html_cell_text(o, link);
        o.puts("</tr>\r\n");
    }
    html_table_close(o);
    if (f.games_ended > f.games.size())
        html_paragraph(o, "<b>%llu more games are not listed here (%llu in all).</b>",
                       static_cast<unsigned long long>(f.games_ended - f.games.size()),
                       static_cast<unsigned long long>(f.games_ended));
}

}  // namespace

void vexo_main::write_report(resultdata_total* totals) {
    html_page out(page_folder::results);
    out.open("report.htm");
    printf("\nWriting run report to \"%s\"", "report.htm");
    html_page_head(out, settings);
    html_timestamp(out);
    html_homepage_line(out, settings);
    html_ranking_links(out, settings);
    out.puts("<p class=\"title\"><a href=\"games.htm\"><font color=red>Game index</font></a></p>");
    out.puts("<p class=\"title\">Run report</p>");
    html_paragraph(out, "<b>Log files read: %i<br>Games listed: %i</b>", static_cast<int>(report.files.size()),
                   games_written);

    int index = 0;
    for (const file_report& f : report.files) file_section(out, f, ++index);

    out.puts("<p class=\"title\">Warnings</p>");
    bool any = false;
    for (int kind = 0; kind < WARNING_KINDS; kind++) any = any || warning_count(static_cast<warning_kind>(kind)) > 0;
    if (!any) {
        html_paragraph(out, "<b>No warning was printed.</b>");
    } else {
        html_table_open(out, TABLE_ATTRIBUTES);
        for (int kind = 0; kind < WARNING_KINDS; kind++) {
            const long long n = warning_count(static_cast<warning_kind>(kind));
            if (n > 0) count_row(out, warning_description(static_cast<warning_kind>(kind)), static_cast<uint64_t>(n));
        }
        html_table_close(out);
    }

    // The totals must hold exactly the kills of the games merged into them.
    uint64_t total_kills = 0;
    for (const player_total_t* p : totals->player_list()) total_kills += p->total_kills();
    out.puts("<p class=\"title\">Cross-check</p>");
    html_table_open(out, TABLE_ATTRIBUTES);
    count_row(out, "Kills in the totals (all players)", total_kills);
    count_row(out, "Kills counted in the listed games", report.kills_listed);
    html_table_close(out);
    if (total_kills == report.kills_listed)
        html_paragraph(out, "<b>The totals hold exactly the kills of the listed games.</b>");
    else
        html_paragraph(out, "<b>The totals do not add up: they hold %llu kills, but the listed games counted %llu.</b>",
                       static_cast<unsigned long long>(total_kills),
                       static_cast<unsigned long long>(report.kills_listed));
    html_page_foot(out, false);
    out.close();
}
