// The sections of a game page and of a game-list entry: game info, teams,
// players, the four pickup tables and the kill charts.
#include <string>

#include "app/settings.h"
#include "game/resultdata.h"
#include "html/html_writer.h"
#include "html/primitives.h"

static const char* const TABLE_ATTRIBUTES = "border=1 cellspacing=0 bordercolor=#000000 bgcolor=#606060";

void html_writer::game_info() {
    html_page& o = *out;
    html_paragraph(o, "<b>Game info</b>");
    html_table_open(o, "border=1 cellspacing=0 bordercolor=#000000");
    auto row = [&o](const char* label, const std::string& value) {
        o.puts("<tr>\r\n");
        html_set_cell_attributes(o, "bgcolor=#000080");
        html_head_cell_text(o, label);
        html_set_cell_attributes(o, "bgcolor=#606060");
        html_cell(o, "<p align=right>%s</p>", value.c_str());
        o.puts("</tr>\r\n");
    };
    row("Map", html_escape(game->map_name));
    row("Game", html_escape(game->game_name));
    row("Gametype", game->game_type_name);
    row("Timelimit", std::to_string(game->timelimit));
    row("Fraglimit", std::to_string(game->fraglimit));
    html_table_close(o);
}

void html_writer::teams_table() {
    if (!game->team_game) return;
    html_page& o = *out;
    html_paragraph(o, "<b>Teams</b>");
    html_table_open(o, TABLE_ATTRIBUTES);
    o.puts("<tr align=right bgcolor=#000080>\r\n");
    html_set_cell_attributes(o, "align=left");
    for (const char* head : {"Team", "Eff", "Skill", "Score", "Frags", "Kills", "Killed", "Suicides",
                             "Deaths", "T.deaths", "Teamkills"})
        html_head_cell_text(o, head);
    o.puts("</tr>\r\n");
    const bool red_first = game->team_strength(1) > game->team_strength(2);
    for (int t : {red_first ? 1 : 2, red_first ? 2 : 1}) {
        player_t& team = game->team_results[t];
        o.puts("<tr align=right>\r\n");
        html_set_cell_attributes(o, "align=left");
        html_cell_text(o, t == 1 ? "<b><font color=red>Red</font></b>" : "<b><font color=blue>Blue</font></b>");
        html_set_cell_attributes(o, "");
        html_cell_fixed(o, team.eff(), 1);
        html_cell_fixed(o, team.skill(), 2);
        html_cell_int(o, game->team_strength(t) - static_cast<int>(team.teamkills[0]));
        html_cell_int(o, game->team_strength(t));
        html_cell_int(o, team.kills[0]);
        html_cell_int(o, team.killed[0]);
        html_cell_int(o, team.suicides[0]);
        html_cell_int(o, team.world_deaths);
        html_cell_int(o, team.total_deaths());
        html_cell_int(o, team.teamkills[0]);
        o.puts("</tr>\r\n");
    }
    html_table_close(o);
}

static const char* row_open(int index) {
    return index % 2 == 0 ? "<tr align=right bgcolor=#808080>\r\n" : "<tr align=right>\r\n";
}

