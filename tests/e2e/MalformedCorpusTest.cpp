// The malformed-input corpus of tests/malformed: every document, put in its place among the
// valid documents of its set, must end the run in an orderly way: exit status 1, a message on
// standard output holding the expected text, nothing on standard error, and no file written,
// neither in the output directory nor anywhere else in the run's directory.
//
// File names are SET_POSITION_REASON.json; tests/malformed/expected.tsv gives the expected text
// of each and tests/malformed/generate.py writes both. A set lacking a document runs with an
// empty file in its place (and without "-l" for limits).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

const std::string k_root = std::string(OSTREL_SOURCE_DIR) + "/tests/malformed";
const char* const k_positions[] = {"services", "nodes", "routing", "limits"};

std::map<std::string, std::string> expectedTexts() {
    std::map<std::string, std::string> texts;
    std::istringstream lines(readFile(k_root + "/expected.tsv"));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string::size_type tab = line.find('\t');
        texts[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
    }
    return texts;
}

std::vector<std::string> documentNames() {
    std::vector<std::string> names;
    for (const auto& entry : expectedTexts()) {
        names.push_back(entry.first);
    }
    return names;
}

// Runs the program on the documents of set, with replacement (if any) in position.
RunOutput runSet(const TempDir& dir, const std::string& set, const std::string& position,
                 const std::string& replacement, bool replace) {
    bool limits = false;
    for (const char* name : k_positions) {
        const std::string valid = k_root + "/valid/" + set + "/" + name + ".json";
        const bool mine = replace && position == name;
        const bool present = mine || fileExists(valid);
        if (std::string(name) == "limits") {
            limits = present;
            if (!present) {
                continue;
            }
        }
        dir.write(std::string(name) + ".json", mine ? replacement : present ? readFile(valid) : "");
    }
    fs::create_directory(dir.path() + "/out");
    std::vector<std::string> args = {"-s", "services.json", "-n", "nodes.json", "-r",
                                     "routing.json", "-o", dir.path() + "/out"};
    if (limits) {
        args.insert(args.end(), {"-l", "limits.json"});
    }
    return runOstrel(args, dir.path());
}

class MalformedDocument : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedDocument, EndsInOrderlyFailure) {
    const std::string name = GetParam();
    const std::string::size_type first = name.find('_');
    const std::string::size_type second = name.find('_', first + 1);
    ASSERT_NE(std::string::npos, second) << "name is not SET_POSITION_REASON.json";
    const std::string set = name.substr(0, first);
    const std::string position = name.substr(first + 1, second - first - 1);

    TempDir dir;
    const RunOutput run =
        runSet(dir, set, position, readFile(k_root + "/docs/" + name), true);
    EXPECT_EQ(1, run.status) << run.out;
    EXPECT_EQ("", run.err);
    EXPECT_FALSE(run.out.empty());
    const std::string expected = expectedTexts()[name];
    EXPECT_NE(std::string::npos, run.out.find(expected))
        << "expected text: " << expected << "\nstandard output:\n"
        << run.out.substr(0, 3000);
    EXPECT_TRUE(listFiles(dir.path() + "/out").empty());
    std::vector<std::string> inputs = listFiles(dir.path());
    for (const std::string& file : inputs) {
        EXPECT_EQ(".json", file.substr(file.size() > 5 ? file.size() - 5 : 0))
            << "unexpected file " << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedDocument, ::testing::ValuesIn(documentNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.size() - 5);
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

// Without this every document could fail for a reason of the set instead of its own.
TEST(MalformedCorpusTest, ValidSetsSucceed) {
    for (const char* set : {"v3", "v2", "v2solo", "v0"}) {
        TempDir dir;
        const RunOutput run = runSet(dir, set, "", "", false);
        EXPECT_EQ(0, run.status) << set << "\n" << run.out.substr(0, 3000);
        EXPECT_EQ("", run.err) << set;
        EXPECT_FALSE(listFiles(dir.path() + "/out").empty()) << set;
    }
}

TEST(MalformedCorpusTest, HoldsAtLeastOneHundredDocumentsInEveryPosition) {
    const std::vector<std::string> names = documentNames();
    EXPECT_GE(names.size(), 100u);
    for (const char* position : k_positions) {
        EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return name.find(std::string("_") + position + "_") != std::string::npos;
        })) << position;
    }
    for (const std::string& name : names) {
        EXPECT_TRUE(fileExists(k_root + "/docs/" + name)) << name;
    }
}

}  // namespace
