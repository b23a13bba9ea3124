// Linked into the program and the tests of the sanitizer build
// (-DZEL_SANITIZE=ON): the sanitizers' default options, so that every run,
// from ctest, by hand or started by a test, stops at the first report and
// leaves the leaks of the system's own libraries to the suppressions file.
extern "C" {

const char* __asan_default_options() { return "abort_on_error=0:detect_leaks=1"; }

const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

const char* __lsan_default_options() { return "suppressions=" ZEL_LSAN_SUPPRESSIONS; }

}
