// html_writer construction.
#include "html/html_writer.h"

html_writer::html_writer(resultdata* game, html_page* out, const settings_t* settings)
    : games(0), out(out), settings(settings), game(game), totals(nullptr) {}

html_writer::html_writer(resultdata_total* totals, html_page* out, const settings_t* settings, int games)
    : games(games), out(out), settings(settings), game(nullptr), totals(totals) {}
