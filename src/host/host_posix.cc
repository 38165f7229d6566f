// The directory search on POSIX: our own layer that behaves like the Windows
// one. `\` and `/` both separate directories, a drive prefix is dropped,
// every component matches ignoring ASCII case (an exact match first), and
// only regular files and directories are ever reported, after following
// symbolic links.
//
// A path is first tried as it stands, which costs one system call when every
// component has its stored case. Otherwise it is walked one directory
// descriptor at a time, matching each component against the directory's
// listing; the walk is not limited by PATH_MAX. Directories in which the walk
// had to fold case are remembered, with their listings, so that the next
// lookup in them costs two system calls rather than a directory read.
#include "host/host.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "host/ascii.h"
#include "host/wildcard.h"

namespace {

// ----- Paths ---------------------------------------------------------------

struct HostPath {
  bool absolute;
  std::vector<std::string> dirs;  // directory components, in order
  std::string last;               // the final component, never empty
};

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool has_drive_prefix(const std::string& path) {
  const char c = ascii_lower(path.size() >= 2 ? path[0] : '\0');
  return c >= 'a' && c <= 'z' && path[1] == ':';
}

// Splits `path` into its components. A drive prefix names the one file system
// there is and is dropped; `c:` alone is the current directory. A path that
// is empty or ends in a separator names nothing.
bool split_host_path(const std::string& path, HostPath& out) {
  const size_t begin = has_drive_prefix(path) ? 2 : 0;
  out.dirs.clear();
  if (begin == path.size()) {
    if (begin == 0) return false;
    out.absolute = false;
    out.last = ".";
    return true;
  }
  out.absolute = is_separator(path[begin]);
  size_t start = begin;
  for (size_t i = begin; i < path.size(); ++i) {
    if (!is_separator(path[i])) continue;
    if (i > start) out.dirs.emplace_back(path, start, i - start);
    start = i + 1;
  }
  out.last.assign(path, start, std::string::npos);
  return !out.last.empty();
}

bool is_dot_or_dot_dot(const std::string& component) {
  return component == "." || component == "..";
}

// Windows looks a component up without its trailing dots (`x.` is `x`).
bool drop_trailing_dots(std::string& component) {
  if (is_dot_or_dot_dot(component)) return true;
  const size_t end = component.find_last_not_of('.');
  if (end == std::string::npos) return false;
  component.resize(end + 1);
  return true;
}

// A directory component as it is looked up; false for one that names
// nothing (a wildcard, or dots only).
bool directory_component(std::string& component) {
  return drop_trailing_dots(component) && !has_wildcard(component);
}

bool has_ascii_letter(const std::string& text) {
  for (char c : text) {
    if (ascii_lower(c) != ascii_upper(c)) return true;
  }
  return false;
}

// Appends one component to a POSIX path that is empty, "/" or a path.
void append_component(std::string& path, const std::string& component) {
  if (!path.empty() && path.back() != '/') path += '/';
  path += component;
}

// ----- Listings --------------------------------------------------------------

// Orders names as NTFS lists them: ASCII letters folded to upper case, ties
// in byte order.
int compare_folded(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(ascii_upper(a[i]));
    const unsigned char y = static_cast<unsigned char>(ascii_upper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

struct Listing;
void sort_for_listing(std::vector<std::string>& names, const std::vector<unsigned char>& types,
                      Listing& listing);

// The names of one directory, in listing order, as read at one moment.
struct Listing {
  dev_t device;
  ino_t inode;
  timespec modified;
  timespec changed;
  bool settled;  // the directory was unchanged for a while before it was read
  std::vector<std::string> names;
  std::vector<unsigned char> types;  // each name's type as the directory gave it
};

// Puts `names` and their `types` into listing order in `listing`. Sorts once
// on keys folded in advance, which costs far less than folding in every
// comparison.
void sort_for_listing(std::vector<std::string>& names, const std::vector<unsigned char>& types,
                      Listing& listing) {
  std::vector<std::string> keys;
  keys.reserve(names.size());
  for (const std::string& name : names) keys.push_back(to_upper_ascii(name));
  std::vector<uint32_t> order(names.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int folded = keys[a].compare(keys[b]);
    return folded != 0 ? folded < 0 : names[a] < names[b];
  });
  listing.names.reserve(names.size());
  listing.types.reserve(names.size());
  for (const uint32_t i : order) {
    listing.names.push_back(std::move(names[i]));
    listing.types.push_back(types[i]);
  }
}

// A directory whose times lie this close to the moment it was read may change
// again without its times changing (coarse file-system clocks), so its
// listing serves only the lookup that read it.
const time_t SETTLE_SECONDS = 2;
const size_t REMEMBERED = 4;

// Recently read listings, most recent first. Each is checked against its
// directory's times before it is used again.
std::vector<std::shared_ptr<const Listing>> listingCache;

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool settled_before(const timespec& t, const timespec& readAt) {
  return t.tv_sec < readAt.tv_sec - SETTLE_SECONDS;
}

// Reads the directory `path` (relative to `atfd`) whose stat is `dirStat`.
std::shared_ptr<const Listing> read_listing(const struct stat& dirStat, int atfd, const char* path) {
  timespec readAt;
  clock_gettime(CLOCK_REALTIME, &readAt);
  const int fd = openat(atfd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  DIR* dir = fdopendir(fd);
  if (!dir) {
    close(fd);
    return nullptr;
  }
  auto listing = std::make_shared<Listing>();
  listing->device = dirStat.st_dev;
  listing->inode = dirStat.st_ino;
  listing->modified = dirStat.st_mtim;
  listing->changed = dirStat.st_ctim;
  listing->settled = settled_before(dirStat.st_mtim, readAt) &&
                     settled_before(dirStat.st_ctim, readAt);
  std::vector<std::string> names;
  std::vector<unsigned char> types;
  while (const dirent* item = readdir(dir)) {
    if (is_dot_or_dot_dot(item->d_name)) continue;
    names.emplace_back(item->d_name);
    types.push_back(item->d_type);
  }
  closedir(dir);
  sort_for_listing(names, types, *listing);
  return listing;
}

// The listing of the directory `path` (relative to `atfd`) whose stat is
// `dirStat`: a remembered one while the directory is provably unchanged
// since it was read, else a fresh one.
std::shared_ptr<const Listing> get_listing(const struct stat& dirStat, int atfd, const char* path) {
  for (size_t i = 0; i < listingCache.size(); ++i) {
    const std::shared_ptr<const Listing> cached = listingCache[i];
    if (cached->device != dirStat.st_dev || cached->inode != dirStat.st_ino) continue;
    listingCache.erase(listingCache.begin() + static_cast<long>(i));
    if (cached->settled && same_time(cached->modified, dirStat.st_mtim) &&
        same_time(cached->changed, dirStat.st_ctim)) {
      listingCache.insert(listingCache.begin(), cached);
      return cached;
    }
    break;
  }
  std::shared_ptr<const Listing> fresh = read_listing(dirStat, atfd, path);
  if (!fresh) return nullptr;
  listingCache.insert(listingCache.begin(), fresh);
  if (listingCache.size() > REMEMBERED) listingCache.pop_back();
  return fresh;
}

std::shared_ptr<const Listing> get_listing(int dirfd) {
  struct stat dirStat;
  if (fstat(dirfd, &dirStat) != 0) return nullptr;
  return get_listing(dirStat, dirfd, ".");
}

// The name that `component` names in `listing`: the exact one if listed,
// else the first in listing order that equals it ignoring case.
bool pick_name(const Listing& listing, const std::string& component, std::string& stored) {
  auto it = std::lower_bound(
      listing.names.begin(), listing.names.end(), component,
      [](const std::string& name, const std::string& key) { return compare_folded(name, key) < 0; });
  if (it == listing.names.end() || compare_folded(*it, component) != 0) return false;
  stored = *it;
  for (; it != listing.names.end() && compare_folded(*it, component) == 0; ++it) {
    if (*it == component) stored = component;
  }
  return true;
}

// ----- The walk --------------------------------------------------------------

// Finds `component` in the open directory `dirfd`: the exact name if it
// exists, else the first name equal to it ignoring case. Every hit is
// confirmed by a fresh stat, so a file that vanished is not found.
bool resolve_component(int dirfd, const std::string& component, std::string& stored,
                       struct stat& st) {
  if (fstatat(dirfd, component.c_str(), &st, 0) == 0) {
    stored = component;
    return true;
  }
  if (errno != ENOENT || !has_ascii_letter(component)) return false;
  const std::shared_ptr<const Listing> listing = get_listing(dirfd);
  return listing && pick_name(*listing, component, stored) &&
         fstatat(dirfd, stored.c_str(), &st, 0) == 0;
}

// Opens the directory that holds the last component of `path`, folding case
// where needed; -1 if any directory on the way is missing, is no directory,
// or holds a wildcard. `real` is the directory's path with stored names.
int open_parent(const HostPath& path, std::string& real) {
  real = path.absolute ? "/" : "";
  int fd = open(path.absolute ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (std::string component : path.dirs) {
    if (fd < 0) return -1;
    std::string stored;
    struct stat st;
    const bool found = directory_component(component) &&
                       resolve_component(fd, component, stored, st) && S_ISDIR(st.st_mode);
    const int next = found ? openat(fd, stored.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    close(fd);
    fd = next;
    append_component(real, stored);
  }
  if (real.empty()) real = ".";
  return fd;
}

// ----- Remembered directories ------------------------------------------------

// A directory, as the program names it, whose stored name differs in case
// or in which a name had to be folded.
struct FoldedDir {
  std::string named;  // the POSIX path as the program spelled it
  std::string real;   // the same directory with its stored names
};

std::vector<FoldedDir> foldedDirs;  // most recent first

// The directory of `path` as the program spells it, as a POSIX path; false
// when it cannot be spelled so (a wildcard, or too long for one system call).
bool named_parent(const HostPath& path, std::string& named) {
  named = path.absolute ? "/" : "";
  for (std::string component : path.dirs) {
    if (!directory_component(component)) return false;
    append_component(named, component);
  }
  if (named.empty()) named = ".";
  return named.size() + path.last.size() + 2 < PATH_MAX;
}

void remember_folded(const HostPath& path, const std::string& real, const std::string& last,
                     const std::string& stored) {
  std::string named;
  if (!named_parent(path, named) || (named == real && last == stored)) return;
  foldedDirs.insert(foldedDirs.begin(), FoldedDir{named, real});
  if (foldedDirs.size() > REMEMBERED) foldedDirs.pop_back();
}

// `text` as a POSIX path, when it can be used as it stands: no wildcard, no
// component that is empty or ends in a dot, short enough for one system call,
// and no remembered directory around its last component. Most paths the
// comparison builds are such.
bool direct_path(const std::string& text, std::string& out) {
  const size_t begin = has_drive_prefix(text) ? 2 : 0;
  if (begin == text.size()) return false;
  out.assign(text, begin, std::string::npos);
  char previous = '\0';
  for (size_t i = 0; i < out.size(); ++i) {
    char& c = out[i];
    if (c == '*' || c == '?') return false;
    if (c == '\\') c = '/';
    if (c == '/' && i > 0 && (previous == '/' || previous == '.')) return false;
    previous = c;
  }
  if (previous == '/' || previous == '.' || out.size() >= PATH_MAX) return false;
  if (foldedDirs.empty()) return true;
  const size_t slash = out.rfind('/');
  const std::string parent =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : out.substr(0, slash));
  return std::none_of(foldedDirs.begin(), foldedDirs.end(),
                      [&](const FoldedDir& dir) { return dir.named == parent; });
}

enum Quick {
  QUICK_TRY,      // `candidate` is the path to try; if it fails, walk
  QUICK_MISSING,  // the name is certainly not there
  QUICK_WALK,     // walk the path
};

// The POSIX path to try first for `path`, whose last component holds no
// wildcard: in a remembered directory, the name its listing gives; else the
// path as spelled, unless `spelledTried` says that one failed already.
Quick quick_path(const HostPath& path, bool spelledTried, std::string& candidate) {
  std::string last = path.last;
  if (!drop_trailing_dots(last)) return QUICK_MISSING;
  if (!named_parent(path, candidate)) return QUICK_WALK;
  const auto memo = std::find_if(foldedDirs.begin(), foldedDirs.end(),
                                 [&](const FoldedDir& dir) { return dir.named == candidate; });
  if (memo == foldedDirs.end()) {
    if (spelledTried) return QUICK_WALK;
    if (path.dirs.empty() && !path.absolute) candidate.clear();
    append_component(candidate, last);
    return QUICK_TRY;
  }
  candidate = memo->real;
  struct stat dirStat;
  if (stat(candidate.c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode)) {
    foldedDirs.erase(memo);
    return QUICK_WALK;
  }
  std::string stored = last;
  if (!is_dot_or_dot_dot(last)) {
    const std::shared_ptr<const Listing> listing = get_listing(dirStat, AT_FDCWD, candidate.c_str());
    if (!listing) return QUICK_WALK;
    if (!pick_name(*listing, last, stored)) return QUICK_MISSING;
  }
  append_component(candidate, stored);
  return QUICK_TRY;
}

// Whether a failed first try leaves the path worth walking.
bool worth_walking(int error) { return error == ENOENT || error == ENOTDIR; }

const char* base_name(const std::string& path) { return path.c_str() + (path.rfind('/') + 1); }

// Fills `entry` from a stat result; false for anything but a regular file or
// a directory, leaving `entry` as it was.
bool fill_entry(const struct stat& st, const char* name, FindEntry& entry) {
  const bool directory = S_ISDIR(st.st_mode);
  if (!directory && !S_ISREG(st.st_mode)) return false;
  entry.attributes = directory ? ATTRIBUTE_DIRECTORY : 0;
  entry.size = directory ? 0 : static_cast<uint64_t>(st.st_size);
  entry.writeTime = static_cast<int64_t>(st.st_mtim.tv_sec);
  entry.name = name;
  return true;
}

// Looks up the one file or directory that `path` names; `spelledTried`
// says that the path as spelled was tried and not found.
bool find_single(const HostPath& path, bool spelledTried, FindEntry& entry) {
  std::string candidate;
  struct stat st;
  switch (quick_path(path, spelledTried, candidate)) {
    case QUICK_MISSING:
      return false;
    case QUICK_TRY:
      if (stat(candidate.c_str(), &st) == 0) return fill_entry(st, base_name(candidate), entry);
      if (!worth_walking(errno)) return false;
      break;
    case QUICK_WALK:
      break;
  }
  std::string real;
  const int dirfd = open_parent(path, real);
  if (dirfd < 0) return false;
  std::string last = path.last;
  std::string stored;
  const bool found = drop_trailing_dots(last) && resolve_component(dirfd, last, stored, st);
  close(dirfd);
  if (!found) return false;
  remember_folded(path, real, last, stored);
  return fill_entry(st, stored.c_str(), entry);
}

// The regular files that the last lookups found. The comparison looks up a
// pair and then opens both files: a file opened right after its lookup is
// known to be regular without another stat. Should it have been replaced in
// between, the open still cannot block, and its reads fail or fall short,
// which the comparison reports.
struct RecentFile {
  std::string path;
  uint64_t size;
};

RecentFile recentFiles[2];
size_t recentNext = 0;

void remember_regular(const std::string& path, uint64_t size) {
  recentFiles[recentNext].path.assign(path);
  recentFiles[recentNext].size = size;
  recentNext = (recentNext + 1) % 2;
}

// Whether `path` was just found as a regular file; forgets it, as each
// lookup vouches for one opening only.
bool take_recent(const std::string& path, uint64_t& size) {
  for (RecentFile& recent : recentFiles) {
    if (recent.path.empty() || recent.path != path) continue;
    size = recent.size;
    recent.path.clear();
    return true;
  }
  return false;
}

}  // namespace

// ----- The search --------------------------------------------------------------

// A wildcard search walks a listing and keeps its directory open; a search
// for a plain name gave its one entry already and holds nothing.
struct FindSearch {
  int dirfd;
  std::shared_ptr<const Listing> listing;
  std::string pattern;
  size_t next;
};

namespace {

// A file or directory whose type the directory gives is reported without a
// stat: its size and write time are left unknown (0 and -1), as the program
// looks every file up again by name before it compares it. Anything else
// (links, or file systems that do not give types) is examined.
bool advance(FindSearch* search, FindEntry& entry) {
  if (!search->listing) return false;
  const Listing& listing = *search->listing;
  while (search->next < listing.names.size()) {
    const size_t index = search->next++;
    const std::string& name = listing.names[index];
    if (!wildcard_match(search->pattern, name)) continue;
    const unsigned char type = listing.types[index];
    if (type == DT_REG || type == DT_DIR) {
      entry.attributes = type == DT_DIR ? ATTRIBUTE_DIRECTORY : 0;
      entry.size = 0;
      entry.writeTime = -1;
      entry.name = name;
      return true;
    }
    struct stat st;
    if (fstatat(search->dirfd, name.c_str(), &st, 0) != 0) continue;
    if (fill_entry(st, name.c_str(), entry)) return true;
  }
  return false;
}

}  // namespace

namespace {

// Every search for a plain name: it gave its one entry and holds nothing.
FindSearch singleSearch = {-1, nullptr, std::string(), 0};

FindSearch* found_single(const std::string& pattern, FindEntry& entry) {
  if (!(entry.attributes & ATTRIBUTE_DIRECTORY)) remember_regular(pattern, entry.size);
  return &singleSearch;
}

}  // namespace

FindSearch* find_first(const std::string& pattern, FindEntry& entry) {
  static std::string direct;
  const bool spelledTried = direct_path(pattern, direct);
  if (spelledTried) {
    struct stat st;
    if (stat(direct.c_str(), &st) == 0) {
      return fill_entry(st, base_name(direct), entry) ? found_single(pattern, entry) : nullptr;
    }
    if (!worth_walking(errno)) return nullptr;
  }
  HostPath path;
  if (!split_host_path(pattern, path)) return nullptr;
  if (!has_wildcard(path.last)) {
    return find_single(path, spelledTried, entry) ? found_single(pattern, entry) : nullptr;
  }
  std::string real;
  const int dirfd = open_parent(path, real);
  if (dirfd < 0) return nullptr;
  FindSearch* search = new FindSearch{dirfd, get_listing(dirfd), path.last, 0};
  if (!advance(search, entry)) {
    find_close(search);
    return nullptr;
  }
  return search;
}

bool find_next(FindSearch* search, FindEntry& entry) { return advance(search, entry); }

void find_close(FindSearch* search) {
  if (search == &singleSearch) return;
  if (search->dirfd >= 0) close(search->dirfd);
  delete search;
}

// ----- Reading -----------------------------------------------------------------

namespace {

// Opened without blocking, so that a FIFO put in a file's place cannot hang
// the run. The flag stays: it has no effect on a regular file, the only kind
// that is read, and clearing it would cost a system call per file.
const int OPEN_FLAGS = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Files from this size on get sequential read-ahead advice.
const uint64_t ADVISE_FROM = 1 << 20;

int open_walked(const HostPath& path) {
  std::string real;
  const int dirfd = open_parent(path, real);
  if (dirfd < 0) return -1;
  std::string last = path.last;
  int fd = -1;
  if (drop_trailing_dots(last) && !is_dot_or_dot_dot(last)) {
    fd = openat(dirfd, last.c_str(), OPEN_FLAGS);
    if (fd < 0 && errno == ENOENT && has_ascii_letter(last)) {
      const std::shared_ptr<const Listing> listing = get_listing(dirfd);
      std::string stored;
      if (listing && pick_name(*listing, last, stored)) {
        fd = openat(dirfd, stored.c_str(), OPEN_FLAGS);
        if (fd >= 0) remember_folded(path, real, last, stored);
      }
    }
  }
  close(dirfd);
  return fd;
}

int open_path(const HostPath& path, bool spelledTried) {
  std::string candidate;
  switch (quick_path(path, spelledTried, candidate)) {
    case QUICK_MISSING:
      return -1;
    case QUICK_TRY: {
      const int fd = open(candidate.c_str(), OPEN_FLAGS);
      if (fd >= 0 || !worth_walking(errno)) return fd;
      break;
    }
    case QUICK_WALK:
      break;
  }
  return open_walked(path);
}

}  // namespace

FILE* open_for_reading(const std::string& pathText) {
  static std::string direct;
  const bool spelledTried = direct_path(pathText, direct);
  int fd = spelledTried ? open(direct.c_str(), OPEN_FLAGS) : -1;
  if (fd < 0 && (!spelledTried || worth_walking(errno))) {
    HostPath path;
    if (split_host_path(pathText, path)) fd = open_path(path, spelledTried);
  }
  if (fd < 0) return nullptr;
  uint64_t size;
  if (!take_recent(pathText, size)) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      close(fd);
      return nullptr;
    }
    size = static_cast<uint64_t>(st.st_size);
  }
  if (size >= ADVISE_FROM) posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  FILE* stream = fdopen(fd, "rb");
  if (!stream) {
    close(fd);
    return nullptr;
  }
  // Unbuffered: each fread of a block is one read straight into the
  // caller's buffer, with no copy through a stdio buffer.
  setvbuf(stream, nullptr, _IONBF, 0);
  return stream;
}

void prepare_output() {
  if (isatty(STDOUT_FILENO)) setvbuf(stdout, nullptr, _IONBF, 0);
}
