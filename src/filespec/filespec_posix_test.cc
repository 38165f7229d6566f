// Drive prefixes that name the current directory exist only on POSIX, where
// every drive is the one file system.
#include <gtest/gtest.h>

#include "filespec/filespec.h"
#include "test_dir.h"

namespace {

TEST(PrepareFileSpecsPosix, DriveAloneIsTheCurrentDirectory) {
  ScratchDir scratch;
  make_dir("Data");
  prepare_file_specs("D:", "C:Data");
  EXPECT_EQ(sourceSpec.dir, "d:");
  EXPECT_EQ(sourceSpec.name, "*");
  EXPECT_EQ(sourceSpec.ext, "*");
  EXPECT_EQ(source_search_pattern(), "d:*.*");
  EXPECT_EQ(destSpec.dir, "c:data\\");
  EXPECT_EQ(destSpec.name, "*");
  EXPECT_EQ(destSpec.ext, "*");
}

}  // namespace
