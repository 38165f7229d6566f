// Wildcard matching of one name against one pattern, by the rules of the
// Windows directory search (long names, ASCII case ignored):
//  - `*` takes any run of characters, dots included;
//  - `?` takes one character other than `.`, or none at the end of the name
//    or before a `.`;
//  - a `.` that only wildcards follow takes a `.` or the end of the name;
//  - a `.` that ends the pattern selects names without a dot;
//  - every other character matches itself.
#pragma once

#include <string>

bool has_wildcard(const std::string& text);

bool wildcard_match(const std::string& pattern, const std::string& name);
