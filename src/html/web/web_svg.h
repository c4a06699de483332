// web_svg: the inline SVG charts of the web page set, drawn on the server so
// that they show without the script: a bar in a table cell, and a line chart
// of a few series over a common x axis with its legend. The CSS styles them
// (.chart .bar, .line, .axis, text; series colours s0 to s7). Any thread.
#pragma once
#include <string>
#include <vector>

// A bar of `share` (0 to 1) of its cell's width, hidden from screen readers
// (the cell says the share in words).
std::string svg_bar(double share);

struct svg_series {
    std::string name_html;   // for the legend
    std::vector<std::pair<double, double>> points;   // (x, y), x rising
    bool steps = false;      // a count that changes at the points (frags over time)
};

// A line chart with its axes, the range of each axis written at its ends,
// and a legend below; `label` describes it to screen readers. Series beyond
// the eighth are left out.
std::string svg_line_chart(const std::vector<svg_series>& series, const std::string& label,
                           const std::string& x_unit, const std::string& y_unit);
