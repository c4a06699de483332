// web_text: text for the web page set, from UTF-8 text (see charset.h):
// HTML escaping, colour-coded names as spans of the classes c0 to c7, names
// without codes, JSON strings that are safe inside a script element.
// Stateless, any thread.
#pragma once
#include <string>

// Appends the text with & < > " ' escaped: fit for element text and for
// attribute values in double quotes.
void append_html(std::string& out, const std::string& text);
std::string html_text(const std::string& text);

// The name with its colour codes ("^" and a digit; "^l" counts as "^2", "^s"
// as "^7") as runs of <span class="cN">, N the digit modulo 8; text before
// the first code and a name without codes come without a span. Escaped.
std::string coloured_html(const std::string& name);
// The name without "^"-digit pairs, not escaped.
std::string plain_text(const std::string& name);

// A JSON string in double quotes. Besides what JSON asks, "<", ">" and "&"
// are written as \u003c, \u003e and \u0026 and U+2028/U+2029 escaped, so the
// text can stand in a script file or element.
void append_json(std::string& out, const std::string& text);
std::string json_string(const std::string& text);

// The text with the capital letters of ASCII, Latin-1 and Cyrillic made
// small: the form in which the script matches names.
std::string lower_text(const std::string& text);
