#include "filespec/filespec.h"

#include "host/ascii.h"
#include "host/host.h"

FileSpec sourceSpec;
FileSpec destSpec;

bool is_directory(const std::string& path) {
  FindEntry entry;
  FindSearch* search = find_first(path, entry);
  if (!search) return false;
  find_close(search);
  return (entry.attributes & ATTRIBUTE_DIRECTORY) != 0;
}

char split_file_spec(const std::string& text, const std::string& dirPattern,
                     const std::string& defaultExt, FileSpec& parts) {
  std::string work = text;
  if (is_directory(work)) {
    if (!work.empty() && work.back() != ':' && work.back() != '\\') work += '\\';
    work += dirPattern;
  }
  char drive = '\0';
  if (work.size() >= 2 && work[1] == ':') {
    drive = ascii_lower(work[0]);
    work.erase(0, 2);
  }
  const size_t slash = work.rfind('\\');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::string component = work.substr(nameStart);
  const size_t dot = component.find('.');
  parts.dir = to_lower_ascii(work.substr(0, nameStart));
  parts.name = to_lower_ascii(component.substr(0, dot));
  parts.ext = to_lower_ascii(dot == std::string::npos ? defaultExt : component.substr(dot + 1));
  return drive;
}

namespace {

void join_drive(char drive, FileSpec& parts) {
  if (drive) parts.dir = std::string(1, drive) + ":" + parts.dir;
}

}  // namespace

void prepare_file_specs(const std::string& sourceText, const std::string& destText) {
  join_drive(split_file_spec(sourceText, "*.*", "*", sourceSpec), sourceSpec);
  const std::string sourceNamePattern = sourceSpec.name + "." + sourceSpec.ext;
  join_drive(split_file_spec(destText, sourceNamePattern, "*", destSpec), destSpec);
}

std::string source_search_pattern() {
  std::string pattern = sourceSpec.dir + sourceSpec.name;
  if (!sourceSpec.ext.empty()) pattern += "." + sourceSpec.ext;
  return pattern;
}

std::string map_name(const std::string& sourcePart, const std::string& pattern) {
  std::string out;
  size_t cursor = 0;
  for (const char p : pattern) {
    if (p == '*') return out + sourcePart.substr(cursor);
    if (p == '?') {
      if (cursor >= sourcePart.size()) return out;
      out += sourcePart[cursor++];
      continue;
    }
    out += p;
    if (cursor < sourcePart.size()) ++cursor;
  }
  return out;
}

std::string destination_name(const std::string& sourceName) {
  const size_t dot = sourceName.find('.');
  const std::string base = sourceName.substr(0, dot);
  const std::string ext = dot == std::string::npos ? std::string() : sourceName.substr(dot + 1);
  const std::string mappedExt = map_name(ext, destSpec.ext);
  const std::string mappedBase = map_name(base, destSpec.name);
  return mappedExt.empty() ? mappedBase : mappedBase + "." + mappedExt;
}
