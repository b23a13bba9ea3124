// The machine folder on Windows: the program's own folder only when it holds
// settings, may be written and is not under Program Files; otherwise the
// operator's, under the local application data; paths with forward slashes.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/folders.h"
#include "records/progdir.h"
#include "tests/support/support.h"
#include "windows/win32.h"

namespace {

TEST(Win32Folders, TheProgramsFolderIsTheMachineFolderOnlyOutsideProgramFiles) {
    TempDir portable, bare;
    write_file(portable.file("setup.dat"), "2546.479 0.125\n");
    std::string program_files = environment_variable("ProgramFiles");
    ASSERT_FALSE(program_files.empty());
    for (char& c : program_files)
        if (c == '\\') c = '/';
    std::string installed = program_files + "/zel-folders-test/bin";
    ASSERT_TRUE(std::filesystem::create_directories(std::filesystem::path(widen(installed))));
    write_file(installed + "/setup.dat", "2546.479 0.125\n");
    struct Case {
        std::string exe_folder;
        const char* zel_machine;
        std::string dir;
        bool own;
    } cases[] = {
        {portable.path(), nullptr, portable.path(), false},     // a copy with its settings
        {bare.path(), nullptr, "C:/Users/op/AppData/Local/zel-machine", true},
        {installed, nullptr, "C:/Users/op/AppData/Local/zel-machine", true},  // never written
        {installed, "D:/shop/zel", "D:/shop/zel", true},
    };
    for (const Case& c : cases) {
        DefaultFolder d = default_program_directory(c.exe_folder, c.zel_machine,
                                                    "C:/Users/op/AppData/Local");
        EXPECT_EQ(d.dir, c.dir) << c.exe_folder;
        EXPECT_EQ(d.own, c.own) << c.exe_folder;
    }
    std::filesystem::remove_all(std::filesystem::path(widen(program_files + "/zel-folders-test")));
}

TEST(Win32Folders, PathsAsTheProgramKeepsThem) {
    for (const char* path : {"C:/x", "C:\\x", "//server/share/x", "\\\\server\\share\\x"})
        EXPECT_TRUE(is_absolute_path(path)) << path;
    for (const char* path : {"x", "C:x", "drawings/x.dxf", ""})
        EXPECT_FALSE(is_absolute_path(path)) << path;
    TempDir dir;
    std::string back = dir.path();
    for (char& c : back)
        if (c == '/') c = '\\';
    EXPECT_EQ(resolved_path(back + "\\.\\"), dir.path());
    EXPECT_EQ(resolved_path(dir.file("gone")), "");
    EXPECT_EQ(dir.path().find('\\'), std::string::npos);
    std::string home = home_folder();
    EXPECT_NE(home.find("AppData/Local"), std::string::npos) << home;
    EXPECT_TRUE(folder_may_be_written(dir.path()));
    EXPECT_FALSE(folder_may_be_written(dir.file("gone")));
    EXPECT_EQ(absolute_path("C:/drawings/x.dxf"), "C:/drawings/x.dxf");
}

}  // namespace
