// Colour codes of names and chat: "^" and a digit switch the colour of the
// characters that follow. "^l" and "^s" count as "^2" and "^7" in the HTML form.
#include "parse/funname.h"

void append_escaped(std::string& result, char c) {
    switch (c) {
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        case '&': result += "&amp;"; break;
        default: result += c; break;
    }
}

namespace diverse {

static const char* const colour_names[10] = {"black", "red",    "lime",  "yellow", "blue",
                                             "cyan",  "purple", "white", "black",  "red"};

std::string funname_to_html(const char* text) {
    std::string result;
    int pending = -1;
    bool font_open = false;
    for (const char* p = text; *p;) {
        if (*p == '^') {
            char next = p[1];
            if (next == 'l') next = '2';
            else if (next == 's') next = '7';
            if (next >= '0' && next <= '9') {
                pending = next - '0';
                p += 2;
            } else {
                append_escaped(result, '^');
                p++;
            }
            continue;
        }
        if (pending >= 0) {
            if (font_open) result += "</font>";
            result += "<font color=\"";
            result += colour_names[pending];
            result += "\">";
            font_open = true;
            pending = -1;
        }
        append_escaped(result, *p);
        p++;
    }
    if (font_open) result += "</font>";
    return result;
}

std::string funname_to_ascii(const char* text) {
    std::string result;
    for (const char* p = text; *p; p++) {
        if (*p == '^' && p[1] >= '0' && p[1] <= '9') {
            p++;
            continue;
        }
        append_escaped(result, *p);
    }
    return result;
}

std::string matched_name(const char* text) {
    std::string result = funname_to_ascii(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

}  // namespace diverse
