#include "cmdline/cmdline.h"

#include <cstdio>
#include <cstring>

#include "host/ascii.h"

namespace {

// Acts on every character of a switch item; false on a character that is
// no switch. `D` takes the character after it along.
bool apply_switches(const char* item, Settings& target) {
  for (const char* p = item; *p; ++p) {
    switch (ascii_upper(*p)) {
      case '-':
      case '/':
        break;
      case 'D': {
        const char choice = *++p;
        if (choice == 'd' || choice == 'D') {
          target.displayMode = MODE_LIST_DIFFER;
        } else if (choice == 'm' || choice == 'M') {
          target.displayMode = MODE_LIST_MISSING;
        } else if (choice == '+') {
          target.displayMode = MODE_LIST_BOTH;
        } else {
          const int level = static_cast<unsigned char>(choice) - '0';
          if (level < 0 || level > 2) return false;
          target.displayMode = MODE_COMPARE;
          target.displayLevel = level;
        }
        break;
      }
      case 'H':
        target.attributeMask |= 6;
        break;
      case 'T':
        target.checkTimestamp = 1;
        break;
      default:
        return false;
    }
  }
  return true;
}

// Copies the file item that begins at `p` into `text` and gives the place
// where scanning goes on: after a closing quote, at the separator that ended
// an unquoted item, or at the end of the word.
const char* take_file_item(const char* p, std::string& text) {
  if (*p == '"') {
    ++p;
    const char* close = strchr(p, '"');
    if (!close) {
      text = p;
      return p + strlen(p);
    }
    text.assign(p, close);
    return close + 1;
  }
  const size_t length = strcspn(p, ",/");
  text.assign(p, length);
  return p + length;
}

}  // namespace

bool parse_arguments(int argc, const char* const* argv, Settings& target,
                     std::string& sourceText, std::string& destText) {
  unsigned items = 0;
  for (int i = 1; i < argc; ++i) {
    const char* p = argv[i];
    while (*p) {
      while (*p == ',') ++p;
      if (*p == '-' || *p == '/') {
        if (!apply_switches(p, target)) return false;
        break;
      }
      // A file item, also the empty one that commas running to the end of
      // the word leave behind.
      if (++items > 2) return false;
      p = take_file_item(p, items == 1 ? sourceText : destText);
    }
  }
  return items == 2;
}

void parse_command_line(int argc, const char* const* argv, std::string& sourceText,
                        std::string& destText) {
  if (!parse_arguments(argc, argv, settings, sourceText, destText)) show_usage();
}

void show_usage() {
  fprintf(stderr,
          "\n"
          "usage:- kestro [-d#] [-h] [-t] file1 file2\n"
          "        -d0  Errorlevel only\n"
          "        -d1  Display bad compares only\n"
          "        -d2  Display all compares\n"
          "        -dd  List mode: list files that differ\n"
          "        -dm  List mode: list files missing from dest\n"
          "        -d+  List mode: combines -dd and -dm\n"
          "        -h   Include hidden files\n"
          "        -t   Check timestamp\n");
  exit_run(STATUS_FATAL);
}
