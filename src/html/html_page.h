// html_page: an output file that is one HTML page, with the state its page
// primitives keep while it is written: where the page lies, and the attribute
// text of its next table cells. Each page owns its state, so pages written on
// different threads share none.
#pragma once
#include <string>
#include "app/outfile.h"

// Where a page lies: in the results folder itself, or one folder below it
// (vexo_games, vexo_players), where its link to the stylesheet goes up.
enum class page_folder { results, subfolder };

class html_page : public outfile {
public:
    explicit html_page(page_folder folder) : in_subfolder(folder == page_folder::subfolder) {}

    const bool in_subfolder;
    // Attribute text of the next cells, set by html_set_cell_attributes;
    // "<td>" until the page sets it (every page writer does before its
    // first cell).
    std::string cell_attributes = "<td>";
};
