#include "test_dir.h"

#include <fstream>
#include <random>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() : previous(fs::current_path()) {
  std::random_device random;
  path = fs::temp_directory_path() / ("kestro-test-" + std::to_string(random()));
  fs::create_directories(path);
  fs::current_path(path);
}

ScratchDir::~ScratchDir() {
  fs::current_path(previous);
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

void write_file(const std::string& path, const std::string& content) {
  const fs::path file(path);
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
}

void make_dir(const std::string& path) { fs::create_directories(path); }
