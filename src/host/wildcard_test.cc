#include "host/wildcard.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct MatchRow {
  const char* pattern;
  std::vector<const char*> matches;
  std::vector<const char*> misses;
};

const MatchRow MATCH_ROWS[] = {
    {"*", {"readme", "a.b.c", ".hidden", "x"}, {}},
    {"*.*", {"readme", "a.b.c", ".hidden"}, {}},
    {"*.txt", {"notes.txt", "NOTES.TXT", "a.b.txt"}, {"notes.txt.bak", "txt", "notes.tx"}},
    {"report.*", {"report", "report.txt", "report.tar.gz", "REPORT.Txt"}, {"reports", "repor"}},
    {"*.", {"readme", "Makefile"}, {"notes.txt", ".hidden", "a."}},
    {"file?.txt", {"file1.txt", "file.txt", "FILEx.TXT"}, {"file12.txt", "file..txt"}},
    {"abc???", {"abc", "abcd", "abcdef"}, {"abcdefg", "ab", "abc.d"}},
    {"?????.*", {"notes.txt", "abc", "a.b.c"}, {"readme"}},
    {"a*.*", {"a", "abc", "a.b.c", "A.TXT"}, {"b.a"}},
    {".*", {".hidden"}, {"readme"}},
    {"a?c", {"abc", "AXC"}, {"a.c", "ac", "abbc"}},
    {"*a*a*a*a*a*a*a*b", {"aaaaaaaab"}, {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}},
    {"caf\xc3\xa9*", {"caf\xc3\xa9.txt"}, {"CAF\xc3\x89.txt"}},
};

TEST(WildcardMatch, Table) {
  for (const MatchRow& row : MATCH_ROWS) {
    for (const char* name : row.matches) {
      EXPECT_TRUE(wildcard_match(row.pattern, name)) << row.pattern << " should match " << name;
    }
    for (const char* name : row.misses) {
      EXPECT_FALSE(wildcard_match(row.pattern, name)) << row.pattern << " should not match " << name;
    }
  }
}

}  // namespace
