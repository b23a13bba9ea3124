#pragma once
#include <string>
#include <vector>

// What the machine folder needs to know of the file system and the user, one
// implementation per system. Paths are UTF-8; on Windows they use forward
// slashes ("C:/Users/op/AppData/Local/zel-machine"), which the system takes
// as it takes backslashes.

bool is_folder(const std::string& path);
bool is_regular_file(const std::string& path);
bool path_exists(const std::string& path);
// Anything at `path`, a link that leads nowhere too.
bool entry_exists(const std::string& path);
// The folder may be written and entered; false with errno set.
bool folder_may_be_written(const std::string& dir);
// `path` absolute, with links and "." and ".." resolved; empty with errno set.
std::string resolved_path(const std::string& path);
bool enter_folder(const std::string& dir);
std::string current_folder();
bool is_absolute_path(const std::string& path);
// The running program's own file.
std::string executable_path();
// The folder the user's machine folder goes in without ZEL_MACHINE: the home
// folder ($HOME, else the user's entry) on Linux, the user's local
// application-data folder on Windows. Empty when there is none.
std::string home_folder();
// A folder the program is installed in and never writes: /usr on Linux,
// Program Files (and the Windows folder) on Windows.
bool is_system_folder(const std::string& path);
// The environment variable `name`, UTF-8; empty when it is not set.
std::string environment_variable(const char* name);
std::string user_name();

// The command line's arguments after the program's name, UTF-8 (on Windows
// from the wide command line, whatever the code page).
std::vector<std::string> program_arguments(int argc, char** argv);
