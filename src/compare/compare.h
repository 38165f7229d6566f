// The comparison run: the walk over the source files in batches, the
// comparison of each source file with its copy, and of two files' bytes.
#pragma once

#include <cstddef>
#include <string>

// The result of comparing one pair.
enum Outcome : unsigned {
  OUTCOME_SAME = 0,             // same size and bytes (and time, with -t)
  OUTCOME_CONTENT_DIFF = 1,     // same size, the bytes differ
  OUTCOME_SIZE_DIFF = 2,        // the sizes differ
  OUTCOME_TIME_DIFF = 252,      // same size and bytes, the write times differ
  OUTCOME_SOURCE_MISSING = 253, // the source was not found again or not opened
  OUTCOME_DEST_MISSING = 254,   // the destination was not found or not opened
  OUTCOME_READ_ERROR = 260,     // a read failed or fell short; ends the run
};

// Bytes read from each file per step; also each comparison buffer's size.
const size_t COMPARE_BUFFER_SIZE = 65024;

// Source names held at a time before they are compared.
const unsigned BATCH_SIZE = 50;

// Allocates the run's two comparison buffers, once; on failure says
// "insufficient memory" and ends with STATUS_FATAL.
void allocate_compare_buffers();

// Compares every plain file that the source file item selects with its
// copy, in the order the search gives them. Ends the process itself when
// there is no source entry at all (STATUS_NO_FILES), on a fatal error, and
// at display level 0 on the first difference.
void compare_all();

// Compares and frees the names collected so far, in the order collected.
void flush_batch();

// Compares the source file `name` (a bare name, lowered here) with its copy,
// records a difference in the settings and reports the pair.
void compare_one(std::string& name);

// Compares the bytes of two files whose sizes were found equal. Gives
// OUTCOME_SAME, OUTCOME_CONTENT_DIFF, OUTCOME_SOURCE_MISSING or
// OUTCOME_DEST_MISSING when a file cannot be opened, or OUTCOME_READ_ERROR.
// The buffers must have been allocated.
Outcome compare_contents(const std::string& sourcePath, const std::string& destPath);
