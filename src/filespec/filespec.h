// File specifications: the two file items turned into directory, name
// pattern and extension pattern, and the destination name of a source file.
//
// An item that the host's search reports as a directory is completed with a
// default pattern: "*.*" for the source, the source's own name pattern for
// the destination. All parts are in lower case (ASCII).
#pragma once

#include <string>

struct FileSpec {
  std::string dir;   // up to and including the last `\`, drive prefix first
  std::string name;  // the last component up to its first `.`
  std::string ext;   // the rest after that `.`, or the default extension
};

// The two prepared file specifications; written once by prepare_file_specs.
extern FileSpec sourceSpec;
extern FileSpec destSpec;

// Whether the first entry that a search for `path` gives is a directory.
bool is_directory(const std::string& path);

// Splits `text`, completed with `dirPattern` when it names a directory,
// into `parts`. Gives the drive letter in lower case, or '\0' for none; the
// letter is not part of `parts.dir`.
char split_file_spec(const std::string& text, const std::string& dirPattern,
                     const std::string& defaultExt, FileSpec& parts);

// Fills sourceSpec and destSpec from the two file items.
void prepare_file_specs(const std::string& sourceText, const std::string& destText);

// The pattern that selects the source files: dir, name, and "." with ext
// when ext is not empty.
std::string source_search_pattern();

// Lays `pattern` over `sourcePart` as a renaming copy does: `*` takes the
// rest of the source part, `?` one source character, any other character
// stands in for one.
std::string map_name(const std::string& sourcePart, const std::string& pattern);

// The destination file name for the lower-case source name `sourceName`,
// through destSpec's name and extension patterns.
std::string destination_name(const std::string& sourceName);
