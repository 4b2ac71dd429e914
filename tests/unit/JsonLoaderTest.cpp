#include "cli/JsonLoader.h"

#include <gtest/gtest.h>

#include "cli/InputLoading.h"
#include "support/CoutCapture.h"
#include "support/TestSupport.h"

using json = Json;
using testsupport::CoutCapture;
using testsupport::TempDir;

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST(JsonLoaderTest, UnreadablePathFailsWithThePath) {
    TempDir dir;
    const std::string missing = dir.path() + "/missing.json";
    LoaderResult result = JsonLoader(missing).load();
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "could not open json - " + missing + "\n");
    EXPECT_EQ(result.getErrorFname(), missing);
    EXPECT_TRUE(result.getJson().is_null());
}

TEST(JsonLoaderTest, DirectoryCannotBeOpened) {
    TempDir dir;
    LoaderResult result = JsonLoader(dir.path()).load();
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "could not open json - " + dir.path() + "\n");
    EXPECT_FALSE(checkFileNotEmpty(dir.path()));
}

TEST(JsonLoaderTest, EmptyFileLoadsAsNull) {
    TempDir dir;
    LoaderResult result = JsonLoader(dir.write("e.json", "")).load();
    EXPECT_TRUE(result.getIsOk());
    EXPECT_TRUE(result.getJson().is_null());
}

TEST(JsonLoaderTest, ParsesTheWholeFile) {
    TempDir dir;
    LoaderResult result = JsonLoader(dir.write("d.json", "{\"a\": [1, \"x\"]}\n")).load();
    EXPECT_TRUE(result.getIsOk());
    EXPECT_EQ(result.getJson(), json::parse(R"({"a":[1,"x"]})"));
}

TEST(JsonLoaderTest, ParseErrorsCarryTheParserTextAndExceptionId) {
    TempDir dir;
    // A single blank is not an empty file, and not JSON either.
    for (const char* content : {" ", "{\"a\": 1", "{\"a\": 1}}"}) {
        const std::string path = dir.write("bad.json", content);
        LoaderResult result = JsonLoader(path).load();
        EXPECT_FALSE(result.getIsOk()) << content;
        EXPECT_EQ(result.getErrorFname(), path);
        EXPECT_EQ(result.getErrorMessage().rfind("[json.exception.parse_error.101]", 0), 0u)
            << result.getErrorMessage();
        EXPECT_TRUE(endsWith(result.getErrorMessage(), "\nexception id: 101\n"))
            << result.getErrorMessage();
    }
}

TEST(JsonLoaderTest, IsEmptyFileRewindsTheStream) {
    TempDir dir;
    std::ifstream stream(dir.write("x.txt", "abc"));
    EXPECT_FALSE(isEmptyFile(stream));
    std::string content;
    stream >> content;
    EXPECT_EQ(content, "abc");

    std::ifstream blank(dir.write("blank.txt", "\n"));
    EXPECT_FALSE(isEmptyFile(blank));
    std::ifstream empty(dir.write("empty.txt", ""));
    EXPECT_TRUE(isEmptyFile(empty));
}

TEST(JsonLoaderTest, CheckFileNotEmpty) {
    TempDir dir;
    EXPECT_TRUE(checkFileNotEmpty(dir.write("a", " ")));
    EXPECT_FALSE(checkFileNotEmpty(dir.write("b", "")));
    EXPECT_FALSE(checkFileNotEmpty(dir.path() + "/none"));
}

TEST(InputLoadingTest, LoadJsonNeedsTheOption) {
    TempDir dir;
    ArgumentMap args{{"-s", std::string(dir.write("s.json", "[1]"))}};
    LoaderResult loaded = loadJson("-s", args);
    EXPECT_TRUE(loaded.getIsOk());
    EXPECT_EQ(loaded.getJson(), json::parse("[1]"));

    LoaderResult missing = loadJson("-l", args);
    EXPECT_FALSE(missing.getIsOk());
    EXPECT_EQ(missing.getErrorMessage(),
              "json flag -l and json file name not found in the command line");
    EXPECT_EQ(missing.getErrorFname(), "");
}

TEST(InputLoadingTest, EmptyRoutingAndNodesDocumentsAreAbsent) {
    for (const char* text : {"null", "{}", "[]"}) {
        LoaderResult loaded = LoaderResult::okLoaderResult(json::parse(text));
        EXPECT_EQ(getRoutingJson(loaded).getFileName(), "") << text;
        EXPECT_EQ(getNodesJson(loaded).getFileName(), "") << text;
    }
    LoaderResult loaded = LoaderResult::okLoaderResult(json::parse(R"({"services":[]})"));
    EXPECT_EQ(getRoutingJson(loaded).getFileName(), "routing.json");
    EXPECT_EQ(getNodesJson(loaded).getFileName(), "nodes.json");
    EXPECT_EQ(getNodesJson(loaded).getJson(), json::parse(R"({"services":[]})"));
    // Scalars are not empty in the library's sense, so they count as present documents.
    EXPECT_EQ(getNodesJson(LoaderResult::okLoaderResult(json(0))).getFileName(), "nodes.json");
}

TEST(InputLoadingTest, EmptinessWarningsComeInServicesNodesLimitsRoutingOrder) {
    TempDir dir;
    const std::string empty = dir.write("empty.json", "");
    const std::string full = dir.write("full.json", "{}");
    ArgumentMap args{{"-s", empty}, {"-r", empty}, {"-n", dir.path() + "/none"}, {"-l", empty}};
    {
        CoutCapture capture;
        checkInputFilesAsNotEmpty(args);
        EXPECT_EQ(capture.text(),
                  "ostrel v2.4.5 INPUT FILE ='services.json' NOT VALID: 'file is empty'\n"
                  "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: 'file is empty'\n"
                  "ostrel v2.4.5 INPUT FILE ='limits.json' NOT VALID: 'file is empty'\n"
                  "ostrel v2.4.5 INPUT FILE ='routing.json' NOT VALID: 'file is empty'\n");
    }
    ArgumentMap good{{"-s", full}, {"-r", full}, {"-n", full}};
    CoutCapture capture;
    checkInputFilesAsNotEmpty(good);
    EXPECT_EQ(capture.text(), "");
}
