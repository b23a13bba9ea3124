#pragma once
#include <string>

// The program directory: every program file (settings, log, reports, traces)
// lives here. Absolute, without a trailing slash.
extern std::string directory;

// Checks that `dir` is an existing, writable folder, makes it the program
// directory and the working directory. False with the reason in `why`.
bool set_program_directory(const std::string& dir, std::string& why);

// The full name of a program file, e.g. program_file("setup.dat").
std::string program_file(const char* name);

// One program at a time uses a machine folder: takes the lock of the program
// directory (zel.lock, which holds the process id) until the process ends.
// False, with the message for the operator in `why`, when another program
// holds it.
bool lock_machine_folder(std::string& why);

// Writes argument.dat: the start-up record of the two paths.
bool write_argument_dat(const std::string& drawing);

// The folder that holds the running executable.
std::string executable_folder();

// The program directory when the command line names none: the folder that
// holds the program when it is a machine folder (it holds setup.dat, may be
// written and does not lie under /usr); otherwise the operator's own machine
// folder, `zel_machine` ($ZEL_MACHINE) when set, else `home`/zel-machine
// (empty when there is no home folder but /).
struct DefaultFolder {
    std::string dir;
    bool own = false;  // the operator's machine folder, made from the sample
};
DefaultFolder default_program_directory(const std::string& exe_folder, const char* zel_machine,
                                        const char* home);

// The sample machine folder installed with the program (share/zel/machine
// beside its bin folder), or the one of the source tree for a build in it.
// Empty when there is none.
std::string sample_machine_folder(const std::string& exe_folder);

// The files of a machine folder that come from the sample.
inline constexpr const char* kSampleFiles[] = {"setup.dat", "setup2.dat", "log.dat"};

// Makes the folder `dir` if need be and copies into it each sample file it
// does not have; a file already there is never overwritten. The operator is
// told what was copied. False with the reason in `why`.
bool make_machine_folder(const std::string& dir, const std::string& sample, std::string& why);

// `path` made absolute against the current working directory (no symlinks resolved).
std::string absolute_path(const std::string& path);
