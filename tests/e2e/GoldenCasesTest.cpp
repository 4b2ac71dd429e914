// Whole-run golden tests. Every directory under cases/ is one run of the program:
//   args      one argument per line; {out} is a fresh empty output directory, {missing} a path
//             that does not exist, {tmp} a scratch directory
//   in/       input documents; the program runs with this directory as its working directory
//   stdout    the exact expected standard output (same placeholders as args)
//   status    the expected exit status
//   expected/ the exact files expected in {out}; without it, {out} must stay empty
// Standard error must always be empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(OSTREL_E2E_DIR, ec)) {
        if (entry.is_directory() && fs::exists(entry.path() / "args")) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> readArgs(const std::string& path) {
    std::vector<std::string> args;
    std::istringstream lines(readFile(path));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            args.push_back(line);
        }
    }
    return args;
}

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, MatchesExpectedOutputAndFiles) {
    const std::string dir = std::string(OSTREL_E2E_DIR) + "/" + GetParam();
    TempDir scratch;
    const std::string out = scratch.path() + "/out";
    fs::create_directory(out);
    const std::string missing = scratch.path() + "/missing";
    auto substitute = [&](std::string text) {
        text = replaceAll(text, "{out}", out);
        text = replaceAll(text, "{missing}", missing);
        return replaceAll(text, "{tmp}", scratch.path());
    };

    std::vector<std::string> args = readArgs(dir + "/args");
    for (auto& a : args) {
        a = substitute(a);
    }
    const std::string cwd = fs::exists(dir + "/in") ? dir + "/in" : dir;
    RunOutput run = runOstrel(args, cwd);

    EXPECT_EQ(substitute(readFile(dir + "/stdout")), run.out);
    EXPECT_EQ(std::stoi(readFile(dir + "/status")), run.status);
    const std::string expectedErr = fileExists(dir + "/stderr") ? readFile(dir + "/stderr") : "";
    EXPECT_EQ(expectedErr, run.err);

    const std::string expectedDir = dir + "/expected";
    std::vector<std::string> expectedFiles;
    if (fs::exists(expectedDir)) {
        expectedFiles = listFiles(expectedDir);
    }
    EXPECT_EQ(expectedFiles, listFiles(out));
    for (const auto& name : expectedFiles) {
        if (fileExists(out + "/" + name)) {
            EXPECT_EQ(readFile(expectedDir + "/" + name), readFile(out + "/" + name))
                << "file " << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenCase);

}  // namespace
