#include "checkers/RoutingCheckerLegacy.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

namespace {

struct LegacyRun {
    std::string message;
    std::string out;
};

LegacyRun runLegacy(const std::string& routing) {
    const Json service = Json::parse(
        R"({"subsystem":"S","deploymentUnit":"D",
            "apiVersions":[{"nodeGroups":[{"groupName":"main"}]}],"routing":)" +
        routing + "}");
    testsupport::CoutCapture capture;
    const std::string message = RoutingCheckerLegacy(service).check().getErrorMessage();
    return {message, capture.text()};
}

}  // namespace

TEST(RoutingCheckerLegacyTest, ExternalGatewayEntriesGetEveryRule) {
    const LegacyRun run = runLegacy(R"([{"apiVersion":"v1","default":true,"routes":[{"groupName":""}]},
        {"apiVersion":"v2","consumer":{"release":"R"},"default":false,"routes":[{"groupName":"main"}]}])");
    EXPECT_EQ(run.message,
              "\n"
              "\"groupName\" is empty\n"
              "\n"
              "must be only one of \"consumer\" OR \"default\" sections\n"
              "\n");
    EXPECT_EQ(run.out, "WARNING: routing groupName: \"\" not found in nodes\n");
}

TEST(RoutingCheckerLegacyTest, MissingDefaultNeverGivesTheExternalGatewayMessage) {
    const LegacyRun run =
        runLegacy(R"([{"apiVersion":"v1","consumer":{"release":"R"},"routes":[{"groupName":"main"}]}])");
    EXPECT_EQ(run.message, "\ndefault route for VEK not found !\n");
    EXPECT_EQ(run.out,
              "ostrel v2.4.5 INPUT FILE ='routing.json' NOT VALID: "
              "'default route for VEK not found !'\n");
}
