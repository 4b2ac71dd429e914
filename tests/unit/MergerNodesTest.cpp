#include "mergers/MergerNodes.h"

#include <gtest/gtest.h>

using json = Json;

namespace {

// "ok" for a success, else the file name, ": " and the message.
std::string outcome(const MergeResult& result) {
    return result.getIsOk() ? "ok" : result.getErrorFname() + ": " + result.getErrorMessage();
}

MergeResult mergeNodes(const char* nodes, const char* services) {
    return MergerNodes(json::parse(nodes)).merge(json::parse(services));
}

// The "services" of the merged document.
json mergedServices(const char* nodes, const char* services) {
    MergeResult result = mergeNodes(nodes, services);
    EXPECT_EQ(outcome(result), "ok");
    return result.getJson()["services"];
}

}  // namespace

TEST(MergerNodesTest, DocumentsWithoutServices) {
    EXPECT_EQ(outcome(mergeNodes("{}", "{}")), "nodes.json: \"services\" section does not exists");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[]})", "{}")),
              "services.json: \"services\" section does not exists");
}

TEST(MergerNodesTest, EntriesAreTestedBeforeServices) {
    const char* services = R"({"services":[{"deploymentUnit":"D"}]})";
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[{"deploymentUnit":"D"}]})", services)),
              "nodes.json: \"subsystem\" does not exists in service");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[]})", services)),
              "services.json: \"subsystem\" does not exists in service");
    // Entries in order; in one entry the members in the order subsystem, deploymentUnit,
    // apiVersions, version.
    EXPECT_EQ(
        outcome(mergeNodes(R"({"services":[{"subsystem":"S","apiVersions":[{}]},{}]})", services)),
        "nodes.json: \"deploymentUnit\" does not exists in service");
    EXPECT_EQ(
        outcome(mergeNodes(R"({"services":[{"subsystem":"S","deploymentUnit":"D"}]})", services)),
        "nodes.json: \"apiVersions\" does not exists in service");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"},{}]}]})",
                                 services)),
              "nodes.json: \"apiVersions.version\" does not exists in service");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[5]})", services)),
              "nodes.json: \"subsystem\" does not exists in service");
}

TEST(MergerNodesTest, NodeGroupsGoToTheSameVersion) {
    json merged = mergedServices(
        R"({"services":[{"subsystem":"S","deploymentUnit":"D",
            "apiVersions":[{"version":"1.0","nodeGroups":["g"]},{"version":"3.0","nodeGroups":["x"]}]}]})",
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1.0"},{"version":"2.0"}]},
            {"subsystem":"S","deploymentUnit":"E","apiVersions":[{"version":"1.0"}]},
            {"subsystem":"T","deploymentUnit":"D","apiVersions":[{"version":"1.0"}]}]})");
    EXPECT_EQ(merged, json::parse(R"([
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1.0","nodeGroups":["g"]},{"version":"2.0"}]},
        {"subsystem":"S","deploymentUnit":"E","apiVersions":[{"version":"1.0"}]},
        {"subsystem":"T","deploymentUnit":"D","apiVersions":[{"version":"1.0"}]}])"));
}

TEST(MergerNodesTest, LastMatchingEntryWins) {
    json merged = mergedServices(
        R"({"services":[
            {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1","nodeGroups":["first"]}]},
            {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"2","nodeGroups":["a"]},
                                                                  {"version":"1","nodeGroups":["second"]},
                                                                  {"version":"2","nodeGroups":["b"]}]},
            {"subsystem":"S","deploymentUnit":"D","usedGateways":["other"],
             "apiVersions":[{"version":"1","nodeGroups":["not mine"]}]}]})",
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],
            "apiVersions":[{"version":"1"},{"version":"2"},{"version":"1"}]}]})");
    EXPECT_EQ(merged[0]["apiVersions"], json::parse(R"([{"version":"1","nodeGroups":["second"]},
        {"version":"2","nodeGroups":["b"]},{"version":"1","nodeGroups":["second"]}])"));
}

