// Player names and chat texts carry colour codes ('^' and a digit). Two forms:
// HTML with font elements, and plain text without the codes; both escaped.
#pragma once
#include <string>

void append_escaped(std::string& result, char c);

namespace diverse {
std::string funname_to_html(const char* text);
std::string funname_to_ascii(const char* text);
// Plain form, lower-cased (A to Z): the name by which players are matched.
std::string matched_name(const char* text);
}
