#include "filespec/filespec.h"

#include <gtest/gtest.h>

#include "test_dir.h"

namespace {

struct MapRow {
  const char* sourcePart;
  const char* pattern;
  const char* result;
};

const MapRow MAP_ROWS[] = {
    {"report", "*", "report"},   {"report", "new*", "newort"}, {"report", "??", "re"},
    {"ab", "x???", "xb"},        {"txt", "bak", "bak"},        {"", "*", ""},
    {"", "old", "old"},          {"tar.gz", "*", "tar.gz"},    {"ab", "*x", "ab"},
    {"", "x", "x"},              {"ab", "abcd", "abcd"},       {"a", "??z", "a"},
    {"notes", "", ""},           {"ab", "?x?", "ax"},
};

TEST(MapName, Table) {
  for (const MapRow& row : MAP_ROWS) {
    EXPECT_EQ(map_name(row.sourcePart, row.pattern), row.result)
        << "part [" << row.sourcePart << "] pattern [" << row.pattern << "]";
  }
}

struct DestinationRow {
  const char* name;
  const char* ext;
  const char* source;
  const char* result;
};

const DestinationRow DESTINATION_ROWS[] = {
    {"*", "bak", "notes.txt", "notes.bak"}, {"*", "txt", "readme", "readme.txt"},
    {"*", "*", "a.b.c", "a.b.c"},           {"*", "*", "index.html", "index.html"},
    {"*", "bak", "index.html", "index.bak"}, {"*", "", "notes.txt", "notes"},
    {"", "*", "notes.txt", ".txt"},         {"*", "*", "readme", "readme"},
    {"new", "*", "report.txt", "new.txt"}, {"new*", "*", "report.txt", "newort.txt"}, {"x", "", "x", "x"},
};

TEST(DestinationName, Table) {
  for (const DestinationRow& row : DESTINATION_ROWS) {
    destSpec = FileSpec{"", row.name, row.ext};
    EXPECT_EQ(destination_name(row.source), row.result)
        << "name [" << row.name << "] ext [" << row.ext << "] source " << row.source;
  }
}

struct PrepareRow {
  const char* sourceText;
  const char* destText;
  FileSpec source;
  FileSpec dest;
  const char* searchPattern;
};

// Run in a directory holding the directories Data and Save and the file
// report; nothing else exists.
const PrepareRow PREPARE_ROWS[] = {
    {"Data", "Save", {"data\\", "*", "*"}, {"save\\", "*", "*"}, "data\\*.*"},
    {"DATA\\*.TXT", "save", {"data\\", "*", "txt"}, {"save\\", "*", "txt"}, "data\\*.txt"},
    {"*.TXT", "*.bak", {"", "*", "txt"}, {"", "*", "bak"}, "*.txt"},
    {"report", "new", {"", "report", "*"}, {"", "new", "*"}, "report.*"},
    {"a.b.c", "Save", {"", "a", "b.c"}, {"save\\", "a", "b.c"}, "a.b.c"},
    {"x.", "Save", {"", "x", ""}, {"save\\", "x", ""}, "x"},
    {"C:\\Data\\", "D:\\Save\\", {"c:\\data\\", "", "*"}, {"d:\\save\\", "", "*"}, "c:\\data\\.*"},
    {"Q:\\NoWhere\\Some.TXT", "R:New", {"q:\\nowhere\\", "some", "txt"}, {"r:", "new", "*"},
     "q:\\nowhere\\some.txt"},
    {"c:\\backup.old\\readme", "b", {"c:\\backup.old\\", "readme", "*"}, {"", "b", "*"},
     "c:\\backup.old\\readme.*"},
    {"", "", {"", "", "*"}, {"", "", "*"}, ".*"},
};

void expect_spec(const FileSpec& actual, const FileSpec& expected) {
  EXPECT_EQ(actual.dir, expected.dir);
  EXPECT_EQ(actual.name, expected.name);
  EXPECT_EQ(actual.ext, expected.ext);
}

TEST(PrepareFileSpecs, Table) {
  ScratchDir scratch;
  make_dir("Data");
  make_dir("Save");
  write_file("report", "r");
  for (const PrepareRow& row : PREPARE_ROWS) {
    SCOPED_TRACE(std::string("source [") + row.sourceText + "] dest [" + row.destText + "]");
    prepare_file_specs(row.sourceText, row.destText);
    expect_spec(sourceSpec, row.source);
    expect_spec(destSpec, row.dest);
    EXPECT_EQ(source_search_pattern(), row.searchPattern);
  }
}

// A wildcard item counts as a directory when the first entry of its search is
// one.
TEST(PrepareFileSpecs, WildcardWhoseFirstEntryIsADirectory) {
  ScratchDir scratch;
  make_dir("Sub");
  prepare_file_specs("*", "Save");
  expect_spec(sourceSpec, {"*\\", "*", "*"});
  EXPECT_EQ(source_search_pattern(), "*\\*.*");
}

TEST(SplitFileSpec, DriveLetterHeldApart) {
  FileSpec parts;
  EXPECT_EQ(split_file_spec("Q:\\Dir\\A.B", "*.*", "*", parts), 'q');
  expect_spec(parts, {"\\dir\\", "a", "b"});
  EXPECT_EQ(split_file_spec("plain", "*.*", "def", parts), '\0');
  expect_spec(parts, {"", "plain", "def"});
}

}  // namespace
