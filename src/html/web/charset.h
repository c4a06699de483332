// charset: the text of names and chat as UTF-8. A log holds whatever bytes
// the players typed: valid UTF-8 is kept as it is; other text is decoded by
// the code page of the configuration key log_charset. Stateless, any thread.
#pragma once
#include <cstddef>
#include <string>

enum class log_charset { automatic, windows_1252, windows_1251, iso_8859_1 };

// The code page named by a value of log_charset ("auto", "windows-1252",
// "cp1252", "windows-1251", "cp1251", "iso-8859-1", "latin1"; letters in any
// case). False for any other name.
bool charset_by_name(const char* name, log_charset& result);

bool is_valid_utf8(const char* text, size_t length);

// The code page that decodes a text that is not valid UTF-8: with
// `automatic`, windows-1251 when two or more bytes in a row lie in 0xC0 to
// 0xFF (Cyrillic letters), else windows-1252.
log_charset charset_of(const char* text, size_t length, log_charset setting);

// The text in UTF-8. Control characters below 0x20 other than the tab are
// left out, bytes the code page leaves undefined become U+FFFD.
std::string to_utf8(const char* text, size_t length, log_charset setting);
inline std::string to_utf8(const std::string& text, log_charset setting) {
    return to_utf8(text.data(), text.size(), setting);
}
