// web_assets: the files of the web page set that every run copies into vexo_web/ unchanged
// (style sheet, script), embedded into the program at build time. Read-only, any thread.
#pragma once
#include <cstddef>
struct web_asset { const char* name; const unsigned char* data; size_t size; };
extern const web_asset web_assets[];
extern const size_t web_asset_count;
