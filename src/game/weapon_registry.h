// The run's weapon registry: every weapon of every dialect met in a run under
// a small number, known by its display name. Number 0 is "All weapons" (the
// total of every per-weapon array), 1 to 22 are the base game's weapon ids;
// the weapons of the dialects' tables follow in table order, then those of
// MOD texts no table knows in the order met. The order of the numbers is the
// order in which pages list weapons.
//
// Process-wide. Only the parser's thread adds weapons; any thread may read
// the name of a number it was given (names never move once added).
#pragma once
#include <string>

namespace weapon_registry {

constexpr int MAX_NUMBERS = 1 << 16;

// The number of the weapon of this name; a new number for a name not met
// before; 0 once MAX_NUMBERS weapons are known (counted in the totals only).
int number_of(const std::string& name);
// The number of the weapon of this name, or -1.
int find(const std::string& name);
// How many numbers are given.
int count();
// For the dialects' tables, while all_dialects() resolves them (before any
// other use): the number of a table's weapon name, new in table order.
int add_table_weapon(const std::string& name);

}  // namespace weapon_registry

// The display name of a weapon number ("weapon <n>" for a number not given).
std::string weapon_name(int number);
