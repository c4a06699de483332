// web_table: table markup of the web page set.
#include "html/web/web_table.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "html/primitives.h"
#include "html/web/web_text.h"

void web_table_open(web_page& page, const char* id, const std::string& caption_html, bool sortable,
                    const web_column* columns, size_t count) {
    page.lit("<div class=\"scroll\">\n<table");
    if (sortable) page.lit(" class=\"sortable\"");
    if (id && *id) page.print(" id=\"%s\"", id);
    page.lit(">\n<caption>");
    page.puts(caption_html);
    page.lit("</caption>\n<thead>\n<tr>");
    for (size_t i = 0; i < count; i++) {
        const web_column& c = columns[i];
        page.lit("<th scope=\"col\"");
        const bool number = c.type && strcmp(c.type, "num") == 0 && !c.sticky;
        std::string classes = c.sticky ? "sticky" : "";
        if (c.minor) classes += classes.empty() ? "minor" : " minor";
        if (number) classes += classes.empty() ? "n" : " n";
        if (!classes.empty()) page.print(" class=\"%s\"", classes.c_str());
        if (sortable && c.type) page.print(" data-type=\"%s\"", c.type);
        page.lit(">");
        page.puts(c.label);
        page.lit("</th>");
    }
    page.lit("</tr>\n</thead>\n<tbody>\n");
}

void web_table_close(web_page& page) { page.lit("</tbody>\n</table>\n</div>\n"); }

void web_row_open(web_page& page, const std::string& attributes) {
    page.lit("<tr");
    if (!attributes.empty()) {
        page.lit(" ");
        page.puts(attributes);
    }
    page.lit(">");
}

void web_row_close(web_page& page) { page.lit("</tr>\n"); }

void web_row_head(web_page& page, const std::string& html, const std::string& sort) {
    page.lit("<th scope=\"row\" class=\"sticky\"");
    if (!sort.empty()) {
        page.lit(" data-v=\"");
        page.puts(html_text(sort));
        page.lit("\"");
    }
    page.lit(">");
    page.puts(html);
    page.lit("</th>");
}

void web_cell(web_page& page, const std::string& html, bool minor, const std::string& sort) {
    page.lit("<td");
    if (minor) page.lit(" class=\"minor\"");
    if (!sort.empty()) {
        page.lit(" data-v=\"");
        page.puts(html_text(sort));
        page.lit("\"");
    }
    page.lit(">");
    page.puts(html);
    page.lit("</td>");
}

void web_cell_int(web_page& page, long long value, bool minor) {
    page.puts(minor ? "<td class=\"n minor\">" : "<td class=\"n\">");
    page.put_int(value);
    page.lit("</td>");
}

void web_cell_fixed(web_page& page, double value, int decimals, bool minor) {
    web_cell_number(page, web_fixed(value, decimals), minor);
}

void web_cell_number(web_page& page, const std::string& text, bool minor, const std::string& sort) {
    page.puts(minor ? "<td class=\"n minor\"" : "<td class=\"n\"");
    if (!sort.empty()) {
        page.lit(" data-v=\"");
        page.puts(html_text(sort));
        page.lit("\"");
    }
    page.lit(">");
    page.puts(text);
    page.lit("</td>");
}

std::string web_duration(long long seconds) {
    if (seconds < 0) seconds = 0;
    char text[48];
    if (seconds >= 3600)
        snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

std::string web_fixed(double value, int decimals) {
    if (!std::isfinite(value)) return "-";
    if (decimals == 1 || decimals == 2) return format_fixed(value, decimals);   // printf's digits, faster
    char text[64];
    snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void web_fact(web_page& page, const char* term, const std::string& html) {
    page.lit("<dt>");
    page.puts(term);
    page.lit("</dt><dd>");
    page.puts(html);
    page.lit("</dd>\n");
}
