#include <gtest/gtest.h>

#include <string>

#include "cli/JsonLoader.h"
#include "support/TestSupport.h"

namespace {

std::string nested(int depth, const std::string& inner) {
    return std::string(static_cast<std::size_t>(depth), '[') + inner +
           std::string(static_cast<std::size_t>(depth), ']');
}

TEST(JsonLoaderTest, NestingDepthCountsBracketsOutsideStringsOnly) {
    EXPECT_FALSE(nestsDeeperThan(nested(3, "1"), 3));
    EXPECT_TRUE(nestsDeeperThan(nested(4, "1"), 3));
    EXPECT_TRUE(nestsDeeperThan("{\"a\":[{\"b\":[]}]}", 3));
    // Siblings do not add up; brackets in strings, also after an escaped quote, do not count.
    EXPECT_FALSE(nestsDeeperThan("[[1],[2],[3],[4]]", 2));
    EXPECT_FALSE(nestsDeeperThan("[\"[[[[\\\"[[[[\", \"\\\\\"]", 1));
    EXPECT_TRUE(nestsDeeperThan("[\"\\\\\", [[]]]", 2));
    // An odd run of backslashes escapes the quote after it, an even run does not; a string
    // that never ends hides what follows it.
    EXPECT_FALSE(nestsDeeperThan("[\"a\\\\\\\"[[[\"]", 1));
    EXPECT_TRUE(nestsDeeperThan("[\"a\\\\\\\\\", [[]]]", 2));
    EXPECT_FALSE(nestsDeeperThan("[\"[[[[[", 1));
}

TEST(JsonLoaderTest, DocumentNestedDeeperThanTheLimitFailsToLoad) {
    testsupport::TempDir dir;
    const std::string deepest = dir.write(
        "ok.json", nested(JsonLoader::k_maxDepth, "\"x\""));
    EXPECT_TRUE(JsonLoader(deepest).load().getIsOk());

    // Far deeper than the library's recursive copies could take.
    const std::string tooDeep = dir.write("deep.json", nested(1000000, ""));
    const LoaderResult result = JsonLoader(tooDeep).load();
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ("json nests deeper than 512 levels - " + tooDeep + "\n", result.getErrorMessage());
    EXPECT_EQ(tooDeep, result.getErrorFname());
}

}  // namespace
