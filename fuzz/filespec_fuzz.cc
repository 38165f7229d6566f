// Fuzzes the preparation of the two file specifications and the destination
// name of a source file. Input: source text, zero byte, destination text,
// zero byte, source name. Runs in an empty scratch directory (give corpus
// and artifact paths as absolute paths); the texts may still name anything
// on the host, which is only looked at, never changed.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "filespec/filespec.h"

namespace {

bool has_upper(const std::string& text) {
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') return true;
  }
  return false;
}

// dir is empty or ends where a name may begin: after `\` or a drive's `:`.
bool well_formed(const FileSpec& parts) {
  const bool dirEnds = parts.dir.empty() || parts.dir.back() == '\\' ||
                       (parts.dir.size() == 2 && parts.dir[1] == ':');
  return dirEnds && !has_upper(parts.dir) && !has_upper(parts.name) && !has_upper(parts.ext) &&
         parts.name.find_first_of("\\.") == std::string::npos;
}

std::string next_field(const uint8_t*& data, const uint8_t* end) {
  std::string field;
  while (data < end && *data != 0) field += static_cast<char>(*data++);
  if (data < end) ++data;
  return field;
}

}  // namespace

static char scratch[] = "/tmp/kestro-fuzz-XXXXXX";

static void remove_scratch() { rmdir(scratch); }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!mkdtemp(scratch) || chdir(scratch) != 0) abort();
  atexit(remove_scratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* end = data + size;
  const std::string sourceText = next_field(data, end);
  const std::string destText = next_field(data, end);
  std::string name = next_field(data, end);
  prepare_file_specs(sourceText, destText);
  if (!well_formed(sourceSpec) || !well_formed(destSpec)) abort();
  for (char& c : name) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  const std::string mapped = destination_name(name);
  // Each mapped part is at most as long as its pattern plus its source part.
  if (mapped.size() > name.size() + destSpec.name.size() + destSpec.ext.size() + 1) abort();
  return 0;
}
