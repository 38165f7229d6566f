#include "cmdline/cmdline.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ParseRow {
  std::vector<const char*> words;  // argv[1] onwards
  bool valid;
  int level;
  int mode;
  int mask;
  int timestamp;
  const char* source;
  const char* dest;
};

// Valid rows list the settings and the two texts they end with; invalid rows
// only say that the usage text is due.
const ParseRow PARSE_ROWS[] = {
    {{"a", "b"}, true, 2, MODE_COMPARE, 1, 0, "a", "b"},
    {{"a,b"}, true, 2, MODE_COMPARE, 1, 0, "a", "b"},
    {{"a,b", "-d1t"}, true, 1, MODE_COMPARE, 1, 1, "a", "b"},
    {{"a/t", "b"}, true, 2, MODE_COMPARE, 1, 1, "a", "b"},
    {{"-ht", "a", "b"}, true, 2, MODE_COMPARE, 7, 1, "a", "b"},
    {{"-th", "a", "b"}, true, 2, MODE_COMPARE, 7, 1, "a", "b"},
    {{"-t-h", "/D2", "a", "b"}, true, 2, MODE_COMPARE, 7, 1, "a", "b"},
    {{"-h", "a", "b"}, true, 2, MODE_COMPARE, 7, 0, "a", "b"},
    {{"-dd", "-d2", "a", "b"}, true, 2, MODE_COMPARE, 1, 0, "a", "b"},
    {{"-d0", "-dd", "a", "b"}, true, 0, MODE_LIST_DIFFER, 1, 0, "a", "b"},
    {{"-d1", "-dM", "a", "b"}, true, 1, MODE_LIST_MISSING, 1, 0, "a", "b"},
    {{"/d+", "a", "b"}, true, 2, MODE_LIST_BOTH, 1, 0, "a", "b"},
    {{"-D0", "a", "b"}, true, 0, MODE_COMPARE, 1, 0, "a", "b"},
    {{"--t", "/d1/t", "a", "b"}, true, 1, MODE_COMPARE, 1, 1, "a", "b"},
    {{"-", "", "/", "a", "b"}, true, 2, MODE_COMPARE, 1, 0, "a", "b"},
    {{"a,"}, true, 2, MODE_COMPARE, 1, 0, "a", ""},
    {{",,,", "b"}, true, 2, MODE_COMPARE, 1, 0, "", "b"},
    {{"\"a,b\"", "c"}, true, 2, MODE_COMPARE, 1, 0, "a,b", "c"},
    {{"\"-x /y\"", "\"c"}, true, 2, MODE_COMPARE, 1, 0, "-x /y", "c"},
    {{"\"a\"b"}, true, 2, MODE_COMPARE, 1, 0, "a", "b"},
    {{"\"a\"/t", "b"}, true, 2, MODE_COMPARE, 1, 1, "a", "b"},
    {{"work\\sub", "c:\\save\\*.bak"}, true, 2, MODE_COMPARE, 1, 0, "work\\sub", "c:\\save\\*.bak"},
    {{}, false, 0, 0, 0, 0, "", ""},
    {{"a"}, false, 0, 0, 0, 0, "", ""},
    {{"a", "b", "c"}, false, 0, 0, 0, 0, "", ""},
    {{"a,b", "c"}, false, 0, 0, 0, 0, "", ""},
    {{"a,", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"a/t,b"}, false, 0, 0, 0, 0, "", ""},
    {{"/?", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"--help", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"-d3", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"-dx", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"a", "b", "-d"}, false, 0, 0, 0, 0, "", ""},
    {{"-d-", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"-dd1", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"-t1", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"-t,", "a", "b"}, false, 0, 0, 0, 0, "", ""},
    {{"-t", "a", "b", ""}, true, 2, MODE_COMPARE, 1, 1, "a", "b"},
};

TEST(ParseArguments, Table) {
  for (const ParseRow& row : PARSE_ROWS) {
    std::vector<const char*> argv = {"kestro"};
    argv.insert(argv.end(), row.words.begin(), row.words.end());
    std::string joined;
    for (const char* word : row.words) joined += std::string(" [") + word + "]";
    SCOPED_TRACE("words:" + joined);

    Settings parsed = INITIAL_SETTINGS;
    std::string source = "unset";
    std::string dest = "unset";
    const bool valid = parse_arguments(static_cast<int>(argv.size()), argv.data(), parsed, source, dest);
    ASSERT_EQ(valid, row.valid);
    if (!valid) continue;
    EXPECT_EQ(parsed.displayLevel, row.level);
    EXPECT_EQ(parsed.displayMode, row.mode);
    EXPECT_EQ(parsed.attributeMask, row.mask);
    EXPECT_EQ(parsed.checkTimestamp, row.timestamp);
    EXPECT_EQ(parsed.anyDifference, 0);
    EXPECT_EQ(source, row.source);
    EXPECT_EQ(dest, row.dest);
  }
}

}  // namespace
