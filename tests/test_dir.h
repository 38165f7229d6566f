// A scratch directory for tests that need real files: made empty, entered,
// and removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

struct ScratchDir {
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::filesystem::path path;
  std::filesystem::path previous;
};

// Writes `content` to `path` (relative to the current directory), making the
// directories on the way.
void write_file(const std::string& path, const std::string& content);

void make_dir(const std::string& path);
