// charset: UTF-8 check, code-page choice and decoding of log text.
#include "html/web/charset.h"

#include <strings.h>

namespace {

// Code points of the bytes 0x80 to 0xFF.
const unsigned short WINDOWS_1251[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};
// 0x80 to 0x9F; from 0xA0 on windows-1252 is Latin-1.
const unsigned short WINDOWS_1252[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

unsigned code_point(unsigned char byte, log_charset charset) {
    if (byte < 0x80) return byte;
    switch (charset) {
        case log_charset::windows_1251:
            return byte >= 0xC0 ? 0x0410u + (byte - 0xC0u) : WINDOWS_1251[byte - 0x80];
        case log_charset::iso_8859_1:
            return byte >= 0xA0 ? byte : 0xFFFD;   // 0x80 to 0x9F are control codes
        default:
            return byte >= 0xA0 ? byte : WINDOWS_1252[byte - 0x80];
    }
}

void append_code_point(std::string& out, unsigned c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool is_control(unsigned char c) { return c < 0x20 && c != '\t'; }

}  // namespace

bool charset_by_name(const char* name, log_charset& result) {
    static const struct {
        const char* name;
        log_charset charset;
    } names[] = {
        {"auto", log_charset::automatic},          {"windows-1252", log_charset::windows_1252},
        {"cp1252", log_charset::windows_1252},     {"windows-1251", log_charset::windows_1251},
        {"cp1251", log_charset::windows_1251},     {"iso-8859-1", log_charset::iso_8859_1},
        {"latin1", log_charset::iso_8859_1},
    };
    for (const auto& n : names)
        if (strcasecmp(name, n.name) == 0) {
            result = n.charset;
            return true;
        }
    return false;
}

bool is_valid_utf8(const char* text, size_t length) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + length;
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            p++;
            continue;
        }
        int more;
        unsigned min;
        if (c >= 0xC2 && c <= 0xDF) more = 1, min = 0x80;
        else if (c >= 0xE0 && c <= 0xEF) more = 2, min = 0x800;
        else if (c >= 0xF0 && c <= 0xF4) more = 3, min = 0x10000;
        else return false;
        if (end - p <= more) return false;
        unsigned value = c & (0x3F >> more);
        for (int i = 1; i <= more; i++) {
            if ((p[i] & 0xC0) != 0x80) return false;
            value = value << 6 | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and code points above U+10FFFF.
        if (value < min || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return false;
        p += more + 1;
    }
    return true;
}

log_charset charset_of(const char* text, size_t length, log_charset setting) {
    if (setting != log_charset::automatic) return setting;
    int run = 0;
    for (size_t i = 0; i < length; i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        run = c >= 0xC0 ? run + 1 : 0;
        if (run >= 2) return log_charset::windows_1251;
    }
    return log_charset::windows_1252;
}

std::string to_utf8(const char* text, size_t length, log_charset setting) {
    std::string out;
    out.reserve(length + length / 2);
    if (is_valid_utf8(text, length)) {
        for (size_t i = 0; i < length; i++)
            if (!is_control(static_cast<unsigned char>(text[i]))) out += text[i];
        return out;
    }
    const log_charset charset = charset_of(text, length, setting);
    for (size_t i = 0; i < length; i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!is_control(c)) append_code_point(out, code_point(c, charset));
    }
    return out;
}
