// read_int: decimal numbers of log lines and arguments, read the way atoi reads
// them (blanks skipped, optional sign, digits up to the first other character),
// but saturating at the 32-bit limits instead of overflowing.
#pragma once

namespace diverse {
int read_int(const char* text);
}
