// kestro: is every file here faithfully copied there?
#include <string>

#include "cmdline/cmdline.h"
#include "compare/compare.h"
#include "filespec/filespec.h"
#include "host/host.h"
#include "main/settings.h"

int main(int argc, char** argv) {
  prepare_output();
  std::string sourceText;
  std::string destText;
  parse_command_line(argc, argv, sourceText, destText);
  prepare_file_specs(sourceText, destText);
  compare_all();
  exit_run(settings.anyDifference);
}
