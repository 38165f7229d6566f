#include "main/settings.h"

#include <cstdio>
#include <cstdlib>

const Settings INITIAL_SETTINGS = {2, MODE_COMPARE, 1, 0, 0};

Settings settings = INITIAL_SETTINGS;

void exit_run(int status) {
  if (fflush(stdout) != 0 || ferror(stdout)) {
    fprintf(stderr, "kestro: write error on standard output\n");
    status = STATUS_FATAL;
  }
  exit(status);
}
