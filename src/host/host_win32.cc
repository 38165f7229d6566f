// The directory search on Windows: FindFirstFileA, FindNextFileA, FindClose.
// The host resolves drive prefixes, `\` separators, case and wildcards
// itself; this layer only hides the entries `.` and `..` from wildcard
// searches and translates each entry into the program's terms.
#include "host/host.h"

#include <windows.h>

#include <cstring>

#include "host/wildcard.h"

struct FindSearch {
  HANDLE handle;
};

namespace {

bool is_dot_or_dot_dot(const WIN32_FIND_DATAA& data) {
  return strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0;
}

// Skips `.` and `..`, so the program never takes them for subdirectories.
bool next_real_entry(HANDLE handle, WIN32_FIND_DATAA& data) {
  while (FindNextFileA(handle, &data)) {
    if (!is_dot_or_dot_dot(data)) return true;
  }
  return false;
}

// Whole seconds since 1970 (UTC) from a FILETIME, which counts 100 ns ticks
// since 1601; -1 for a zero time, which the host gives when it has none.
int64_t seconds_since_1970(const FILETIME& time) {
  const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  if (ticks == 0) return -1;
  const int64_t TICKS_PER_SECOND = 10000000;
  const int64_t SECONDS_1601_TO_1970 = 11644473600;
  return static_cast<int64_t>(ticks / TICKS_PER_SECOND) - SECONDS_1601_TO_1970;
}

void fill_entry(const WIN32_FIND_DATAA& data, FindEntry& entry) {
  entry.attributes = data.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? 0 : data.dwFileAttributes;
  entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.writeTime = seconds_since_1970(data.ftLastWriteTime);
  entry.name = data.cFileName;
}

}  // namespace

FindSearch* find_first(const std::string& pattern, FindEntry& entry) {
  WIN32_FIND_DATAA data;
  const HANDLE handle = FindFirstFileA(pattern.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  // A plain `.` or `..` names a directory; only a wildcard search hides them.
  if (has_wildcard(pattern) && is_dot_or_dot_dot(data) && !next_real_entry(handle, data)) {
    FindClose(handle);
    return nullptr;
  }
  fill_entry(data, entry);
  return new FindSearch{handle};
}

bool find_next(FindSearch* search, FindEntry& entry) {
  WIN32_FIND_DATAA data;
  if (!next_real_entry(search->handle, data)) return false;
  fill_entry(data, entry);
  return true;
}

void find_close(FindSearch* search) {
  FindClose(search->handle);
  delete search;
}

FILE* open_for_reading(const std::string& path) {
  // The C runtime opens with shared reading and writing, and refuses a
  // directory.
  FILE* stream = fopen(path.c_str(), "rb");
  if (stream) setvbuf(stream, nullptr, _IONBF, 0);
  return stream;
}

void prepare_output() {
  // Nothing to do: the C runtime writes each print call out at once when
  // standard output is a console, and buffers it otherwise.
}
