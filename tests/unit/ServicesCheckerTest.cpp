#include "checkers/ServicesChecker.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

namespace {

struct ServicesRun {
    bool ok;
    std::string message;
    std::string out;
};

ServicesRun runServices(const char* document) {
    testsupport::CoutCapture capture;
    const CheckResult result = ServicesChecker(Json::parse(document)).check();
    return {result.getIsOk(), result.getErrorMessage(), capture.text()};
}

const std::string k_noSubsystem = "\"subsystem\" not exists in one of the services\n";

}  // namespace

TEST(ServicesCheckerTest, FingerprintsFirstThenEachServiceByConcern) {
    const ServicesRun run = runServices(R"({"services":[
        {"subsystem":"A","deploymentUnit":"u","usedGateways":["g1","g2"],
         "apiVersions":[{"nodeGroups":[{"groupName":"main","dataCenters":[{"name":"dc","nodes":["n"]}]}],
                         "locations":[{"url":""}]}],
         "routing":[{"default":true,"routes":[{"groupName":"main"}]}],
         "quotas":[{"type":"rpsdefault"}]},
        {"subsystem":"A","deploymentUnit":"u","usedGateways":["g1","g2"],"apiVersions":[]},
        {"subsystem":"A","deploymentUnit":"u","usedGateways":["g2","g1"],"apiVersions":[]},
        {"deploymentUnit":"x","apiVersions":[]},
        {"deploymentUnit":"x","apiVersions":[]}]})");
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.message,
              "A:u:[\"g1\",\"g2\"] - fp not uniq into input json\n"
              "null:x:null - fp not uniq into input json\n"
              // first service: routing (subsystem, checkDefault, checkDefaultRoute), upstreams,
              // limits, locations
              "\n\n\n"
              "\n"
              "\n\"rpslimit\" not exists\n"
              "\n\"locations[i].url\" must be not empty string\n"
              // second and third service: the subsystem line of every concern checker
              "\n\n\n\n"
              "\n\n\n\n" +
                  k_noSubsystem + k_noSubsystem + k_noSubsystem + k_noSubsystem + k_noSubsystem +
                  k_noSubsystem + k_noSubsystem + k_noSubsystem);
    EXPECT_EQ(run.out, "");
}

TEST(ServicesCheckerTest, ValidDocumentGivesEmptyLinesOnly) {
    const ServicesRun run = runServices(R"({"services":[
        {"subsystem":"A","deploymentUnit":"u","usedGateways":["g"],"apiVersions":[]},
        {"subsystem":"A","deploymentUnit":"u","usedGateways":["g","h"],"apiVersions":[]}]})");
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(run.message, "\n\n\n\n\n\n\n\n");
}

TEST(ServicesCheckerTest, WarningOnlyRunPasses) {
    const ServicesRun run = runServices(R"({"services":[
        {"subsystem":"A","deploymentUnit":"u",
         "apiVersions":[{"nodeGroups":[{"groupName":"main","openshiftRoute":"r"}],"locations":[]}],
         "routing":[{"consumer":{"release":"R1"},"routes":[{"groupName":"blue"}]},
                    {"default":true,"routes":[{"groupName":"main"}]}]}]})");
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(run.message, "\n\n\n\n\n\n");
    EXPECT_EQ(run.out, "WARNING: routing groupName: \"blue\" not found in nodes\n");
}

TEST(ServicesCheckerTest, FingerprintOfMissingAndNonStringMembers) {
    const ServicesRun run = runServices(R"({"services":[
        {"subsystem":5,"deploymentUnit":{"a":1},"apiVersions":[]},
        {"subsystem":5,"deploymentUnit":{"a":1},"apiVersions":[]}]})");
    const std::string serviceLines =
        "\"subsystem\" must be string\n\"deploymentUnit\" must be string\n";
    std::string expected = "5:{\"a\":1}:null - fp not uniq into input json\n";
    for (int i = 0; i < 8; ++i) {
        expected += serviceLines;
    }
    EXPECT_EQ(run.message, expected);
}

TEST(ServicesCheckerTest, ServiceThatIsNotAnObject) {
    const std::string keys =
        k_noSubsystem + "\"deploymentUnit\" not exists in one of the services\n";
    EXPECT_EQ(runServices(R"({"services":[5]})").message,
              keys + keys + "one of \"services\" not exists \"apiVersions\" field\n" + keys + keys +
                  "\"services[i].apiVersions\" not exists\n");
}

TEST(ServicesCheckerTest, DocumentWithoutServicesArray) {
    EXPECT_EQ(runServices(R"({})").message, "\"services\" section does not exists\n");
    EXPECT_EQ(runServices(R"([{"services":[]}])").message,
              "\"services\" section does not exists\n");
    EXPECT_EQ(runServices(R"({"services":{"subsystem":"A"}})").message,
              "\"services\" must be array\n");
    EXPECT_FALSE(runServices(R"({"services":null})").ok);
    EXPECT_TRUE(runServices(R"({"services":[]})").ok);
}
