#include "compare/compare.h"

#include <gtest/gtest.h>

#include "filespec/filespec.h"
#include "main/settings.h"
#include "test_dir.h"

namespace {

struct ContentRow {
  const char* what;
  std::string source;  // contents; "<none>" for no file
  std::string dest;    // contents; "<none>" for no file, "<dir>" for a directory
  Outcome outcome;
};

const std::string NONE = "<none>";
const std::string DIRECTORY = "<dir>";
const std::string BLOCK(COMPARE_BUFFER_SIZE, 'b');
const std::string THREE_AND_A_HALF = BLOCK + BLOCK + BLOCK + std::string(COMPARE_BUFFER_SIZE / 2, 'h');

const ContentRow CONTENT_ROWS[] = {
    {"two empty files", "", "", OUTCOME_SAME},
    {"one full block each", BLOCK, BLOCK, OUTCOME_SAME},
    {"3.5 blocks, last byte differs", THREE_AND_A_HALF, THREE_AND_A_HALF.substr(0, THREE_AND_A_HALF.size() - 1) + "x",
     OUTCOME_CONTENT_DIFF},
    {"first byte differs", "x" + BLOCK, "y" + BLOCK, OUTCOME_CONTENT_DIFF},
    {"bytes kept raw", "a\r\nb\x1a" "c", "a\nb\x1a" "c\r", OUTCOME_CONTENT_DIFF},
    {"no source", NONE, "x", OUTCOME_SOURCE_MISSING},
    {"no destination", "x", NONE, OUTCOME_DEST_MISSING},
    {"destination is a directory", "", DIRECTORY, OUTCOME_DEST_MISSING},
    {"destination shorter than its entry said", BLOCK + "tail", BLOCK, OUTCOME_READ_ERROR},
    {"source shorter than its entry said", "", "x", OUTCOME_READ_ERROR},
};

TEST(CompareContents, Table) {
  allocate_compare_buffers();
  for (const ContentRow& row : CONTENT_ROWS) {
    SCOPED_TRACE(row.what);
    ScratchDir scratch;
    if (row.source != NONE) write_file("src", row.source);
    if (row.dest == DIRECTORY) {
      make_dir("dst");
    } else if (row.dest != NONE) {
      write_file("dst", row.dest);
    }
    EXPECT_EQ(compare_contents("src", "dst"), row.outcome);
  }
}

}  // namespace

namespace {

// A source file that was listed and then removed before its turn is
// reported missing under its own path, and counts as a difference.
TEST(CompareOne, SourceRemovedAfterListing) {
  ScratchDir scratch;
  write_file("save/gone", "x");
  allocate_compare_buffers();
  sourceSpec = FileSpec{"work\\", "*", "*"};
  destSpec = FileSpec{"save\\", "*", "*"};
  const Settings saved = settings;
  settings = INITIAL_SETTINGS;
  std::string name = "Gone";
  testing::internal::CaptureStdout();
  compare_one(name);
  const std::string printed = testing::internal::GetCapturedStdout();
  const int anyDifference = settings.anyDifference;
  settings = saved;
  EXPECT_EQ(printed, "work\\gone - save\\gone > WORK\\GONE NOT FOUND\n");
  EXPECT_EQ(anyDifference, 1);
}

}  // namespace
