// libFuzzer target: the text of names and chat on the web pages. Any bytes,
// decoded by each code-page setting, must give valid UTF-8 without control
// codes; its coloured HTML form must hold no "<" or ">" but those of its span
// tags and no "&" that starts no entity, and its JSON string no "<" at all.
#include <cstdint>
#include <cstdlib>
#include <string>
#include "html/web/charset.h"
#include "html/web/web_text.h"

namespace {

void check_html(const std::string& html) {
    for (size_t i = 0; i < html.size(); i++) {
        if (html.compare(i, 13, "<span class=\"") == 0) {
            const size_t end = html.find("\">", i);
            if (end == std::string::npos || end != i + 15 || html[i + 13] != 'c') abort();
            i = end + 1;
        } else if (html.compare(i, 7, "</span>") == 0) {
            i += 6;
        } else if (html[i] == '<' || html[i] == '>' || html[i] == '"') {
            abort();
        } else if (html[i] == '&' && html.find(';', i) == std::string::npos) {
            abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    for (log_charset c : {log_charset::automatic, log_charset::windows_1252, log_charset::windows_1251,
                          log_charset::iso_8859_1}) {
        const std::string utf8 = to_utf8(text, size, c);
        if (!is_valid_utf8(utf8.data(), utf8.size())) abort();
        for (unsigned char b : utf8)
            if (b < 0x20 && b != '\t') abort();
        check_html(coloured_html(utf8));
        if (json_string(utf8).find('<') != std::string::npos) abort();
        if (!is_valid_utf8(lower_text(utf8).data(), utf8.size())) abort();
    }
    return 0;
}
