// Reading the schema versions parses the input files once; the loading that follows takes those
// documents instead of parsing the files again.
#include <gtest/gtest.h>

#include "cli/RunDriver.h"
#include "support/CoutCapture.h"
#include "support/TestSupport.h"

using json = Json;
using testsupport::CoutCapture;
using testsupport::TempDir;

TEST(RunDriverParsedDocumentsTest, VersionReadingKeepsEveryParsedDocument) {
    TempDir dir;
    ArgumentMap arguments = {
        {"-s", dir.write("s.json", R"({"schema_version":"3","services":[1]})")},
        {"-r", dir.write("r.json", "")},
        {"-n", dir.write("n.json", R"({"schema_version":"3","protocols":{}})")},
        {"-l", dir.write("l.json", "{not json")},
        {"-o", dir.path()}};
    std::string version = "0";
    ParsedDocuments parsed;
    CoutCapture capture;
    ASSERT_TRUE(getSchemaVersion(arguments, version, &parsed));
    EXPECT_EQ(version, "3");
    EXPECT_EQ(capture.text(), "");
    // The empty routing file and the limits file that does not parse are loaded later, and
    // reported there.
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed.at("-s").jsonRef(), json::parse(R"({"schema_version":"3","services":[1]})"));
    EXPECT_EQ(parsed.at("-n").jsonRef(), json::parse(R"({"schema_version":"3","protocols":{}})"));

    LoaderResult withoutVersion(true, json());
    std::string fileVersion;
    ASSERT_TRUE(getSchemaVersionFromFile(dir.write("v.json", "[]"), fileVersion, nullptr,
                                         &withoutVersion));
    EXPECT_EQ(fileVersion, "0");
    EXPECT_EQ(withoutVersion.jsonRef(), json::array());
}