TEST(MergerNodesTest, GatewayTest) {
    const char* nodes = R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":["A"],
        "apiVersions":[{"version":"1","nodeGroups":["n"]}]}]})";
    json merged = mergedServices(nodes, R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["B","A"],"apiVersions":[{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["C"],"apiVersions":[{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"X","apiVersions":[{"version":"1"}]}]})");
    EXPECT_EQ(merged, json::parse(R"([
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["B","A"],"apiVersions":[{"version":"1","nodeGroups":["n"]}]},
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["C"],"apiVersions":[{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"D","usedGateways":null,"apiVersions":[{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"X","apiVersions":[{"version":"1"}]}])"));

    // An entry without gateways matches whatever the service's gateways are.
    merged = mergedServices(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":["n"]}]}]})",
                            R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["C"],"apiVersions":[{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"}]}]})");
    EXPECT_EQ(merged[0]["apiVersions"][0]["nodeGroups"], json::parse(R"(["n"])"));
    EXPECT_EQ(merged[1], json::parse(R"({"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":["n"]}]})"));
}

TEST(MergerNodesTest, ProtocolsComeFromNodes) {
    MergerNodes withProtocols(json::parse(R"({"protocols":{"https":{}},"services":[]})"));
    MergeResult result = withProtocols.merge(
        json::parse(R"({"protocols":"mine","schema_version":"3","services":[]})"));
    EXPECT_EQ(result.getJson(),
              json::parse(R"({"protocols":{"https":{}},"schema_version":"3","services":[]})"));

    json document = json::parse(R"({"protocols":"mine"})");
    MergerNodes(json::parse(R"({"services":[]})")).addProtocols(document);
    EXPECT_EQ(document, json::parse(R"({"protocols":"mine"})"));
    json notObject = json::array();
    withProtocols.addProtocols(notObject);
    EXPECT_EQ(notObject, json::array());
}

TEST(MergerNodesTest, WrongTypesFailAfterAllPresenceTests) {
    const char* service =
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","apiVersions":[]}]})";
    EXPECT_EQ(
        outcome(mergeNodes(
            R"({"services":[{"subsystem":1,"deploymentUnit":"D","apiVersions":[]}]})", service)),
        "nodes.json: \"subsystem\" must be string");
    // The missing member of the second entry is reported before the wrong type of the first.
    EXPECT_EQ(
        outcome(mergeNodes(R"({"services":[{"subsystem":1,"deploymentUnit":"D","apiVersions":[]},
                                                 {"subsystem":"S","apiVersions":[]}]})",
                           service)),
        "nodes.json: \"deploymentUnit\" does not exists in service");
    EXPECT_EQ(outcome(mergeNodes(
                  R"({"services":[]})",
                  R"({"services":[{"subsystem":"S","deploymentUnit":null,"apiVersions":[]}]})")),
              "services.json: \"deploymentUnit\" must be string");
    EXPECT_EQ(
        outcome(mergeNodes(
            R"({"services":[]})",
            R"({"services":[{"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":1.0}]}]})")),
        "services.json: \"apiVersions.version\" must be string");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
                                     "apiVersions":{"a":{"version":"1"}}}]})",
                                 service)),
              "nodes.json: \"apiVersions\" must be array");
    EXPECT_EQ(outcome(mergeNodes(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":["A",2],
                                     "apiVersions":[]}]})",
                  service)),
              "nodes.json: \"usedGateways\" elements must be strings");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":{}})", service)),
              "nodes.json: \"services\" section must be array");
    EXPECT_EQ(outcome(mergeNodes(R"({"services":[]})", R"({"services":null})")),
              "services.json: \"services\" section must be array");
    // A single gateway name instead of a list is one name.
    EXPECT_EQ(
        outcome(mergeNodes(R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":"A",
                                     "apiVersions":[]}]})",
                           service)),
        "ok");
}

TEST(MergerNodesTest, MatchingVersionWithoutNodeGroups) {
    const char* nodes = R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":[]},{"version":"2"}]}]})";
    EXPECT_EQ(outcome(mergeNodes(nodes, R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"},{"version":"2"}]}]})")),
              "nodes.json: \"apiVersions.nodeGroups\" does not exists in service");
    // A version that no service has is not read.
    EXPECT_EQ(outcome(mergeNodes(nodes, R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"}]}]})")),
              "ok");
}

TEST(MergerNodesTest, AWrongTypeWaitsForEveryPresenceTest) {
    const char* entryOk =
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","apiVersions":[]}]})";
    // A wrong type in an earlier service, a missing member in a later one: the missing member.
    EXPECT_EQ(outcome(mergeNodes(entryOk, R"({"services":[
        {"subsystem":1,"deploymentUnit":"D","apiVersions":[]},
        {"subsystem":"S","apiVersions":[]}]})")),
              "services.json: \"deploymentUnit\" does not exists in service");
    // Wrong types on both sides: the nodes document's first, then the first of the services.
    EXPECT_EQ(outcome(mergeNodes(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","apiVersions":[]},
                                  {"subsystem":"S","deploymentUnit":"D","apiVersions":{}}]})",
                  R"({"services":[{"subsystem":1,"deploymentUnit":"D","apiVersions":[]}]})")),
              "nodes.json: \"apiVersions\" must be array");
    EXPECT_EQ(outcome(mergeNodes(entryOk, R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[],"usedGateways":[1]},
        {"subsystem":2,"deploymentUnit":"D","apiVersions":[]}]})")),
              "services.json: \"usedGateways\" elements must be strings");
    // A missing member of a service comes before a nodes document whose services are no array.
    EXPECT_EQ(outcome(mergeNodes(R"({"services":{"a":{"subsystem":"S","deploymentUnit":"D",
                                                       "apiVersions":[]}}})",
                                 R"({"services":[{"subsystem":"S"}]})")),
              "services.json: \"deploymentUnit\" does not exists in service");
}
