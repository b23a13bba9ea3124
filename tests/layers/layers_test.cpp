// The folders are layers: a file includes headers of its own folder and of
// the folders below it, never of one above, and no two folders include each
// other. The Qt and Win32 layers and the simulated machine stand beside the
// rest and see only the platform and the resources. Only the Qt layer and
// main() include Qt. Each folder's tests are in the test folder of the same name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top.
const std::vector<std::string> kLayers = {
    "platform", "resources",  "records",    "geometry", "fonts", "import",
    "planning", "controller", "sequencing", "shell",    "app"};
// Layers of pure functions that include nothing of the program's other folders.
const std::set<std::string> kSelfContained = {"geometry"};
// Beside the layers: what each of them may include besides itself.
const std::map<std::string, std::set<std::string>> kBeside = {
    {"qt", {"platform", "resources"}},
    {"windows", {"platform", "resources"}},
    {"sim", {"platform"}},
};

std::string folder_of(const std::string& path) {
    auto slash = path.find('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

int rank(const std::string& folder) {
    for (std::size_t i = 0; i < kLayers.size(); ++i)
        if (kLayers[i] == folder) return static_cast<int>(i);
    return -1;
}

bool may_include(const std::string& from, const std::string& to) {
    if (from == to) return true;
    if (kSelfContained.count(from)) return false;
    if (auto it = kBeside.find(from); it != kBeside.end()) return it->second.count(to) > 0;
    if (kBeside.count(to)) return from == "app";
    return rank(to) >= 0 && rank(to) < rank(from);
}

struct Include {
    std::string file, header;
};

// Every #include "..." of the program's own sources (not tests, benchmarks or scripts).
std::vector<Include> program_includes(std::set<std::string>& folders, std::string& qt_outside) {
    const fs::path root = ZEL_SOURCE_DIR;
    const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
    const std::regex qt(R"(^\s*#\s*include\s*<Q)");
    std::vector<Include> out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::directory_entry& e = *it;
        std::string rel = fs::relative(e.path(), root).generic_string();
        std::string top = rel.substr(0, rel.find('/'));
        // Build folders (build, build-asan, ...) hold generated files only, and
        // other tests make and remove files in them meanwhile: not walked.
        if (top == "tests" || top == "bench" || top.rfind("build", 0) == 0 || top[0] == '.') {
            it.disable_recursion_pending();
            continue;
        }
        if (!e.is_regular_file() || (e.path().extension() != ".cpp" && e.path().extension() != ".h") ||
            rel.find('/') == std::string::npos)
            continue;
        folders.insert(folder_of(rel));
        std::ifstream in(e.path());
        std::string line;
        std::smatch m;
        while (std::getline(in, line)) {
            if (std::regex_search(line, m, quoted)) out.push_back({rel, m[1]});
            bool qt_allowed = folder_of(rel) == "qt" || rel == "app/window_mode.cpp";
            if (std::regex_search(line, qt) && !qt_allowed) qt_outside += rel + "\n";
        }
    }
    return out;
}

TEST(Layers, NoFileIncludesAHeaderFromAFolderAboveItsOwn) {
    std::set<std::string> folders;
    std::string qt_outside;
    std::vector<Include> includes = program_includes(folders, qt_outside);
    ASSERT_GT(includes.size(), 100u);

    for (const std::string& f : folders)
        EXPECT_TRUE(rank(f) >= 0 || kBeside.count(f))
            << "the folder " << f << "/ has no place in the layers: add it to kLayers";

    std::set<std::pair<std::string, std::string>> uses;
    std::string upward;
    for (const Include& inc : includes) {
        std::string from = folder_of(inc.file), to = folder_of(inc.header);
        if (to.empty() || from == to) continue;
        uses.insert({from, to});
        if (!may_include(from, to)) upward += inc.file + " includes " + inc.header + "\n";
    }
    EXPECT_EQ(upward, "") << "includes against the layers (bottom to top: platform, resources, "
                             "records, geometry, fonts, import, planning, controller, "
                             "sequencing, shell, app; geometry includes none of the others)";
    for (const auto& [from, to] : uses)
        EXPECT_FALSE(uses.count({to, from})) << from << "/ and " << to << "/ include each other";
    EXPECT_EQ(qt_outside, "") << "Qt is included outside qt/ and main()";
}

// The program's folders (those at the top that hold its sources) and the
// folders under tests/.
std::set<std::string> top_folders(const fs::path& root, bool sources_only) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(root)) {
        std::string name = e.path().filename().string();
        if (!e.is_directory() || name[0] == '.' || name.rfind("build", 0) == 0) continue;
        bool sources = !sources_only;
        for (const auto& f : fs::directory_iterator(e.path()))
            sources = sources || f.path().extension() == ".cpp" || f.path().extension() == ".h";
        if (sources) out.insert(name);
    }
    return out;
}

TEST(Layers, EverySourceFolderHasATestFolderOfTheSameName) {
    const fs::path root = ZEL_SOURCE_DIR;
    std::set<std::string> sources = top_folders(root, true);
    for (const char* not_program : {"tests", "bench"}) sources.erase(not_program);
    ASSERT_TRUE(sources.count("platform") && sources.count("app"));
    const std::set<std::string> tests = top_folders(root / "tests", false);
    for (const std::string& f : sources)
        EXPECT_TRUE(tests.count(f)) << f << "/ has no tests/" << f << "/";
    // Beside them only the suites that test the program as a whole, and their support.
    const std::set<std::string> whole = {"desktop", "golden", "layers", "package", "fuzz",
                                         "support"};
    for (const std::string& t : tests)
        EXPECT_TRUE(sources.count(t) || whole.count(t))
            << "tests/" << t << "/ is named after no source folder";
}

TEST(Layers, TheCheckItselfTellsUpFromDown) {
    EXPECT_TRUE(may_include("sequencing", "controller"));
    EXPECT_FALSE(may_include("controller", "sequencing"));
    EXPECT_FALSE(may_include("qt", "shell"));
    EXPECT_TRUE(may_include("app", "qt"));
    EXPECT_FALSE(may_include("shell", "sim"));
    EXPECT_EQ(folder_of("qt/canvas.h"), "qt");
    EXPECT_TRUE(may_include("import", "geometry"));
    EXPECT_TRUE(may_include("fonts", "geometry"));
    EXPECT_FALSE(may_include("geometry", "platform"));
}

}  // namespace
