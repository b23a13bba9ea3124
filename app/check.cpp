#include <cstdio>

#include "app/modes.h"

int run_check(const CommandLine&) {
    std::fprintf(stderr, "zel: --check is not available yet\n");
    return 2;
}
