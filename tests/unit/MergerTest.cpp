#include "mergers/Merger.h"

#include <gtest/gtest.h>

#include <utility>

using json = Json;

namespace {

// Failure text of a merge, or "ok" when it succeeded.
std::string failureOf(const MergeResult& result) {
    return result.getIsOk() ? "ok" : result.getErrorMessage();
}

}  // namespace

TEST(MergerTest, PredicatesTestPresenceOnly) {
    Merger merger;
    EXPECT_TRUE(
        merger.isServicesExists(json::parse(R"({"services":null})"), "nodes.json").getIsOk());
    MergeResult missing =
        merger.isUsedGatewaysExists(json::parse(R"([{"usedGateways":[]}])"), "services.json");
    EXPECT_EQ(missing.getErrorMessage(), "\"usedGateways\" does not exists in service");
    EXPECT_EQ(missing.getErrorFname(), "services.json");

    EXPECT_TRUE(
        merger.isVersionInApiVersionsExists(json::parse(R"({"apiVersions":[]})"), "nodes.json")
            .getIsOk());
    EXPECT_EQ(
        merger
            .isVersionInApiVersionsExists(
                json::parse(R"({"apiVersions":[{"version":"1"},{"nodeGroups":[]}]})"), "nodes.json")
            .getErrorMessage(),
        "\"apiVersions.version\" does not exists in service");
}

TEST(MergerTest, EqualsUsedGW) {
    Merger merger;
    EXPECT_TRUE(merger.equalsUsedGW(json::parse(R"(["A"])"), json::parse(R"(["B","A"])")));
    EXPECT_FALSE(merger.equalsUsedGW(json::parse(R"(["A"])"), json::parse(R"(["C"])")));
    EXPECT_FALSE(merger.equalsUsedGW(json::parse(R"(["A"])"), json()));
    EXPECT_FALSE(merger.equalsUsedGW(json::parse("[]"), json::parse(R"(["A"])")));
    EXPECT_TRUE(merger.equalsUsedGW(json("A"), json::parse(R"(["A"])")));
    EXPECT_TRUE(merger.equalsUsedGW(json::parse(R"({"k":"A"})"), json("A")));
    EXPECT_FALSE(merger.equalsUsedGW(json::parse(R"(["a"])"), json::parse(R"(["A"])")));
    // Non-strings never compare equal and never throw.
    EXPECT_FALSE(merger.equalsUsedGW(json::parse("[1, true]"), json::parse("[1, true]")));
}

TEST(MergerTest, WithoutStepsReturnsServicesUnchanged) {
    json services = json::parse(R"({"schema_version":"3","services":[{"subsystem":"S"}]})");
    MergeResult result = Merger().merge(services);
    EXPECT_TRUE(result.getIsOk());
    EXPECT_EQ(result.getJson(), services);
}

TEST(MergerTest, AllStepsJoinTheirDocuments) {
    json services = json::parse(R"({"schema_version":"3","protocols":{"old":1},"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g1"],"locations":[1],
         "apiVersions":[{"version":"1.0"},{"version":"2.0"}]},
        {"subsystem":"S","deploymentUnit":"E","usedGateways":["g1"],"apiVersions":[]}]})");
    json nodes = json::parse(R"({"protocols":{"http":{"port":80}},"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1.0","nodeGroups":["n"]}]}]})");
    json routing = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"E","routing":["r"]}]})");
    json limits = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g1"],"quotas":["q"]}]})");
    Merger original(nodes, routing, limits);
    Merger moved(std::move(original));  // generators return their merger by value
    MergeResult result = moved.merge(services);
    ASSERT_EQ(failureOf(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(R"({"schema_version":"3",
        "protocols":{"http":{"port":80}},"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g1"],"locations":[1],
         "apiVersions":[{"version":"1.0","nodeGroups":["n"]},{"version":"2.0"}],"quotas":["q"]},
        {"subsystem":"S","deploymentUnit":"E","usedGateways":["g1"],"apiVersions":[],
         "routing":["r"]}]})"));
}

TEST(MergerTest, FailuresOfAllStepsAreJoined) {
    json services = json::parse(R"({"services":[]})");
    json nodes = json::parse(R"({"services":[{"deploymentUnit":"D","apiVersions":[]}]})");
    json routing = json::parse(R"({"routes":[]})");
    MergeResult twoSteps = Merger(nodes, routing).merge(services);
    EXPECT_FALSE(twoSteps.getIsOk());
    EXPECT_EQ(twoSteps.getErrorMessage(),
              "nodes.json: \"subsystem\" does not exists in service\n"
              "routing.json: \"services\" section does not exists\n");
    EXPECT_EQ(twoSteps.getErrorFname(), "");
    EXPECT_TRUE(twoSteps.getJson().is_null());

    MergeResult threeSteps = Merger(nodes, routing, json::object()).merge(services);
    EXPECT_EQ(threeSteps.getErrorMessage(),
              "nodes.json: \"subsystem\" does not exists in service\n"
              "routing.json: \"services\" section does not exists\n"
              "limits.json: \"services\" section does not exists\n");
}

TEST(MergerTest, ServiceGivenNullGatewaysByNodesTakesPartInLimits) {
    // The nodes entry names a gateway and the service has none: the service gains
    // "usedGateways": null, so the limits step (which needs the member) gives it the quotas of an
    // entry without gateways.
    json services = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"}]}]})");
    json nodes = json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "usedGateways":["g1"],"apiVersions":[{"version":"1","nodeGroups":["n"]}]}]})");
    json limits = json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":["q"]},
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g1"],"quotas":["other"]}]})");
    MergeResult result = Merger(nodes, json::parse(R"({"services":[]})"), limits).merge(services);
    ASSERT_EQ(failureOf(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "usedGateways":null,"apiVersions":[{"version":"1"}],"quotas":["q"]}]})"));
}

TEST(MergerTest, MalformedDocumentsNeverThrow) {
    const char* documents[] = {
        "null",
        "[]",
        "1",
        "\"s\"",
        R"({"services":1})",
        R"({"services":{"a":{"subsystem":"S"}}})",
        R"({"services":[1,null]})",
        R"({"services":[{"subsystem":1,"deploymentUnit":[],"apiVersions":{}}]})"};
    for (const char* nodesText : documents) {
        for (const char* servicesText : documents) {
            json nodes = json::parse(nodesText);
            json services = json::parse(servicesText);
            Merger merger(nodes, nodes, nodes);
            EXPECT_NO_THROW(EXPECT_FALSE(merger.merge(services).getIsOk()))
                << nodesText << " / " << servicesText;
        }
    }
}
