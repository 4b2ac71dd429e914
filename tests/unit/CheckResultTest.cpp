#include "common/CheckResult.h"

#include <gtest/gtest.h>

#include "common/LoaderResult.h"
#include "common/MergeResult.h"

TEST(CheckResultTest, EmptyResultIsOkWithEmptyMessage) {
    CheckResult result;
    EXPECT_TRUE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "");
    EXPECT_EQ(result.getErrorFname(), "");
}

TEST(CheckResultTest, MessageHasOneLinePerEntryWithEmptyLinesForOkEntries) {
    CheckResult result;
    result.addResult(ResultBase::Fail("A", "nodes.json"));
    result.addResult(ResultBase::Ok());
    result.addResult(ResultBase::Fail("B"));
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "A\n\nB\n");
    // The file names of entries never reach the message or the collection's own file name.
    EXPECT_EQ(result.getErrorFname(), "");
}

TEST(CheckResultTest, OkEntriesAloneGiveAnOkResult) {
    CheckResult result;
    result.addResult(ResultBase::Ok());
    result.addResult(ResultBase::Ok());
    EXPECT_TRUE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "\n\n");
}

TEST(CheckResultTest, AddingACheckResultFlattensItsEntries) {
    CheckResult inner;
    inner.addResult(ResultBase::Fail("inner 1"));
    inner.addResult(ResultBase::Fail("inner 2"));
    CheckResult outer;
    outer.addResult(ResultBase::Fail("outer"));
    outer.addResult(inner);
    EXPECT_FALSE(outer.getIsOk());
    EXPECT_EQ(outer.getErrorMessage(), "outer\ninner 1\ninner 2\n");
    // An empty sub-result adds nothing, not even an empty line.
    outer.addResult(CheckResult());
    EXPECT_EQ(outer.getErrorMessage(), "outer\ninner 1\ninner 2\n");
}

TEST(CheckResultTest, AddingACheckResultAsResultBaseKeepsOnlyItsOkBasePart) {
    CheckResult inner;
    inner.addResult(ResultBase::Fail("lost"));
    CheckResult outer;
    outer.addResult(static_cast<const ResultBase&>(inner));
    EXPECT_TRUE(outer.getIsOk());
    EXPECT_EQ(outer.getErrorMessage(), "\n");
}

TEST(ResultBaseTest, FactoriesAndCopies) {
    ResultBase fail = ResultBase::Fail("m", "routing.json");
    ResultBase copy = fail;
    fail = ResultBase::Ok();
    EXPECT_FALSE(copy.getIsOk());
    EXPECT_EQ(copy.getErrorMessage(), "m");
    EXPECT_EQ(copy.getErrorFname(), "routing.json");
    EXPECT_TRUE(fail.getIsOk());
    EXPECT_EQ(fail.getErrorMessage(), "");
    EXPECT_EQ(ResultBase::Fail("only").getErrorFname(), "");
}

TEST(ResultBaseTest, LoaderAndMergeResultsCarryTheirDocument) {
    LoaderResult loaded = LoaderResult::okLoaderResult(Json{{"a", 1}});
    EXPECT_TRUE(loaded.getIsOk());
    EXPECT_EQ(loaded.getJson(), (Json{{"a", 1}}));
    LoaderResult failed = LoaderResult::failLoaderResult("bad", "x.json");
    EXPECT_FALSE(failed.getIsOk());
    EXPECT_TRUE(failed.getJson().is_null());
    EXPECT_EQ(failed.getErrorFname(), "x.json");

    MergeResult merged(Json::array());
    EXPECT_TRUE(merged.getIsOk());
    EXPECT_TRUE(merged.getJson().is_array());
    MergeResult mergeFailed("m", "limits.json");
    EXPECT_FALSE(mergeFailed.getIsOk());
    EXPECT_TRUE(mergeFailed.getJson().is_null());
}
