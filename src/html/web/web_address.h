// web_address: the file names of the web page set that must stay the same
// from run to run: a player's page is named by a hash of the player's matched
// name (plain, lower-cased), a map's page by the map name. Any thread.
#pragma once
#include <string>

// "p/<12 hex digits>.html": 48 bits of the FNV-1a hash of the matched name.
std::string player_address(const std::string& matched_name);
// "m/<name>.html": the map name with every byte other than a-z, 0-9, "_" and
// "-" made "_", and, when that changed it, "-" and 6 hex digits of its hash.
std::string map_address(const std::string& map_name);
