// Golden end-to-end runs. Each folder tests/golden/<case>/ holds `args` (one
// argument a line), `in/` (the logs and any vexo.cfg or vexo.css: the folder the
// program starts in), `transcript.txt` (the console, elapsed seconds masked) and
// `out/` (every file the run adds to that folder, page time stamps masked).
// A fresh run must give the same files, byte for byte; the first difference is
// shown as a unified diff. VEXO_UPDATE_GOLDEN=1 rewrites transcript.txt and out/.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "harness.h"

namespace {

using namespace harness;

const std::string GOLDEN = std::string(VEXO_SOURCE_DIR) + "/tests/golden";

std::vector<std::string> cases() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(GOLDEN))
        if (e.is_directory()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// `diff -u` of the two texts, or both texts when diff cannot be run.
std::string difference(const std::string& name, const std::string& expected, const std::string& actual) {
    scratch_dir tmp;
    write_file(tmp / "expected", expected);
    write_file(tmp / "actual", actual);
    const std::string command = "diff -u --label 'expected " + name + "' --label 'actual " + name + "' '" +
                                (tmp / "expected") + "' '" + (tmp / "actual") + "' 2>&1 | head -n 60";
    std::string shown;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) shown.append(buffer, n);
        pclose(pipe);
    }
    if (shown.find("@@") == std::string::npos)
        shown = "expected " + name + ":\n" + expected + "\nactual " + name + ":\n" + actual;
    return shown;
}

// The style sheet and script of the web pages are copied from the program
// as built (their own tests check them): no golden case holds them.
bool embedded_asset(const std::string& file) { return file == "vexo_web/vexo.css" || file == "vexo_web/vexo.js"; }

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, RunGivesTheExpectedTranscriptAndFiles) {
    const std::string folder = GOLDEN + "/" + GetParam();
    std::vector<std::string> args;
    std::istringstream lines(read_file(folder + "/args"));
    for (std::string a; std::getline(lines, a);)
        if (!a.empty()) args.push_back(a);
    scratch_dir run;
    const std::vector<std::string> inputs = list_files(folder + "/in");
    for (const std::string& f : inputs) write_file(run / f, read_file(folder + "/in/" + f));

    const run_result r = run_vexo(run.path, args);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(broken_links(run.path), std::vector<std::string>());
    std::map<std::string, std::string> actual{{"transcript.txt", mask_elapsed(r.out)}};
    for (const std::string& f : list_files(run.path))
        if (!std::binary_search(inputs.begin(), inputs.end(), f) && !embedded_asset(f))
            actual["out/" + f] = mask_stamps(read_file(run / f));

    if (const char* update = std::getenv("VEXO_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        fs::remove_all(folder + "/out");
        for (const auto& [name, bytes] : actual) write_file(folder + "/" + name, bytes);
        return;
    }
    std::map<std::string, std::string> expected{{"transcript.txt", read_file(folder + "/transcript.txt")}};
    if (fs::is_directory(folder + "/out"))
        for (const std::string& f : list_files(folder + "/out")) expected["out/" + f] = read_file(folder + "/out/" + f);
    std::vector<std::string> missing, extra, differing;
    for (const auto& [name, bytes] : expected)
        if (!actual.count(name)) missing.push_back(name);
        else if (actual[name] != bytes) differing.push_back(name);
    for (const auto& entry : actual)
        if (!expected.count(entry.first)) extra.push_back(entry.first);
    EXPECT_EQ(missing, std::vector<std::string>()) << "files the run did not write";
    EXPECT_EQ(extra, std::vector<std::string>()) << "files the run wrote beyond the expected";
    EXPECT_EQ(differing, std::vector<std::string>())
        << (differing.empty() ? "" : difference(differing[0], expected[differing[0]], actual[differing[0]]));
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
