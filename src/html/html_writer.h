// html_writer: writes the sections of one page: the game sections (game info,
// teams, players, pickups, kill charts, data file), the ranking page and the
// sections of a per-player page.
#pragma once
#include "html/html_page.h"

class settings_t;
class resultdata;
class resultdata_total;
class player_total_t;

class html_writer {
public:
    html_writer(resultdata* game, html_page* out, const settings_t* settings);
    html_writer(resultdata_total* totals, html_page* out, const settings_t* settings, int games);
    virtual ~html_writer() {}

    int games;
    html_page* out;
    const settings_t* settings;
    resultdata* game;
    resultdata_total* totals;

    // Game sections.
    void game_info();
    void teams_table();
    void players_table(bool full);
    void health_armor_pickups();
    void powerup_pickups();
    void weapon_pickups();
    void ammo_pickups();
    void killchart(int weapon);
    void write_data_file(int game_number);

    // Ranking page.
    void ranking_page(int top);

    // Per-player page sections.
    void player_info(const player_total_t& player);
    void weapon_stats(const player_total_t& player);
    void player_vs_player(player_total_t& player);

private:
    void left_head_cells();
    void left_row_cells(int slot);
    void pickup_table(const char* title, const char* head_attributes, const char* const* heads,
                      const int* items);
};
