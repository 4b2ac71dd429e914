#include "mergers/MergerV0.h"

#include <gtest/gtest.h>

#include "mergers/MergerRoutingV0.h"

using json = Json;

namespace {

std::string outcome(const MergeResult& result) {
    return result.getIsOk() ? "ok" : result.getErrorMessage();
}

const char* const kServices = R"({"services":[{"subsystem":"S","deploymentUnit":"D",
    "apiVersions":[{"version":"1"}]}]})";

}  // namespace

TEST(MergerV0Test, WithoutStepsReturnsServicesUnchanged) {
    MergeResult result = MergerV0().merge(json::parse(kServices));
    EXPECT_EQ(outcome(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(kServices));
}

TEST(MergerV0Test, RoutingOfTheFirstApiVersion) {
    json nodes = json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":["n"]}]}]})");
    json routing =
        json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":"top",
        "apiVersions":[{"routing":["first"]},{"routing":["second"]}]}]})");
    MergeResult result = MergerV0(nodes, routing).merge(json::parse(kServices));
    ASSERT_EQ(outcome(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":["n"]}],"routing":["first"]}]})"));
}

TEST(MergerV0Test, EntryWithoutRoutingInFirstApiVersion) {
    json nodes = json::parse(R"({"services":[]})");
    const char* entries[] = {
        R"({"subsystem":"S","deploymentUnit":"D","routing":[]})",
        R"({"subsystem":"S","deploymentUnit":"D","apiVersions":[]})",
        R"({"subsystem":"S","deploymentUnit":"D","apiVersions":["routing"]})",
        R"({"subsystem":"S","deploymentUnit":"D","apiVersions":{"routing":[]}})",
        R"({"subsystem":"S","deploymentUnit":"D","apiVersions":[{},{"routing":[]}]})"};
    for (const char* entry : entries) {
        json routing = {{"services", json::array({json::parse(entry)})}};
        MergeResult result;
        EXPECT_NO_THROW(result = MergerV0(nodes, routing).merge(json::parse(kServices)));
        EXPECT_EQ(outcome(result),
                  "routing.json: \"apiVersions.routing\" does not exists in service\n")
            << entry;
    }
    // The subsystem is tested first.
    EXPECT_EQ(MergerRoutingV0(json::parse(R"({"services":[{"deploymentUnit":"D"}]})"))
                  .merge(json::parse(kServices))
                  .getErrorMessage(),
              "\"subsystem\" does not exists in service");
}
