// Makes the benchmark's small-file workloads: COUNT files of 1 to 16 KiB in
// SOURCE and identical copies in COPY. With "mixed", source names mix upper
// and lower case and each copy stores its name with the case swapped.
//
//   make_files SOURCE COPY COUNT lower|mixed
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string file_name(unsigned long index, bool mixed) {
  char name[32];
  snprintf(name, sizeof name, mixed ? "Doc%07lu.Txt" : "doc%07lu.txt", index);
  return name;
}

std::string swap_case(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

bool write_file(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: make_files SOURCE COPY COUNT lower|mixed\n");
    return 2;
  }
  const std::string source = argv[1];
  const std::string copy = argv[2];
  const unsigned long count = strtoul(argv[3], nullptr, 10);
  const bool mixed = strcmp(argv[4], "mixed") == 0;
  mkdir(source.c_str(), 0755);
  mkdir(copy.c_str(), 0755);
  unsigned long long state = 88172645463325252ull;
  std::string bytes;
  for (unsigned long i = 0; i < count; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    bytes.resize(1024 + state % (15 * 1024 + 1));
    for (size_t j = 0; j < bytes.size(); ++j) bytes[j] = static_cast<char>((state >> (j % 56)) + j);
    const std::string name = file_name(i, mixed);
    if (!write_file(source + "/" + name, bytes) ||
        !write_file(copy + "/" + (mixed ? swap_case(name) : name), bytes)) {
      perror(name.c_str());
      return 1;
    }
  }
  return 0;
}
