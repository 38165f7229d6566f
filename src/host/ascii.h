// Case conversion as the program knows it: ASCII letters only, every other
// byte (digits, punctuation, UTF-8 and other non-ASCII bytes) unchanged.
#pragma once

#include <string>

inline char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char ascii_upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string to_lower_ascii(std::string text) {
  for (char& c : text) c = ascii_lower(c);
  return text;
}

inline std::string to_upper_ascii(std::string text) {
  for (char& c : text) c = ascii_upper(c);
  return text;
}
