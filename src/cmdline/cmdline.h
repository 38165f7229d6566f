// The command line: switches and exactly two file items, in any order.
//
// Words are taken as the host delivers them. Within a word, `,` separates
// items; `-` or `/` begins a switch item that runs to the end of the word;
// an unquoted file item ends at the first `,` or `/`; a `"` that reaches the
// program opens a file item that runs to the next `"`. Switches: d0, d1, d2
// (display level), dd, dm, d+ (list modes), h and t, in either case; the
// last one given for a field wins. Anything else is a usage error.
#pragma once

#include <string>

#include "main/settings.h"

// Applies the words argv[1] to argv[argc - 1] to `target` and puts the two
// file items into `sourceText` and `destText`. False on any usage error;
// `target` and the texts may then be partly written.
bool parse_arguments(int argc, const char* const* argv, Settings& target,
                     std::string& sourceText, std::string& destText);

// parse_arguments on the process-wide settings; shows the usage text on any
// error, so it returns only with a valid command line.
void parse_command_line(int argc, const char* const* argv, std::string& sourceText,
                        std::string& destText);

// Prints the usage text on standard error and ends with STATUS_FATAL.
[[noreturn]] void show_usage();
