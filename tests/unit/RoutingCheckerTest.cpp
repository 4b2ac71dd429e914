#include "checkers/RoutingChecker.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

namespace {

struct RoutingRun {
    bool ok;
    std::string message;
    std::string out;
};

RoutingRun runRouting(const char* service) {
    testsupport::CoutCapture capture;
    const CheckResult result = RoutingChecker(Json::parse(service)).check();
    return {result.getIsOk(), result.getErrorMessage(), capture.text()};
}

}  // namespace

TEST(RoutingCheckerTest, ServiceWithoutRoutingGivesOnlySharedRules) {
    const RoutingRun run = runRouting(R"({"subsystem":"S","deploymentUnit":"D"})");
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(run.message, "\n");
    EXPECT_EQ(runRouting(R"({"deploymentUnit":"D"})").message,
              "\"subsystem\" not exists in one of the services\n");
}

TEST(RoutingCheckerTest, RoutingMustBeArray) {
    EXPECT_EQ(runRouting(R"({"subsystem":"S","deploymentUnit":"D","routing":{}})").message,
              "\n\"routing\" must be array\n");
}

TEST(RoutingCheckerTest, FieldRulesCollectEveryFailureInOrder) {
    const RoutingRun run = runRouting(R"({"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"nodeGroups":[{"groupName":"main"}]}],
        "routing":[
          {"consumer":{"version":"1"},"routes":[5,{"quota":-1}]},
          {"consumer":{"release":""},"default":true,"routes":[{"groupName":""}]},
          {"consumer":{"release":"","deploymentUnit":7,"distribVersion":1},"routes":{}},
          {"consumer":[],"routes":[{"groupName":3,"quota":2.5}]},
          {"default":"yes","routes":[]},
          {"apiVersion":"v1","consumer":5,"routes":[{"groupName":"ext"}]}
        ]})");
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.message,
              "\n"
              "\"routes\" must be array with objects\n"
              "\"groupName\" not exists in one of the route\n"
              "\"quota\" must be unsigned int\n"
              "field \"release\" or \"deploymentUnit\" must be in \"consumer\"\n"
              "\"deploymentUnit\" must be in \"consumer\" if \"consumer.version\" exists\n"
              "\"groupName\" is empty\n"
              "must be only one of \"consumer\" OR \"default\" sections\n"
              "\"routes\" must be array\n"
              "\"consumer.deploymentUnit\" must be string\n"
              "\"consumer.release\" string must be not empty\n"
              "\"consumer.distribVersion\" must be string\n"
              "\"groupName\" must be string\n"
              "\"quota\" must be unsigned int\n"
              "\"consumer\" must be object\n"
              "\"routes\" must be not empty array\n"
              "\"default\" must be bool\n"
              "\n"
              "\"groupName\" not exists in routing\n"
              "\"groupName\" not exists in routing\n");
    EXPECT_EQ(run.out,
              "WARNING: routing groupName: \"\" not found in nodes\n"
              "WARNING: routing groupName: \"ext\" not found in nodes\n");
}

TEST(RoutingCheckerTest, UnknownGroupOnlyWarns) {
    const RoutingRun run = runRouting(R"({"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"nodeGroups":[{"groupName":"main"},{"groupName":7},{}]},{}],
        "routing":[{"default":false,"routes":[{"groupName":"main"},{"groupName":"other"}]}]})");
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(run.message, "\n\n\n");
    EXPECT_EQ(run.out, "WARNING: routing groupName: \"other\" not found in nodes\n");
}

TEST(RoutingCheckerTest, DefaultRouteMissing) {
    const RoutingRun run = runRouting(R"({"subsystem":"S","deploymentUnit":"D","routing":[]})");
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.message,
              "\n"
              "default route for VEK not found !\n"
              "\"apiVersions\"  not found in nodes\n");
    EXPECT_EQ(run.out,
              "ostrel v2.4.5 INPUT FILE ='routing.json' NOT VALID: "
              "'default route for VEK not found !'\n");
}

TEST(RoutingCheckerTest, ExternalGatewayEntriesDoNotCountAsDefault) {
    const RoutingRun run = runRouting(R"({"subsystem":"S","deploymentUnit":"D","apiVersions":[],
        "routing":[{"apiVersion":"v1","default":true,"routes":[{"groupName":5}]}]})");
    EXPECT_EQ(run.message,
              "\n"
              "'apiVersion' section found for EXT_GW. But default route for VEK not found ! \n "
              "docs/inputs.md#routing\n");
    EXPECT_EQ(run.out, "");
}

TEST(RoutingCheckerTest, MalformedEntriesDoNotStopTheCrossCheck) {
    const RoutingRun run = runRouting(R"({"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"nodeGroups":[{"groupName":"main"}]}],
        "routing":["entry",{"default":true},{"apiVersion":1,"routes":"main"},
                   {"apiVersion":1,"routes":[null]}]})");
    EXPECT_EQ(run.message,
              "\n"
              "\"routes\" not exists\n"
              "\"routes\" not exists\n"
              "\n"
              "\n"
              "\"groupName\" not exists in routing\n");
}
