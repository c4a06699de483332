// web_game_row: one game as a row of the game tables of the web page set (the
// game lists, the map pages, the landing page), with the table's columns.
// Any thread, one page at a time.
#pragma once
#include "html/web/web_site.h"
#include "html/web/web_table.h"

constexpr size_t WEB_GAME_COLUMN_COUNT = 7;
extern const web_column WEB_GAME_COLUMNS[WEB_GAME_COLUMN_COUNT];

// The row carries data-map and data-type for the filters of the script.
void web_game_row(web_page& page, const web_game& game, const web_site& site);
