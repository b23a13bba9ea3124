#include <cstdio>

#include "app/modes.h"

int run_measure(const CommandLine&) {
    std::fprintf(stderr, "zel: --measure is not available yet\n");
    return 2;
}
