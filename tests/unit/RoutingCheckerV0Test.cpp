#include "checkers/RoutingCheckerV0.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

namespace {

struct V0Run {
    std::string message;
    std::string out;
};

V0Run runV0(const std::string& routing) {
    const Json service = Json::parse(
        R"({"subsystem":"S","deploymentUnit":"D",
            "apiVersions":[{"nodeGroups":[{"groupName":"main"}]}],"routing":)" +
        routing + "}");
    testsupport::CoutCapture capture;
    const std::string message = RoutingCheckerV0(service).check().getErrorMessage();
    return {message, capture.text()};
}

}  // namespace

TEST(RoutingCheckerV0Test, DefaultConsumerIsTheDefaultEntry) {
    const V0Run run = runV0(R"([{"consumer":"R1","routes":[{"groupName":"main"}]},
                                {"consumer":"default","routes":[{"groupName":"main"}]}])");
    EXPECT_EQ(run.message, "\n\n\n");
    EXPECT_EQ(run.out, "");
}

TEST(RoutingCheckerV0Test, MissingDefaultHasItsOwnMessage) {
    const V0Run run = runV0(R"([{"consumer":"R1","default":true,"routes":[{"groupName":"main"}]}])");
    EXPECT_EQ(run.message, "\ndefault route for VEK not found 1!\n");
    EXPECT_EQ(run.out,
              "ostrel v2.4.5 INPUT FILE ='routing.json' NOT VALID: "
              "'default route for VEK not found 1!'\n");
}

TEST(RoutingCheckerV0Test, OnlyRoutesAndTheDefaultFlagOfTheDefaultEntryAreExamined) {
    const V0Run run = runV0(R"([
        {"consumer":"default","default":"x","routes":[{"groupName":"main"}]},
        {"consumer":"R1","default":"x","routes":[]},
        {"consumer":{"release":"R2"},"routes":[{"groupName":"main"}]},
        {"apiVersion":"v1","routes":"main"}])");
    EXPECT_EQ(run.message,
              "\n"
              "\"default\" must be bool\n"
              "\"routes\" must be not empty array\n"
              "\"consumer\" must be string\n"
              "\"routes\" must be array\n"
              "\n");
}
