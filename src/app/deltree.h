// diverse::deltree: recursive delete of the entries of the current folder that
// match a name or wildcard pattern, byte for byte (letter case included).
// Symbolic links are deleted, never followed.
#pragma once

namespace diverse {
void deltree(const char* spec);
}
