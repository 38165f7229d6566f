// Everything printed about a pair, on standard output: the compare display
// ("source - dest > RESULT") at levels 1 and 2, or one of the list modes,
// which print the source path alone.
#pragma once

#include <string>

#include "compare/compare.h"

// Before the pair is looked up: the pair header, at display level 2 of the
// compare display, so that it stands on the screen during the comparison.
void report_start(const std::string& sourcePath, const std::string& destPath);

// A read failed: the header (again, in every mode and at every level), then
// "FILE READ ERROR", and the run ends with STATUS_FATAL.
[[noreturn]] void report_read_error(const std::string& sourcePath, const std::string& destPath);

// The pair's final outcome. An outcome that has no text is an internal error
// and ends the run with STATUS_FATAL.
void report_outcome(Outcome outcome, const std::string& sourcePath, const std::string& destPath);
