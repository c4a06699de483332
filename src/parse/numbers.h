// read_int: decimal numbers of log lines and arguments, read the way atoi reads
// them (blanks skipped, optional sign, digits up to the first other character),
// but saturating at the 32-bit limits instead of overflowing.
#pragma once

namespace diverse {
// `end`, when given, receives the position after the digits, or `text` itself
// when there were none.
int read_int(const char* text, const char** end = nullptr);
}
