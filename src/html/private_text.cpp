// Hiding addresses, GUIDs and user-info secrets in texts of the run report.
// Addresses are told by their shape alone, so a version number of four
// parts is hidden too: a marker too many is harmless, an address shown is not.
#include "html/private_text.h"

#include <cctype>
#include <cstring>
#include <strings.h>

namespace {

bool is_hex(char c) { return isxdigit(static_cast<unsigned char>(c)) != 0; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_alnum(char c) { return isalnum(static_cast<unsigned char>(c)) != 0; }

// Digits of a port after a ':' at `at`: the length taken, ':' included, or 0.
size_t port_length(const std::string& s, size_t at) {
    if (at >= s.size() || s[at] != ':') return 0;
    size_t n = 0;
    while (at + 1 + n < s.size() && is_digit(s[at + 1 + n]) && n < 5) n++;
    if (n == 0 || (at + 1 + n < s.size() && is_digit(s[at + 1 + n]))) return 0;
    return n + 1;
}

// Four groups of one to three digits joined by dots, at `at`: their length, or 0.
size_t ipv4_length(const std::string& s, size_t at) {
    size_t p = at;
    for (int group = 0; group < 4; group++) {
        if (group > 0) {
            if (p >= s.size() || s[p] != '.') return 0;
            p++;
        }
        size_t digits = 0;
        while (p < s.size() && is_digit(s[p]) && digits < 4) p++, digits++;
        if (digits == 0 || digits > 3) return 0;
    }
    return p - at;
}

// An IPv6 address spanning exactly s[at, end): groups of one to four hex
// digits, at most one "::", eight groups without it and fewer with it, an
// IPv4 address as the last two groups allowed.
bool is_ipv6(const std::string& s, size_t at, size_t end) {
    if (end - at < 3) return false;
    int groups = 0;
    bool compressed = false;
    size_t p = at;
    if (s.compare(p, 2, "::") == 0) {
        compressed = true;
        p += 2;
        if (p == end) return false;   // "::" alone is no address worth hiding (and a C++ scope)
    } else if (s[p] == ':') {
        return false;
    }
    while (p < end) {
        size_t q = p;
        while (q < end && is_hex(s[q]) && q - p < 5) q++;
        if (q < end && s[q] == '.') {   // the IPv4 tail
            if (ipv4_length(s, p) != end - p) return false;
            groups += 2;
            p = end;
            break;
        }
        if (q == p || q - p > 4) return false;
        groups++;
        p = q;
        if (p == end) break;
        if (s[p] != ':') return false;
        p++;
        if (p < end && s[p] == ':') {
            if (compressed) return false;
            compressed = true;
            p++;
        } else if (p == end) {
            return false;   // a single ':' at the end
        }
    }
    return compressed ? groups <= 7 : groups == 8;
}

// An IPv6 address at `at` (the run of hex digits, ':' and '.' that starts
// there, a trailing '.' or ':' left out): its length, or 0.
size_t ipv6_length(const std::string& s, size_t at) {
    size_t end = at;
    while (end < s.size() && (is_hex(s[end]) || s[end] == ':' || s[end] == '.')) end++;
    if (end < s.size() && is_alnum(s[end])) return 0;   // part of a word
    while (end > at && s[end - 1] == '.') end--;
    if (end > at + 1 && s[end - 1] == ':' && s[end - 2] != ':') end--;
    return is_ipv6(s, at, end) ? end - at : 0;
}

// The marker that stands for the value of a user-info key, or null for a
// key whose value may be shown.
const char* userinfo_marker(const std::string& key) {
    static const struct {
        const char* key;
        const char* marker;
    } secret[] = {{"ip", "[address]"}, {"cl_guid", "[guid]"}, {"guid", "[guid]"},
                  {"id", "[guid]"}, {"password", "[password]"}};
    for (const auto& k : secret)
        if (strcasecmp(key.c_str(), k.key) == 0) return k.marker;
    return nullptr;
}

// "\key\value\key\value": the value after a secret key becomes its marker.
// A key is the text between two backslashes, or before the first one after
// the last blank ("0 n\Name\id\..."). Every field after a secret key's name
// is hidden, a value that reads like a key as well, so nothing is missed
// when the fields are out of step.
std::string hide_userinfo(const std::string& s) {
    if (s.find('\\') == std::string::npos) return s;
    std::string out;
    out.reserve(s.size());
    size_t start = 0;   // of the current field
    const char* hide_next = nullptr;
    for (bool first = true;; first = false) {
        size_t end = s.find('\\', start);
        if (end == std::string::npos) end = s.size();
        const std::string field = s.substr(start, end - start);
        if (hide_next && !field.empty()) out += hide_next;
        else out += field;
        std::string key = field;
        if (first) {
            const size_t blank = key.find_last_of(" \t");
            if (blank != std::string::npos) key.erase(0, blank + 1);
        }
        hide_next = end < s.size() ? userinfo_marker(key) : nullptr;
        if (end == s.size()) break;
        out += '\\';
        start = end + 1;
    }
    return out;
}

}  // namespace

std::string hide_private(const std::string& text) {
    const std::string s = hide_userinfo(text);
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const char prev = i > 0 ? s[i - 1] : ' ';
        if (is_hex(s[i]) && !is_hex(prev)) {
            size_t run = i;
            while (run < s.size() && is_hex(s[run])) run++;
            if (run - i >= 32) {
                out += "[guid]";
                i = run;
                continue;
            }
        }
        if (s[i] == '[' && i + 1 < s.size()) {   // "[v6]" and "[v6]:port"
            const size_t close = s.find(']', i + 1);
            if (close != std::string::npos && is_ipv6(s, i + 1, close)) {
                out += "[address]";
                i = close + 1;
                i += port_length(s, i);
                continue;
            }
        }
        if ((is_hex(s[i]) || s[i] == ':') && !is_alnum(prev) && prev != '.' && prev != ':') {
            if (const size_t n = ipv6_length(s, i)) {
                out += "[address]";
                i += n;
                continue;
            }
        }
        if (is_digit(s[i]) && !is_digit(prev) && prev != '.') {
            const size_t n = ipv4_length(s, i);
            if (n > 0 && !(i + n < s.size() && is_digit(s[i + n]))) {
                out += "[address]";
                i += n;
                i += port_length(s, i);
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

std::string quote_for_report(const std::string& line, size_t max_chars) {
    std::string shown = hide_private(line);
    size_t chars = 0;
    int continuing = 0;   // bytes still due to the UTF-8 sequence begun before
    for (size_t i = 0; i < shown.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(shown[i]);
        if (continuing > 0 && (c & 0xC0) == 0x80) {
            continuing--;
            continue;
        }
        continuing = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (chars++ == max_chars) {
            shown.resize(i);
            shown += "[cut]";
            break;
        }
    }
    return shown;
}

std::string file_name_for_report(const std::string& path) {
    const size_t slash = path.rfind('/');
    return hide_private(slash == std::string::npos ? path : path.substr(slash + 1));
}
