// The host's file system, as the program sees it: a directory search in the
// manner of the Windows one, and the opening of a file for comparison.
//
// Paths use `\` between directories and may begin with a drive prefix such
// as `c:`. The last component of a search pattern may hold the wildcards `*`
// and `?`. Names match ignoring case (ASCII letters only). One implementation
// per platform stands behind this header; CMake picks it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

const uint32_t ATTRIBUTE_DIRECTORY = 0x10;

// One entry of a search. A search for a plain name fills every field; an
// entry of a wildcard search is sure of its attributes and name only, and
// may leave size 0 and writeTime -1 (the POSIX layer does, unless it had to
// examine the entry): look a file up by its name for those.
struct FindEntry {
  uint32_t attributes;  // ATTRIBUTE_DIRECTORY for a directory, else file bits
  int64_t writeTime;    // last write, whole seconds since 1970 UTC; -1 unknown
  uint64_t size;        // length in bytes; 0 for a directory
  std::string name;     // the stored name, without directory
};

struct FindSearch;  // one open search; owned by the host layer

// Starts a search for `pattern`. Gives the open search and its first entry,
// or nullptr when nothing matches, whatever the reason (missing, refused,
// malformed); `entry` is then left as it was. Entries for a directory itself
// and its parent (`.` and `..`) are never given. Searches nest freely.
FindSearch* find_first(const std::string& pattern, FindEntry& entry);

// The next entry of `search`, or false (entry unchanged) when there is none.
bool find_next(FindSearch* search, FindEntry& entry);

// Ends `search` and releases what it holds.
void find_close(FindSearch* search);

// Opens the regular file at `path` for binary reading, sharing it with other
// readers and writers, resolving the path as find_first does. Reads go
// straight into the caller's buffers. Gives nullptr if it cannot be opened
// or is not a regular file; close the stream with fclose.
FILE* open_for_reading(const std::string& path);

// Sets standard output up so that each print reaches a terminal at once,
// while output to a file or a pipe stays buffered.
void prepare_output();
