#include "compare/report.h"

#include <cstdio>

#include "host/ascii.h"
#include "main/settings.h"

namespace {

// A report that cannot be written ends the run at once, as a failure.
void check_output() {
  if (ferror(stdout)) exit_run(STATUS_FATAL);
}

void print_header(const std::string& sourcePath, const std::string& destPath) {
  printf("%s - %s > ", sourcePath.c_str(), destPath.c_str());
  check_output();
}

void print_line(const std::string& text) {
  printf("%s\n", text.c_str());
  check_output();
}

bool is_difference(Outcome outcome) {
  return outcome == OUTCOME_CONTENT_DIFF || outcome == OUTCOME_SIZE_DIFF ||
         outcome == OUTCOME_TIME_DIFF;
}

// Whether the current list mode lists a pair with `outcome`.
bool listed(Outcome outcome) {
  switch (settings.displayMode) {
    case MODE_LIST_MISSING:
      return outcome == OUTCOME_DEST_MISSING;
    case MODE_LIST_DIFFER:
      return is_difference(outcome);
    default:
      return is_difference(outcome) || outcome == OUTCOME_DEST_MISSING;
  }
}

void print_result(Outcome outcome, const std::string& sourcePath, const std::string& destPath) {
  switch (outcome) {
    case OUTCOME_SAME:
      if (settings.displayLevel == 2) print_line("OK");
      return;
    case OUTCOME_CONTENT_DIFF:
      return print_line("ERROR");
    case OUTCOME_SIZE_DIFF:
      return print_line("SIZE DIFF");
    case OUTCOME_TIME_DIFF:
      return print_line("DATE/TIME DIFF");
    case OUTCOME_SOURCE_MISSING:
      return print_line(to_upper_ascii(sourcePath) + " NOT FOUND");
    case OUTCOME_DEST_MISSING:
      return print_line(to_upper_ascii(destPath) + " NOT FOUND");
    default:
      printf("kestro internal error #%u\n", static_cast<unsigned>(outcome));
      exit_run(STATUS_FATAL);
  }
}

}  // namespace

void report_start(const std::string& sourcePath, const std::string& destPath) {
  if (settings.displayMode == MODE_COMPARE && settings.displayLevel == 2) {
    print_header(sourcePath, destPath);
  }
}

void report_read_error(const std::string& sourcePath, const std::string& destPath) {
  print_header(sourcePath, destPath);
  printf("FILE READ ERROR\n");
  exit_run(STATUS_FATAL);
}

void report_outcome(Outcome outcome, const std::string& sourcePath, const std::string& destPath) {
  if (settings.displayMode != MODE_COMPARE) {
    if (listed(outcome)) print_line(sourcePath);
    return;
  }
  if (settings.displayLevel == 1 && outcome != OUTCOME_SAME) print_header(sourcePath, destPath);
  if (settings.displayLevel <= 0) return;
  print_result(outcome, sourcePath, destPath);
}
