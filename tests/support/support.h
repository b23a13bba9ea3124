#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

// A fresh folder under /tmp, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

#include "app/reset.h"

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);
bool file_exists(const std::string& path);

// Base fixture: clean state and a program directory of its own.
class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string read(const std::string& name) const { return read_file(dir.file(name)); }
    void write(const std::string& name, const std::string& text) const {
        write_file(dir.file(name), text);
    }
    TempDir dir;

private:
    std::string old_cwd_;
};

// Runs the zel executable and collects what it printed.
struct RunResult {
    int status = -1;   // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};
RunResult run_zel(const std::vector<std::string>& args, const std::string& cwd = "");
