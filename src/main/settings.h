// The run's settings and exit statuses.
//
// One process-wide record steers the run: the command line writes it, the
// comparison reads it and records in it whether any pair differed. Every
// exit of the program goes through exit_run, so that a report that could not
// be written is never mistaken for a delivered one.
#pragma once

// Exit statuses that batch scripts test.
enum ExitStatus {
  STATUS_ALL_SAME = 0,    // every pair matched, or no plain file was selected
  STATUS_DIFFERENCE = 1,  // at least one pair differed or had a copy missing
  STATUS_NO_FILES = 254,  // the source search found no entry at all
  STATUS_FATAL = 255,     // usage, memory, read failure, internal error, write error
};

// Display modes; the level applies to MODE_COMPARE only.
enum DisplayMode {
  MODE_COMPARE = 1,
  MODE_LIST_DIFFER = 2,
  MODE_LIST_MISSING = 3,
  MODE_LIST_BOTH = 4,
};

struct Settings {
  int displayLevel;    // 0 status only, 1 bad compares only, 2 every pair
  int displayMode;     // a DisplayMode
  int attributeMask;   // read-only 1, hidden 2, system 4; recorded, not used
  int checkTimestamp;  // also compare last-write times
  int anyDifference;   // a pair with a non-zero outcome was met
};

// The initial values: level 2, compare display, mask 1, no time check.
extern const Settings INITIAL_SETTINGS;

extern Settings settings;

// Flushes standard output and ends the process with `status`. If standard
// output could not be written, says so on standard error and ends with
// STATUS_FATAL instead.
[[noreturn]] void exit_run(int status);
