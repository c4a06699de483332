// web_address: the file names of the pages in vexo_web/ that must stay the
// same from run to run: a player's page is named by a hash of the player's
// matched name (plain, lower-cased), a map's page by the map name, a game's
// by its number. All lie in vexo_web/ itself. Any thread.
#pragma once
#include <string>

// "player_<12 hex digits>.html": 48 bits of the FNV-1a hash of the matched name.
std::string player_address(const std::string& matched_name);
// "map_<name>.html": the map name with every byte other than a-z, 0-9, "_"
// and "-" made "_", and, when that changed it, "-" and 6 hex digits of its hash.
std::string map_address(const std::string& map_name);
// "game_<number>.html".
std::string game_address(int number);
