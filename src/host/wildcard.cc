#include "host/wildcard.h"

#include <vector>

#include "host/ascii.h"

bool has_wildcard(const std::string& text) {
  for (const char c : text) {
    if (c == '*' || c == '?') return true;
  }
  return false;
}

namespace {

// True when everything from `from` on is `*` or `?` (or nothing).
bool only_wildcards_from(const std::string& pattern, size_t from) {
  return pattern.find_first_not_of("*?", from) == std::string::npos;
}

}  // namespace

bool wildcard_match(const std::string& fullPattern, const std::string& name) {
  std::string pattern = fullPattern;
  if (!pattern.empty() && pattern.back() == '.') {
    if (name.find('.') != std::string::npos) return false;
    pattern.pop_back();
  }
  if (pattern == "*" || pattern == "*.*") return true;

  // matches[i * (n + 1) + j]: pattern from i matches name from j. Filled from
  // the ends backwards; time and space are pattern length times name length,
  // so no pattern can make a lookup slow.
  const size_t m = pattern.size();
  const size_t n = name.size();
  std::vector<char> matches((m + 1) * (n + 1), 0);
  auto at = [&](size_t i, size_t j) -> char& { return matches[i * (n + 1) + j]; };
  at(m, n) = 1;
  for (size_t i = m; i-- > 0;) {
    const char p = pattern[i];
    const bool dotBeforeWildcards = p == '.' && only_wildcards_from(pattern, i + 1);
    for (size_t j = n + 1; j-- > 0;) {
      const bool atEnd = j == n;
      const char c = atEnd ? '\0' : name[j];
      bool ok;
      if (p == '*') {
        ok = at(i + 1, j) || (!atEnd && at(i, j + 1));
      } else if (p == '?') {
        ok = (!atEnd && c != '.' && at(i + 1, j + 1)) ||
             ((atEnd || c == '.') && at(i + 1, j));
      } else if (dotBeforeWildcards) {
        ok = (!atEnd && c == '.' && at(i + 1, j + 1)) || (atEnd && at(i + 1, j));
      } else {
        ok = !atEnd && ascii_lower(p) == ascii_lower(c) && at(i + 1, j + 1);
      }
      at(i, j) = ok;
    }
  }
  return at(0, 0);
}
