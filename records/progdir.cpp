#include "records/progdir.h"

#include <filesystem>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/text.h"
#include "records/notice.h"

std::string directory;

bool set_program_directory(const std::string& dir, std::string& why) {
    if (dir.empty() || !path_exists(dir)) {
        why = "program directory " + dir + " does not exist";
        return false;
    }
    if (!is_folder(dir)) {
        why = "program directory " + dir + " is not a folder";
        return false;
    }
    if (!folder_may_be_written(dir)) {
        why = "program directory " + dir + " cannot be written: " + errno_text();
        return false;
    }
    std::string resolved = resolved_path(dir);
    if (resolved.empty()) {
        why = "program directory " + dir + ": " + errno_text();
        return false;
    }
    if (!enter_folder(resolved)) {
        why = "cannot enter program directory " + resolved + ": " + errno_text();
        return false;
    }
    directory = resolved;
    return true;
}

bool lock_machine_folder(std::string& why) {
    long holder = 0;
    std::string reason;
    if (hold_lock_file(program_file("zel.lock"), holder, reason)) {
        if (!reason.empty()) notice("The machine folder could not be locked (" + reason + ")");
        return true;
    }
    why = "The machine folder " + directory + " is in use by another ZEL" +
          (holder > 0 ? " (process " + std::to_string(holder) + ")" : "") +
          ". Two programs on one machine folder would mix their traces, counts and settings: "
          "use the one that is running, or end it first.";
    return false;
}

std::string program_file(const char* name) {
    if (directory.empty()) return name;
    if (directory == "/") return std::string("/") + name;
    return directory + "/" + name;
}

bool write_argument_dat(const std::string& drawing) {
    std::string why;
    std::string text = strprintf("Using %s for program directory and %s for DXF path",
                                 directory.c_str(), drawing.c_str());
    if (!write_new_file(program_file("argument.dat"), text, why)) {
        notice(why);
        return false;
    }
    return true;
}

std::string executable_folder() {
    std::string exe = executable_path();
    if (exe.empty()) return ".";
    auto slash = exe.rfind('/');
    return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string absolute_path(const std::string& path) {
    if (path.empty() || is_absolute_path(path)) return path;
    std::string out = current_folder();
    if (out.empty()) return path;
    if (out.back() != '/') out += '/';
    return out + path;
}

namespace {

bool is_file(const std::string& path) { return is_regular_file(path); }

}  // namespace

DefaultFolder default_program_directory(const std::string& exe_folder, const char* zel_machine,
                                        const char* home) {
    if (!is_system_folder(exe_folder) && folder_may_be_written(exe_folder) &&
        is_file(exe_folder + "/setup.dat"))
        return {exe_folder, false};
    if (zel_machine && *zel_machine) return {absolute_path(zel_machine), true};
    // A user without a home folder of its own must name one.
    std::string h = home && *home ? home : home_folder();
    if (h.empty() || h == "/") return {"", true};
    return {h + "/zel-machine", true};
}

std::string sample_machine_folder(const std::string& exe_folder) {
    for (const char* place : {"/../share/zel/machine", "/../examples/machine"}) {
        std::error_code ec;
        auto sample = std::filesystem::weakly_canonical(exe_folder + place, ec);
        if (!ec && is_file(sample.generic_string() + "/setup.dat")) return sample.generic_string();
    }
#if defined(ZEL_BUILD_DIR) && defined(ZEL_SOURCE_SAMPLE)
    // A program in its build folder, wherever that is, has the sources' sample.
    std::error_code ec;
    if (std::filesystem::equivalent(exe_folder, ZEL_BUILD_DIR, ec) &&
        is_file(std::string(ZEL_SOURCE_SAMPLE) + "/setup.dat"))
        return ZEL_SOURCE_SAMPLE;
#endif
    return "";
}

bool make_machine_folder(const std::string& dir, const std::string& sample, std::string& why) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        why = "cannot make the machine folder " + dir + ": " + ec.message();
        return false;
    }
    if (sample.empty()) return true;
    std::string copied;
    for (const char* name : kSampleFiles) {
        std::string from = sample + "/" + name, to = dir + "/" + name;
        if (entry_exists(to) || !is_file(from)) continue;
        if (!fs::copy_file(from, to, fs::copy_options::none, ec)) {
            why = "cannot copy " + from + " into " + dir + ": " + ec.message();
            return false;
        }
        copied += std::string(copied.empty() ? "" : ", ") + name;
    }
    if (copied.rfind("setup.dat", 0) == 0)
        notice("The machine folder " + dir + " was made from the sample in " + sample +
               ": enter this machine's settings in Tools, Setup");
    else if (!copied.empty())
        notice("Machine folder " + dir + ": " + copied + " copied from the sample in " + sample);
    return true;
}
