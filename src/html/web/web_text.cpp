// web_text: escaping and colour codes of the web page set.
#include "html/web/web_text.h"

#include <cstdio>

void append_html(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
}

std::string html_text(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    append_html(out, text);
    return out;
}

static int colour_digit(const std::string& name, size_t at) {
    if (at + 1 >= name.size() || name[at] != '^') return -1;
    const char c = name[at + 1];
    if (c >= '0' && c <= '9') return c - '0';
    if (c == 'l') return 2;
    if (c == 's') return 7;
    return -1;
}

std::string coloured_html(const std::string& name) {
    std::string out;
    std::string run;
    int pending = -1;   // the colour of the next visible character
    int open = -1;      // the colour of the open span
    auto flush = [&] {
        if (run.empty()) return;
        if (open >= 0) out += "<span class=\"c" + std::to_string(open % 8) + "\">";
        append_html(out, run);
        if (open >= 0) out += "</span>";
        run.clear();
    };
    for (size_t i = 0; i < name.size(); i++) {
        const int digit = colour_digit(name, i);
        if (digit >= 0) {
            pending = digit;
            i++;
            continue;
        }
        if (pending >= 0 && pending % 8 != open % 8) {
            flush();
            open = pending;
        }
        pending = -1;
        run += name[i];
    }
    flush();
    return out;
}

std::string plain_text(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); i++) {
        if (name[i] == '^' && i + 1 < name.size() && name[i + 1] >= '0' && name[i + 1] <= '9') {
            i++;
            continue;
        }
        out += name[i];
    }
    return out;
}

void append_json(std::string& out, const std::string& text) {
    out += '"';
    for (size_t i = 0; i < text.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char escape[8];
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '<': out += "\\u003c"; break;
            case '>': out += "\\u003e"; break;
            case '&': out += "\\u0026"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                           (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xA8) {
                    out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
                    i += 2;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

std::string json_string(const std::string& text) {
    std::string out;
    append_json(out, text);
    return out;
}

std::string lower_text(const std::string& text) {
    std::string out = text;
    for (size_t i = 0; i < out.size(); i++) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if ((c == 0xC3 || c == 0xD0) && i + 1 < out.size()) {
            // Two-byte letters: U+00C0..U+00DE (not U+00D7), U+0400..U+042F.
            unsigned cp = (c & 0x1Fu) << 6 | (static_cast<unsigned char>(out[i + 1]) & 0x3Fu);
            unsigned lower = cp;
            if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) lower = cp + 0x20;
            else if (cp >= 0x410 && cp <= 0x42F) lower = cp + 0x20;
            else if (cp >= 0x400 && cp <= 0x40F) lower = cp + 0x50;
            if (lower != cp) {
                out[i] = static_cast<char>(0xC0 | (lower >> 6));
                out[i + 1] = static_cast<char>(0x80 | (lower & 0x3F));
            }
            i++;
        }
    }
    return out;
}
