// tests/support/support.h on Windows: temporary folders under the user's
// temporary folder, and the program started with CreateProcessW.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/reset.h"
#include "platform/folders.h"
#include "records/progdir.h"
#include "tests/support/support.h"
#include "windows/win32.h"

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, base);
    for (unsigned n = ::GetTickCount() ^ ::GetCurrentProcessId();; ++n) {
        std::wstring name = std::wstring(base) + L"zel-test-" + std::to_wstring(n);
        if (::CreateDirectoryW(name.c_str(), nullptr)) {
            path_ = resolved_path(narrow(name));
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) std::abort();
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(widen(path_)), ec);
}

std::string read_file(const std::string& path) {
    std::ifstream in(std::filesystem::path(widen(path)), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const std::string& path, const std::string& content) {
    std::ofstream out(std::filesystem::path(widen(path)), std::ios::binary | std::ios::trunc);
    out << content;
}

bool file_exists(const std::string& path) { return path_exists(path); }

void ProgramDirTest::SetUp() {
    old_cwd_ = current_folder();
    reset_all_state();
    std::string why;
    ASSERT_TRUE(set_program_directory(dir.path(), why)) << why;
}

void ProgramDirTest::TearDown() {
    if (!enter_folder(old_cwd_)) std::abort();
    reset_all_state();
}

namespace {

std::wstring quoted(const std::string& arg) {
    std::wstring w = widen(arg), out = L"\"";
    for (wchar_t c : w) {
        if (c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

HANDLE inheritable_file(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return ::CreateFileW(widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

RunResult run_zel(const std::vector<std::string>& args, const std::string& cwd) {
    TempDir capture;
    std::string out_path = capture.file("out"), err_path = capture.file("err");
    std::wstring line = quoted(ZEL_BINARY);
    for (const std::string& a : args) line += L" " + quoted(a);
    HANDLE in = inheritable_file("NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = inheritable_file(out_path, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = inheritable_file(err_path, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    RunResult r;
    std::wstring folder = widen(cwd);
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         cwd.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(pi.hProcess, &code)) r.status = static_cast<int>(code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    for (HANDLE h : {in, out, err}) ::CloseHandle(h);
    r.out = read_file(out_path);
    r.err = read_file(err_path);
    return r;
}
