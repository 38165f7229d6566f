#include "compare/compare.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "compare/report.h"
#include "filespec/filespec.h"
#include "host/ascii.h"
#include "host/host.h"
#include "main/settings.h"

namespace {

// The run's two comparison buffers: source blocks, destination blocks.
unsigned char* sourceBuffer = nullptr;
unsigned char* destBuffer = nullptr;

// The batch: names collected from the source search, not yet compared.
std::string batch[BATCH_SIZE];
unsigned batchUsed = 0;

[[noreturn]] void insufficient_memory() {
  fprintf(stderr, "kestro: insufficient memory\n");
  exit_run(STATUS_FATAL);
}

void collect_name(const std::string& name) {
  if (batchUsed == BATCH_SIZE) flush_batch();
  try {
    batch[batchUsed] = name;
  } catch (const std::bad_alloc&) {
    insufficient_memory();
  }
  ++batchUsed;
}

// Looks one path up; the entry is kept, the search ended.
bool look_up(const std::string& path, FindEntry& entry) {
  FindSearch* search = find_first(path, entry);
  if (!search) return false;
  find_close(search);
  return true;
}

// Compares two open streams block by block, stopping at the first block
// that differs.
Outcome compare_streams(FILE* source, FILE* dest) {
  for (;;) {
    const size_t sourceCount = fread(sourceBuffer, 1, COMPARE_BUFFER_SIZE, source);
    const size_t destCount = fread(destBuffer, 1, COMPARE_BUFFER_SIZE, dest);
    if (ferror(source) || ferror(dest) || sourceCount != destCount) return OUTCOME_READ_ERROR;
    if (sourceCount == 0) return OUTCOME_SAME;
    if (memcmp(sourceBuffer, destBuffer, sourceCount) != 0) return OUTCOME_CONTENT_DIFF;
    // Both reads met the end of their file: the next ones would give 0 and 0.
    if (feof(source) && feof(dest)) return OUTCOME_SAME;
  }
}

// The outcome of a pair whose both entries were found.
Outcome compare_found(const std::string& sourcePath, const FindEntry& source,
                      const std::string& destPath, const FindEntry& dest) {
  if (dest.size != source.size) return OUTCOME_SIZE_DIFF;
  const Outcome outcome = compare_contents(sourcePath, destPath);
  if (outcome == OUTCOME_SAME && settings.checkTimestamp && dest.writeTime != source.writeTime) {
    return OUTCOME_TIME_DIFF;
  }
  return outcome;
}

}  // namespace

void allocate_compare_buffers() {
  if (sourceBuffer) return;
  // Page-aligned, so that the kernel copies each block at full speed.
  const std::align_val_t pageAlignment{4096};
  sourceBuffer = new (pageAlignment, std::nothrow) unsigned char[COMPARE_BUFFER_SIZE];
  destBuffer = new (pageAlignment, std::nothrow) unsigned char[COMPARE_BUFFER_SIZE];
  if (!sourceBuffer || !destBuffer) insufficient_memory();
}

void compare_all() {
  allocate_compare_buffers();
  const std::string pattern = source_search_pattern();
  FindEntry entry;
  FindSearch* search = find_first(pattern, entry);
  if (!search) {
    fprintf(stderr, "kestro: no files found for \"%s\"\n", pattern.c_str());
    exit_run(STATUS_NO_FILES);
  }
  batchUsed = 0;
  do {
    if (!(entry.attributes & ATTRIBUTE_DIRECTORY)) collect_name(entry.name);
  } while (find_next(search, entry));
  find_close(search);
  if (batchUsed > 0) flush_batch();
}

void flush_batch() {
  for (unsigned i = 0; i < batchUsed; ++i) {
    compare_one(batch[i]);
    std::string().swap(batch[i]);
  }
  batchUsed = 0;
}

void compare_one(std::string& name) {
  for (char& c : name) c = ascii_lower(c);
  // Kept from pair to pair, so that building the paths allocates nothing.
  static std::string sourcePath;
  static std::string destPath;
  sourcePath.assign(sourceSpec.dir).append(name);
  destPath.assign(destSpec.dir).append(destination_name(name));
  report_start(sourcePath, destPath);

  FindEntry source;
  FindEntry dest;
  Outcome outcome;
  if (!look_up(sourcePath, source)) {
    outcome = OUTCOME_SOURCE_MISSING;
  } else if (!look_up(destPath, dest)) {
    outcome = OUTCOME_DEST_MISSING;
  } else {
    outcome = compare_found(sourcePath, source, destPath, dest);
  }

  if (outcome == OUTCOME_READ_ERROR) report_read_error(sourcePath, destPath);
  if (outcome != OUTCOME_SAME) {
    if (settings.displayLevel == 0) exit_run(STATUS_DIFFERENCE);
    settings.anyDifference = 1;
  }
  report_outcome(outcome, sourcePath, destPath);
}

Outcome compare_contents(const std::string& sourcePath, const std::string& destPath) {
  FILE* source = open_for_reading(sourcePath);
  if (!source) return OUTCOME_SOURCE_MISSING;
  FILE* dest = open_for_reading(destPath);
  if (!dest) {
    fclose(source);
    return OUTCOME_DEST_MISSING;
  }
  const Outcome outcome = compare_streams(source, dest);
  fclose(source);
  fclose(dest);
  return outcome;
}
