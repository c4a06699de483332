// diverse::deltree: recursive delete of the entries of a folder (given by its
// handle) that match a name or wildcard pattern, byte for byte (letter case
// included). Symbolic links are deleted, never followed.
#pragma once

namespace diverse {
void deltree(int folder, const char* spec);
}
