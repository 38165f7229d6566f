// Differential fuzzing of the wildcard matcher against a deliberately simple
// reference: plain recursion over the same rules. Input: pattern, zero byte,
// name. Sizes are capped so that the reference's recursion stays quick.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/wildcard.h"

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool only_wildcards(const char* p) {
  for (; *p; ++p) {
    if (*p != '*' && *p != '?') return false;
  }
  return true;
}

// `*` any run; `?` one character but a dot, or none at a dot or the end; a
// dot that only wildcards follow: a dot or the end; else the same character.
bool reference(const char* p, const char* n) {
  if (*p == '\0') return *n == '\0';
  if (*p == '*') return reference(p + 1, n) || (*n != '\0' && reference(p, n + 1));
  if (*p == '?') {
    if (*n == '\0' || *n == '.') return reference(p + 1, n);
    return reference(p + 1, n + 1);
  }
  if (*p == '.' && only_wildcards(p + 1)) {
    if (*n == '.') return reference(p + 1, n + 1);
    return *n == '\0' && reference(p + 1, n);
  }
  return *n != '\0' && lower(*p) == lower(*n) && reference(p + 1, n + 1);
}

// A pattern that ends in a dot selects names without one.
bool reference_match(std::string pattern, const std::string& name) {
  if (!pattern.empty() && pattern.back() == '.') {
    if (name.find('.') != std::string::npos) return false;
    pattern.pop_back();
  }
  return reference(pattern.c_str(), name.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pattern;
  std::string name;
  size_t i = 0;
  for (; i < size && data[i] != 0; ++i) pattern += static_cast<char>(data[i]);
  for (++i; i < size; ++i) {
    if (data[i] != 0) name += static_cast<char>(data[i]);
  }
  size_t stars = 0;
  for (char c : pattern) stars += c == '*';
  if (pattern.size() > 16 || name.size() > 32 || stars > 3) return 0;
  if (wildcard_match(pattern, name) != reference_match(pattern, name)) abort();
  return 0;
}
