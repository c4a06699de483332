// web_assets_stub: stand-in style sheet and script until the embedded files
// of assets/web/ are built in.
#include "html/web/web_assets.h"

static const unsigned char CSS[] = "body{font-family:sans-serif}\n";
static const unsigned char JS[] = "\"use strict\";\n";
const web_asset web_assets[] = {{"vexo.css", CSS, sizeof CSS - 1}, {"vexo.js", JS, sizeof JS - 1}};
const size_t web_asset_count = 2;
