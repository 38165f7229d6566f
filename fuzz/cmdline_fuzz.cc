// Fuzzes the command-line parser with argument vectors made from the input:
// words are separated by zero bytes. The parser either accepts the words,
// leaving settings within their ranges, or rejects them (usage).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cmdline/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1, "kestro");
  words.emplace_back();
  for (size_t i = 0; i < size && words.size() < 32; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back() += static_cast<char>(data[i]);
    }
  }
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());

  Settings parsed = INITIAL_SETTINGS;
  std::string source;
  std::string dest;
  if (!parse_arguments(static_cast<int>(argv.size()), argv.data(), parsed, source, dest)) return 0;
  const bool sane = parsed.displayLevel >= 0 && parsed.displayLevel <= 2 &&
                    parsed.displayMode >= MODE_COMPARE && parsed.displayMode <= MODE_LIST_BOTH &&
                    (parsed.attributeMask == 1 || parsed.attributeMask == 7) &&
                    (parsed.checkTimestamp == 0 || parsed.checkTimestamp == 1) &&
                    parsed.anyDifference == 0;
  if (!sane) abort();
  return 0;
}