void html_writer::players_table(bool full) {
    html_page& o = *out;
    const bool team = game->team_game;
    const bool bots = !settings->skip_bots;
    if (team) {
        // vexo_main::list_game has put the players in team order.
        html_paragraph(o, "<b>Players (sorted by team and score)</b>");
    } else if (full) {
        html_paragraph(o, "<b>Players (sorted by %s)</b>", sort_order_name(settings->sort_order));
    }
    html_table_open(o, TABLE_ATTRIBUTES);
    o.puts("<tr align=right bgcolor=#000080>\r\n");
    html_set_cell_attributes(o, "align=left width=20");
    html_head_cell_text(o, "#");
    html_set_cell_attributes(o, "align=left");
    html_head_cell_text(o, "Name");
    if (team) html_head_cell_text(o, "Team");
    html_set_cell_attributes(o, "");
    if (bots) html_head_cell_text(o, "Bot");
    html_head_cell_text(o, "Ratio");
    html_head_cell_text(o, "Eff");
    html_head_cell_text(o, "Skill");
    if (team) html_head_cell_text(o, "Score");
    for (const char* head : {"Frags", "Kills", "Killed", "Suicides", "Deaths", "T.deaths"})
        html_head_cell_text(o, head);
    if (team) html_head_cell_text(o, "Teamkills");
    for (const char* head : {"MKIOL", "Avg. life", "FPM", "DPM", "Playtime"}) html_head_cell_text(o, head);
    o.puts("</tr>\r\n");

    for (int i = 0; i < game->player_count; i++) {
        player_t& p = game->players[i];
        o.puts(row_open(i));
        left_row_cells(i);
        html_cell_text(o, ratio_text(p.ratio()));
        html_cell_fixed(o, p.eff(), 1);
        html_cell_fixed(o, p.skill(), 2);
        if (team) html_cell_int(o, p.score());
        html_count_cells(o, p);
        if (team) html_cell_int(o, p.teamkills[0]);
        if (p.mkiol == 0) {
            html_set_cell_attributes(o, "align=center");
            html_cell_text(o, "-");
            html_set_cell_attributes(o, "");
        } else {
            html_cell(o, "%u (%s)", p.mkiol, format_min_sec(static_cast<int>(p.mkiol_time)).c_str());
        }
        html_cell_text(o, format_min_sec(static_cast<int>(p.playtime / (p.total_deaths() + 1))));
        html_rate_cells(o, p);
        html_cell_text(o, format_hm(static_cast<int>(p.playtime)));
        o.puts("</tr>\r\n");
    }
    html_table_close(o);
}

void html_writer::left_head_cells() {
    html_page& o = *out;
    html_set_cell_attributes(o, "align=left width=20");
    html_head_cell_text(o, "#");
    html_set_cell_attributes(o, "align=left");
    html_head_cell_text(o, "Name");
    if (game->team_game) html_head_cell_text(o, "Team");
    if (!settings->skip_bots) {
        html_set_cell_attributes(o, "align=center");
        html_head_cell_text(o, "Bot");
    }
}

void html_writer::left_row_cells(int slot) {
    html_page& o = *out;
    player_t& p = game->players[slot];
    html_set_cell_attributes(o, "align=left");
    html_cell_int(o, slot + 1);
    html_cell_text(o, "<b>" + p.get_display_name(settings->no_funnames) + "</b>");
    if (game->team_game) html_cell_text(o, "<center><b>" + team_letters(p.teams) + "</b></center>");
    if (!settings->skip_bots) html_bot_cell(o, p);
    html_set_cell_attributes(o, "");
}

void html_writer::pickup_table(const char* title, const char* head_attributes, const char* const* heads,
                               const int* items) {
    html_page& o = *out;
    html_paragraph(o, "%s", title);
    html_table_open(o, TABLE_ATTRIBUTES);
    o.puts("<tr align=right bgcolor=#000080>\r\n");
    left_head_cells();
    html_set_cell_attributes(o, head_attributes);
    for (int k = 0; k < 8; k++) html_head_cell_text(o, heads[k]);
    o.puts("</tr>\r\n");
    for (int i = 0; i < game->player_count; i++) {
        o.puts(row_open(i));
        left_row_cells(i);
        for (int k = 0; k < 8; k++) html_cell_int(o, game->players[i].items[items[k]]);
        o.puts("</tr>\r\n");
    }
    html_table_close(o);
}

