// The directory search on POSIX: our own layer that behaves like the Windows
// one. `\` and `/` both separate directories, a drive prefix is dropped,
// every component matches ignoring ASCII case (an exact match first), and
// only regular files and directories are ever reported, after following
// symbolic links. Paths are walked one directory descriptor at a time, so
// their length is not limited by the host's PATH_MAX.
#include "host/host.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
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
  const bool drive = has_drive_prefix(path);
  const std::string rest = drive ? path.substr(2) : path;
  if (rest.empty()) {
    if (!drive) return false;
    out = HostPath{false, {}, "."};
    return true;
  }
  out.absolute = is_separator(rest[0]);
  out.dirs.clear();
  size_t start = 0;
  for (size_t i = 0; i <= rest.size(); ++i) {
    if (i < rest.size() && !is_separator(rest[i])) continue;
    std::string part = rest.substr(start, i - start);
    start = i + 1;
    if (i == rest.size()) {
      out.last = part;
    } else if (!part.empty()) {
      out.dirs.push_back(part);
    }
  }
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

bool has_ascii_letter(const std::string& text) {
  for (char c : text) {
    if (ascii_lower(c) != ascii_upper(c)) return true;
  }
  return false;
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

bool listing_order(const std::string& a, const std::string& b) {
  const int folded = compare_folded(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

// The names of one directory, in listing order, as read at one moment.
struct Listing {
  dev_t device;
  ino_t inode;
  timespec modified;
  timespec changed;
  bool settled;  // the directory was unchanged for a while before it was read
  std::vector<std::string> names;
};

// A directory whose times lie this close to the moment it was read may change
// again without its times changing (coarse file-system clocks), so its
// listing is used only for the lookup that read it.
const time_t SETTLE_SECONDS = 2;
const size_t CACHED_LISTINGS = 4;

// Recently read listings, most recent first. They spare the case-insensitive
// lookup a directory read per file; each is checked against the directory's
// times before it is used.
std::vector<std::shared_ptr<const Listing>> listingCache;

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool settled_before(const timespec& t, const timespec& readAt) {
  return t.tv_sec < readAt.tv_sec - SETTLE_SECONDS;
}

std::shared_ptr<const Listing> read_listing(int dirfd, const struct stat& dirStat) {
  timespec readAt;
  clock_gettime(CLOCK_REALTIME, &readAt);
  const int copy = dup(dirfd);
  if (copy < 0) return nullptr;
  DIR* dir = fdopendir(copy);
  if (!dir) {
    close(copy);
    return nullptr;
  }
  auto listing = std::make_shared<Listing>();
  listing->device = dirStat.st_dev;
  listing->inode = dirStat.st_ino;
  listing->modified = dirStat.st_mtim;
  listing->changed = dirStat.st_ctim;
  listing->settled = settled_before(dirStat.st_mtim, readAt) &&
                     settled_before(dirStat.st_ctim, readAt);
  rewinddir(dir);
  while (const dirent* item = readdir(dir)) {
    const std::string name = item->d_name;
    if (!is_dot_or_dot_dot(name)) listing->names.push_back(name);
  }
  closedir(dir);
  std::sort(listing->names.begin(), listing->names.end(), listing_order);
  return listing;
}

// The listing of the open directory `dirfd`: a cached one while the
// directory is provably unchanged since it was read, else a fresh one.
std::shared_ptr<const Listing> get_listing(int dirfd) {
  struct stat dirStat;
  if (fstat(dirfd, &dirStat) != 0) return nullptr;
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
  std::shared_ptr<const Listing> fresh = read_listing(dirfd, dirStat);
  if (!fresh) return nullptr;
  listingCache.insert(listingCache.begin(), fresh);
  if (listingCache.size() > CACHED_LISTINGS) listingCache.pop_back();
  return fresh;
}

// The first name in listing order that equals `component` ignoring case.
bool find_folded(int dirfd, const std::string& component, std::string& stored) {
  const std::shared_ptr<const Listing> listing = get_listing(dirfd);
  if (!listing) return false;
  const auto it = std::lower_bound(
      listing->names.begin(), listing->names.end(), component,
      [](const std::string& name, const std::string& key) { return compare_folded(name, key) < 0; });
  if (it == listing->names.end() || compare_folded(*it, component) != 0) return false;
  stored = *it;
  return true;
}

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
  return find_folded(dirfd, component, stored) && fstatat(dirfd, stored.c_str(), &st, 0) == 0;
}

// Opens the directory that holds the last component of `path`; -1 if any
// directory on the way is missing, is no directory, or holds a wildcard.
int open_parent(const HostPath& path) {
  int fd = open(path.absolute ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (std::string component : path.dirs) {
    if (fd < 0) return -1;
    std::string stored;
    struct stat st;
    const bool found = drop_trailing_dots(component) && !has_wildcard(component) &&
                       resolve_component(fd, component, stored, st) && S_ISDIR(st.st_mode);
    const int next = found ? openat(fd, stored.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    close(fd);
    fd = next;
  }
  return fd;
}

// Fills `entry` from a stat result; false for anything but a regular file or
// a directory, leaving `entry` as it was.
bool fill_entry(const struct stat& st, const std::string& name, FindEntry& entry) {
  const bool directory = S_ISDIR(st.st_mode);
  if (!directory && !S_ISREG(st.st_mode)) return false;
  entry.attributes = directory ? ATTRIBUTE_DIRECTORY : 0;
  entry.size = directory ? 0 : static_cast<uint64_t>(st.st_size);
  entry.writeTime = static_cast<int64_t>(st.st_mtim.tv_sec);
  entry.name = name;
  return true;
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

bool advance(FindSearch* search, FindEntry& entry) {
  if (!search->listing) return false;
  const std::vector<std::string>& names = search->listing->names;
  while (search->next < names.size()) {
    const std::string& name = names[search->next++];
    if (!wildcard_match(search->pattern, name)) continue;
    struct stat st;
    if (fstatat(search->dirfd, name.c_str(), &st, 0) != 0) continue;
    if (fill_entry(st, name, entry)) return true;
  }
  return false;
}

bool find_single(int dirfd, std::string last, FindEntry& entry) {
  std::string stored;
  struct stat st;
  return drop_trailing_dots(last) && resolve_component(dirfd, last, stored, st) &&
         fill_entry(st, stored, entry);
}

}  // namespace

FindSearch* find_first(const std::string& pattern, FindEntry& entry) {
  HostPath path;
  if (!split_host_path(pattern, path)) return nullptr;
  const int dirfd = open_parent(path);
  if (dirfd < 0) return nullptr;
  if (!has_wildcard(path.last)) {
    const bool found = find_single(dirfd, path.last, entry);
    close(dirfd);
    return found ? new FindSearch{-1, nullptr, std::string(), 0} : nullptr;
  }
  FindSearch* search = new FindSearch{dirfd, get_listing(dirfd), path.last, 0};
  if (!advance(search, entry)) {
    find_close(search);
    return nullptr;
  }
  return search;
}

bool find_next(FindSearch* search, FindEntry& entry) { return advance(search, entry); }

void find_close(FindSearch* search) {
  if (search->dirfd >= 0) close(search->dirfd);
  delete search;
}

// ----- Reading -----------------------------------------------------------------

namespace {

// Opens the last component of a path in `dirfd` without blocking, so that a
// FIFO put in a file's place cannot hang the run.
int open_component(int dirfd, std::string last) {
  if (!drop_trailing_dots(last) || is_dot_or_dot_dot(last)) return -1;
  const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = openat(dirfd, last.c_str(), flags);
  std::string stored;
  if (fd < 0 && errno == ENOENT && has_ascii_letter(last) && find_folded(dirfd, last, stored)) {
    fd = openat(dirfd, stored.c_str(), flags);
  }
  return fd;
}

}  // namespace

FILE* open_for_reading(const std::string& pathText) {
  HostPath path;
  if (!split_host_path(pathText, path)) return nullptr;
  const int dirfd = open_parent(path);
  if (dirfd < 0) return nullptr;
  const int fd = open_component(dirfd, path.last);
  close(dirfd);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  FILE* stream = fdopen(fd, "rb");
  if (!stream) {
    close(fd);
    return nullptr;
  }
  setvbuf(stream, nullptr, _IONBF, 0);
  return stream;
}

void prepare_output() {
  if (isatty(STDOUT_FILENO)) setvbuf(stdout, nullptr, _IONBF, 0);
}
