// web_table: the tables of the web page set: caption, column heads with
// scope (and, for the script, data-type on the sortable ones), row heads
// and cells; wide tables in a box that scrolls by itself with the name
// column kept in view. Any thread, one page at a time.
#pragma once
#include <cstdint>
#include <string>
#include "html/web/web_page.h"

struct web_column {
    const char* label;
    const char* type;      // "num" or "text": sortable by the script; nullptr: not sortable
    bool minor = false;    // of lesser weight: hidden on narrow screens
    bool sticky = false;   // the column that names the rows: kept in view
};

// <div class="scroll"><table ...><caption>..</caption><thead>..</thead><tbody>.
// `id` may be empty; a sortable table needs one for its filters.
template <size_t N>
void web_table_open(web_page& page, const char* id, const std::string& caption_html, bool sortable,
                    const web_column (&columns)[N]);
void web_table_open(web_page& page, const char* id, const std::string& caption_html, bool sortable,
                    const web_column* columns, size_t count);
void web_table_close(web_page& page);   // </tbody></table></div>

// <tr> with the attributes given (e.g. data-name), and </tr>.
void web_row_open(web_page& page, const std::string& attributes = std::string());
void web_row_close(web_page& page);
// The row's name cell: <th scope="row" class="sticky"> (sort value `sort` when not empty).
void web_row_head(web_page& page, const std::string& html, const std::string& sort = std::string());
void web_cell(web_page& page, const std::string& html, bool minor = false, const std::string& sort = std::string());
// A term and its description (HTML) in a <dl>.
void web_fact(web_page& page, const char* term, const std::string& html);
void web_cell_int(web_page& page, long long value, bool minor = false);
// A cell of a number column (right-aligned) with the text given.
void web_cell_number(web_page& page, const std::string& text, bool minor = false,
                     const std::string& sort = std::string());
void web_cell_fixed(web_page& page, double value, int decimals, bool minor = false);

// "1:02:03" / "2:03" for seconds, and the number text of a value.
std::string web_duration(long long seconds);
std::string web_fixed(double value, int decimals);

template <size_t N>
void web_table_open(web_page& page, const char* id, const std::string& caption_html, bool sortable,
                    const web_column (&columns)[N]) {
    web_table_open(page, id, caption_html, sortable, columns, N);
}