void html_writer::health_armor_pickups() {
    html_page& o = *out;
    html_paragraph(o, "<b>Health & Armor pickups</b>");
    html_table_open(o, TABLE_ATTRIBUTES);
    o.puts("<tr align=right bgcolor=#000080>\r\n");
    left_head_cells();
    html_set_cell_attributes(o, "align=center colspan=5");
    html_head_cell_text(o, "Health");
    html_set_cell_attributes(o, "align=center colspan=4");
    html_head_cell_text(o, "Armor");
    html_set_cell_attributes(o, "align=center");
    o.puts("</tr>\r\n");
    o.puts("<tr align=right bgcolor=#000080>\r\n");
    int left_columns = 2 + (game->team_game ? 1 : 0) + (settings->skip_bots ? 0 : 1);
    char colspan[32];
    snprintf(colspan, sizeof colspan, "colspan=%i", left_columns);
    html_set_cell_attributes(o, colspan);
    html_cell_text(o, "&nbsp;");
    html_set_cell_attributes(o, "");
    o.puts("<td>Small</td><td>Normal</td><td>Large</td><td>Mega</td><td><b>Total</b></td>");
    o.puts("<td>Shard</td><td>Combat</td><td>Body</td><td><b>Total</b></td>");
    o.puts("</tr>\r\n");
    for (int i = 0; i < game->player_count; i++) {
        const uint32_t* it = game->players[i].items;
        o.puts(row_open(i));
        left_row_cells(i);
        html_cell_int(o, it[ITEM_HEALTH_SMALL]);
        html_cell_int(o, it[ITEM_HEALTH]);
        html_cell_int(o, it[ITEM_HEALTH_LARGE]);
        html_cell_int(o, it[ITEM_HEALTH_MEGA]);
        html_cell_int(o, 5 * it[ITEM_HEALTH_SMALL] + 25 * it[ITEM_HEALTH] + 50 * it[ITEM_HEALTH_LARGE] +
                               100 * it[ITEM_HEALTH_MEGA]);
        html_cell_int(o, it[ITEM_ARMOR_SHARD]);
        html_cell_int(o, it[ITEM_ARMOR_COMBAT]);
        html_cell_int(o, it[ITEM_ARMOR_BODY]);
        html_cell_int(o, 5 * it[ITEM_ARMOR_SHARD] + 50 * it[ITEM_ARMOR_COMBAT] + 100 * it[ITEM_ARMOR_BODY]);
        o.puts("</tr>\r\n");
    }
    html_table_close(o);
}

static const char* const WEAPON_HEADS[8] = {"Shotgun", "G-Launcher", "R-Launcher", "Machinegun",
                                            "Lightning", "Railgun", "Plasmagun", "BFG"};

void html_writer::powerup_pickups() {
    static const char* const heads[8] = {"Quad", "Regen", "Haste", "Invis", "B-suit", "Flight", "Medkit",
                                         "Teleporter"};
    static const int items[8] = {ITEM_QUAD, ITEM_REGEN, ITEM_HASTE, ITEM_INVIS,
                                 ITEM_ENVIRO, ITEM_FLIGHT, HOLDABLE_MEDKIT, HOLDABLE_TELEPORTER};
    pickup_table("<b>Powerup pickups</b>", "align=center", heads, items);
}

void html_writer::weapon_pickups() {
    static const int items[8] = {WEAPON_SHOTGUN, WEAPON_GRENADELAUNCHER, WEAPON_ROCKETLAUNCHER,
                                 WEAPON_MACHINEGUN, WEAPON_LIGHTNING, WEAPON_RAILGUN,
                                 WEAPON_PLASMAGUN, WEAPON_BFG};
    pickup_table("<b>Weapon pickups</b>", "", WEAPON_HEADS, items);
}

void html_writer::ammo_pickups() {
    static const int items[8] = {AMMO_SHELLS, AMMO_GRENADES, AMMO_ROCKETS, AMMO_BULLETS,
                                 AMMO_LIGHTNING, AMMO_SLUGS, AMMO_CELLS, AMMO_BFG};
    pickup_table("<b>Ammo pickups</b>", "", WEAPON_HEADS, items);
}

