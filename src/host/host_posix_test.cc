#include "host/host.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "test_dir.h"

namespace {

// Every entry a search for `pattern` gives, as "name" or "name/" for a
// directory.
std::vector<std::string> search_all(const std::string& pattern) {
  std::vector<std::string> names;
  FindEntry entry;
  FindSearch* search = find_first(pattern, entry);
  if (!search) return names;
  do {
    names.push_back(entry.name + ((entry.attributes & ATTRIBUTE_DIRECTORY) ? "/" : ""));
  } while (find_next(search, entry));
  find_close(search);
  return names;
}

// The stored name that a lookup of `path` finds, or "-" for none.
std::string look_up(const std::string& path) {
  const std::vector<std::string> found = search_all(path);
  EXPECT_LE(found.size(), 1u) << path;
  return found.empty() ? "-" : found[0];
}

void make_fifo(const char* path) { ASSERT_EQ(mkfifo(path, 0644), 0); }

void make_socket(const char* path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  strcpy(address.sun_path, path);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
}

TEST(PosixSearch, ListingOrderAndWhatIsReported) {
  ScratchDir scratch;
  for (const char* name : {"b", "a", "A", "_c", ".hidden", "Zed.txt", "file"}) write_file(name, "x");
  make_dir("Dir");
  make_fifo("fifo");
  make_socket("sock");
  ASSERT_EQ(symlink("nowhere", "dangling"), 0);
  ASSERT_EQ(symlink("loop", "loop"), 0);
  ASSERT_EQ(symlink("file", "link-to-file"), 0);
  ASSERT_EQ(symlink("Dir", "link-to-dir"), 0);
  const std::vector<std::string> expected = {".hidden", "A", "a", "b", "Dir/", "file",
                                             "link-to-dir/", "link-to-file", "Zed.txt", "_c"};
  EXPECT_EQ(search_all("*"), expected);
  EXPECT_EQ(search_all("*.*"), expected);
  EXPECT_EQ(search_all("c:*"), expected);
  EXPECT_EQ(search_all("*.TXT"), std::vector<std::string>{"Zed.txt"});
  EXPECT_EQ(search_all("?"), (std::vector<std::string>{"A", "a", "b"}));
  for (const char* absent : {"fifo", "sock", "dangling", "loop", "nothing", "a\\", "", "c:\\"}) {
    EXPECT_EQ(look_up(absent), "-") << "[" << absent << "]";
  }
}

TEST(PosixSearch, PathsAndCase) {
  ScratchDir scratch;
  write_file("Work/Sub.Dir/Notes.TXT", "12345");
  write_file("Work/X.txt", "upper");
  write_file("Work/x.TXT", "lower");
  write_file("Work/y.txt", "y");
  write_file("Work/Y.txt", "Y");
  const std::string absolute = scratch.path.string();
  const struct Row {
    std::string path;
    std::string found;
  } rows[] = {
      {"work\\sub.dir\\notes.txt", "Notes.TXT"},
      {"WORK/SUB.DIR/NOTES.TXT", "Notes.TXT"},
      {"c:work\\sub.dir\\notes.txt", "Notes.TXT"},
      {"Z:" + absolute + "\\work\\sub.dir\\notes.txt", "Notes.TXT"},
      {"work\\\\sub.dir\\.\\notes.txt", "Notes.TXT"},
      {"work\\sub.dir\\..\\sub.dir\\notes.txt", "Notes.TXT"},
      {"work.\\sub.dir..\\notes.txt.", "Notes.TXT"},
      {"work\\sub.dir\\notes.txt\\", "-"},
      {"w*\\sub.dir\\notes.txt", "-"},
      {"work\\sub.?ir\\notes.txt", "-"},
      {"work\\x.txt", "X.txt"},  // no exact match: the first in listing order
      {"work\\y.txt", "y.txt"},  // the exact match wins
      {"work\\Y.txt", "Y.txt"},
      {"work", "Work/"},
      {"c:", "./"},
      {"c:.", "./"},
      {"work\\sub.dir\\notes", "-"},
      {"work\\sub.dir\\notes.txt\\more", "-"},
  };
  for (const Row& row : rows) EXPECT_EQ(look_up(row.path), row.found) << row.path;
}

TEST(PosixSearch, EntryFields) {
  ScratchDir scratch;
  write_file("five", "12345");
  make_dir("dir");
  ASSERT_EQ(truncate("five", (int64_t{1} << 32) + 5), 0);
  const struct timespec times[2] = {{0, UTIME_OMIT}, {2208988800, 0}};  // 2040-01-01
  ASSERT_EQ(utimensat(AT_FDCWD, "five", times, 0), 0);
  const struct timespec before1970[2] = {{0, UTIME_OMIT}, {-86400, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, "dir", before1970, 0), 0);

  FindEntry entry = {};
  FindSearch* search = find_first("FIVE", entry);
  ASSERT_NE(search, nullptr);
  find_close(search);
  EXPECT_EQ(entry.attributes, 0u);
  EXPECT_EQ(entry.size, (uint64_t{1} << 32) + 5);
  EXPECT_EQ(entry.writeTime, 2208988800);

  search = find_first("dir", entry);
  ASSERT_NE(search, nullptr);
  find_close(search);
  EXPECT_EQ(entry.attributes, ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(entry.size, 0u);
  EXPECT_EQ(entry.writeTime, -86400);

  entry.name = "kept";
  EXPECT_EQ(find_first("missing", entry), nullptr);
  EXPECT_EQ(entry.name, "kept");
}

TEST(PosixSearch, SearchesNest) {
  ScratchDir scratch;
  for (const char* name : {"a", "b", "c"}) write_file(std::string("dir/") + name, name);
  FindEntry outer;
  FindSearch* search = find_first("dir\\*", outer);
  ASSERT_NE(search, nullptr);
  std::vector<std::string> seen;
  do {
    seen.push_back(outer.name);
    EXPECT_EQ(look_up("DIR\\" + outer.name), outer.name);
    EXPECT_EQ(search_all("dir\\*").size(), 3u);
  } while (find_next(search, outer));
  find_close(search);
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
}

// Lookups through a remembered listing still see files that vanish or appear
// afterwards. The wait lets the directory settle, so that its listing is kept.
TEST(PosixSearch, RememberedListingsStayTrue) {
  ScratchDir scratch;
  write_file("dir/Gone.txt", "g");
  write_file("dir/Stays.txt", "s");
  sleep(3);
  EXPECT_EQ(look_up("dir\\gone.txt"), "Gone.txt");
  EXPECT_EQ(look_up("dir\\stays.txt"), "Stays.txt");
  ASSERT_EQ(unlink("dir/Gone.txt"), 0);
  EXPECT_EQ(look_up("dir\\gone.txt"), "-");
  write_file("dir/New.TXT", "n");
  EXPECT_EQ(look_up("dir\\new.txt"), "New.TXT");
  EXPECT_EQ(search_all("dir\\*"), (std::vector<std::string>{"New.TXT", "Stays.txt"}));
}

TEST(PosixOpen, OnlyRegularFilesOpen) {
  ScratchDir scratch;
  write_file("Work/Data.BIN", "bytes");
  make_fifo("Work/fifo");
  ASSERT_EQ(symlink("/dev/null", "Work/null"), 0);
  FILE* stream = open_for_reading("c:WORK\\data.bin");
  ASSERT_NE(stream, nullptr);
  char buffer[8];
  EXPECT_EQ(fread(buffer, 1, sizeof buffer, stream), 5u);
  fclose(stream);
  for (const char* refused : {"work", "work\\fifo", "work\\null", "work\\missing", "work\\"}) {
    EXPECT_EQ(open_for_reading(refused), nullptr) << refused;
  }
}

}  // namespace
