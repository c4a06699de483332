// diverse::deltree: recursive delete of the entries of the current folder that
// match a name or wildcard pattern. Symbolic links are deleted, never followed.
#pragma once

namespace diverse {
void deltree(const char* spec);
}