void html_writer::killchart(int w) {
    html_page& o = *out;
    html_set_cell_attributes(o, "");
    const uint32_t total = game->get_weapon_total(w);
    if (total == 0) return;
    const int n = game->player_count;
    html_table_open(o, "border=1 cellspacing=0 bgcolor=#606060 bordercolor=#000000");
    o.print("<tr bgcolor=000080>\r\n<td align=center colspan=%i><b>Killchart (%s)</b></td>\r\n</tr>\r\n", n + 3,
            weapon_name(game->weapon_of_slot(w)).c_str());
    o.puts("<tr>\r\n<td>&nbsp;</td>\r\n<td>&nbsp;</td>\r\n");
    for (int j = 1; j <= n; j++) {
        o.lit("<td><p align=center><font color=#FF0000><b>");
        o.put_int(j);
        o.lit("</b></font></p></td>\r\n");
    }
    o.lit("<td><b>KILLS</b></td>\r\n");
    o.lit("</tr>\r\n");
    for (int i = 0; i < n; i++) {
        const player_t& p = game->players[i];
        if (p.name[0]) {
            o.lit("<tr>\r\n<td><b>");
            o.puts(p.name_ascii);
            o.lit("</b></td>\r\n");
        } else {
            o.lit("<tr>\r\n<td>&nbsp;</td>\r\n");
        }
        o.lit("<td width=20><p align=center><font color=#FF0000><b>");
        o.put_int(i + 1);
        o.lit("</b></font></p></td>\r\n");
        for (int j = 0; j < n; j++) {
            unsigned count = game->get_kills_vs(i, j, w);
            if (j == i) {
                o.lit("<td width=20><p align=right><font color=#0000FF>");
                o.put_uint(count);
                o.lit("</font></p></td>\r\n");
            } else {
                o.lit("<td width=20><p align=right>");
                o.put_uint(count);
                o.lit("</p></td>\r\n");
            }
        }
        o.lit("<td><p align=right><b>");
        o.put_uint(p.kills[w]);
        o.lit("</b></p></td>\r\n");
        o.lit("</tr>\r\n");
    }
    o.lit("<tr>\r\n<td><b>DEATHS</b></td>\r\n");
    o.lit("<td>&nbsp;</td>\r\n");
    for (int j = 0; j < n; j++) {
        o.lit("<td><p align=right><b>");
        o.put_uint(game->players[j].killed[w]);
        o.lit("</b></p></td>\r\n");
    }
    o.lit("<td><p align=right><b>");
    o.put_uint(total);
    o.lit("</b></p></td>\r\n");
    o.lit("</tr>\r\n");
    html_table_close(o);
    html_p_open(o);
    html_p_close(o);
}

void html_writer::write_data_file(int game_number) {
    // The base game's weapons: kills, then deaths, of each.
    const int* weapons = game->game_dialect->data_file_weapons;
    int slots[11];
    for (int k = 0; k < 11; k++) slots[k] = weapons ? game->slot_of_weapon(weapons[k]) : 0;
    outfile data;
    // Written from the results folder, named as seen from the game pages.
    data.open_append("vexodata.txt", "../vexodata.txt");
    for (int i = 0; i < game->player_count; i++) {
        const player_t& p = game->players[i];
        data.put_int(game_number);
        data.lit(",");
        data.puts(p.name_ascii);
        for (uint32_t value : {p.kills[0], p.killed[0], p.suicides[0], p.world_deaths}) {
            data.lit(",");
            data.put_uint(value);
        }
        data.lit(",");
        data.puts(format_hms(static_cast<int>(p.playtime)));
        for (int s : slots) {
            data.lit(",");
            data.put_uint(s ? p.kills[s] : 0);
        }
        for (int s : slots) {
            data.lit(",");
            data.put_uint(s ? p.killed[s] : 0);
        }
        data.puts("\r\n");
    }
    data.close();

    // Every weapon of every dialect: one line per player and weapon used.
    const std::vector<int> order = game->weapon_slots_in_order();
    outfile by_weapon;
    by_weapon.open_append("vexoweapons.txt", "../vexoweapons.txt");
    for (int i = 0; i < game->player_count; i++) {
        const player_t& p = game->players[i];
        for (size_t k = 1; k < order.size(); k++) {
            const int s = order[k];
            if (p.kills[s] == 0 && p.killed[s] == 0) continue;
            by_weapon.put_int(game_number);
            by_weapon.lit(",");
            by_weapon.puts(p.name_ascii);
            by_weapon.lit(",");
            by_weapon.puts(weapon_name(game->weapon_of_slot(s)));
            by_weapon.lit(",");
            by_weapon.put_uint(p.kills[s]);
            by_weapon.lit(",");
            by_weapon.put_uint(p.killed[s]);
            by_weapon.puts("\r\n");
        }
    }
    by_weapon.close();
}
