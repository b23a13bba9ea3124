// The file guarantees on Windows, with a process killed in the middle of its
// saves: a replaced file holds the old content or the new, never part of
// one; appended lines are whole; the temporaries a kill leaves behind go at
// the next start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "tests/support/support.h"
#include "windows/win32.h"

namespace {

const std::string kOld(1 << 20, 'o'), kNew(1 << 20, 'n');
const std::string kLine = "2024-01-01T00:00:00+00:00,letters.dxf,1,done\r\n";

std::string environment_folder() {
    const char* f = std::getenv("ZEL_SAVE_FOLDER");
    return f ? f : "";
}

// Started by the test below as a process of its own: saves for ever.
TEST(Win32Files, SavesForEver) {
    std::string folder = environment_folder();
    if (folder.empty()) GTEST_SKIP() << "run by KilledInTheMiddleOfSaves";
    for (long k = 0;; ++k) {
        std::string why;
        replace_file(folder + "/log.dat", k % 2 ? kNew : kOld, why);
        append_line_durably(folder + "/jobs.csv", kLine, "header\r\n", why);
    }
}

TEST(Win32Files, KilledInTheMiddleOfSaves) {
    TempDir dir;
    std::string why;
    ASSERT_TRUE(replace_file(dir.file("log.dat"), kOld, why)) << why;
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableW(L"ZEL_SAVE_FOLDER", widen(dir.path()).c_str());
    int leftovers = 0;
    for (int round = 0; round < 6; ++round) {
        std::wstring line = std::wstring(L"\"") + self + L"\" --gtest_filter=Win32Files.SavesForEver";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &si, &pi));
        // Once it saves (starting a process under Wine takes a while), at
        // a different moment each round.
        for (int wait = 0; wait < 1000 && read_file(dir.file("jobs.csv")).size() < 100; ++wait)
            ::Sleep(10);
        ::Sleep(20 + 37 * round);
        ::TerminateProcess(pi.hProcess, 9);
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);

        std::string log = read_file(dir.file("log.dat"));
        EXPECT_TRUE(log == kOld || log == kNew) << "round " << round << ": " << log.size() << " bytes";
        std::string jobs = read_file(dir.file("jobs.csv"));
        ASSERT_EQ(jobs.rfind("header\r\n", 0), 0u);
        EXPECT_EQ((jobs.size() - 8) % kLine.size(), 0u) << "a line cut short";
        leftovers += remove_interrupted_saves(dir.file("log.dat"));
        EXPECT_EQ(remove_interrupted_saves(dir.file("log.dat")), 0);
    }
    ::SetEnvironmentVariableW(L"ZEL_SAVE_FOLDER", nullptr);
    // Some kill came during a write; a folder without temporaries means none did.
    RecordProperty("temporaries_removed", leftovers);
}

TEST(Win32Files, NamesThatAreNotDrawings) {
    TempDir dir;
    struct Case {
        std::string path, why;
    } cases[] = {
        {dir.path(), "it is a folder"},
        {"COM1", "it is a device"},
        {"\\\\.\\COM7", "it is a device"},
        {dir.file("nul.dxf"), "it is a device"},
        {dir.file("lpt1"), "it is a device"},
        {dir.file("com10.dxf"), ""},  // COM1 to COM9 only
        {dir.file("not there.dxf"), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(not_a_regular_file(c.path), c.why) << c.path;
}

TEST(Win32Files, KeptCopiesMoveUpAndReportsKeepTheirBytes) {
    TempDir dir;
    std::string why;
    for (const char* text : {"one\n", "two\r\n", "three\n"}) {
        keep_previous(dir.file("trace.txt"), 2);
        ASSERT_TRUE(write_new_file(dir.file("trace.txt"), text, why)) << why;
    }
    EXPECT_EQ(read_file(dir.file("trace.txt")), "three\n");
    EXPECT_EQ(read_file(dir.file("trace.1.txt")), "two\r\n");
    EXPECT_EQ(read_file(dir.file("trace.2.txt")), "one\n");
    // fopen in text mode writes LF alone, as on Linux.
    std::FILE* f = std::fopen(dir.file("report.txt").c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("a\nb\n", f);
    std::fclose(f);
    EXPECT_EQ(read_file(dir.file("report.txt")), "a\nb\n");
}

}  // namespace
