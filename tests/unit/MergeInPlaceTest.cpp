// Merge steps that change the services document itself instead of copying it, and the merger
// that takes the input's documents over.
#include <gtest/gtest.h>

#include "cli/InputData.h"
#include "generator_v3/GenerationSteps.h"
#include "mergers/Merger.h"
#include "mergers/MergerLimits.h"
#include "mergers/MergerNodes.h"
#include "mergers/MergerRouting.h"
#include "mergers/MergerRoutingV0.h"
#include "mergers/MergerV0.h"

using json = Json;

TEST(MergeInPlaceTest, NodesFailureFoundAfterMatchesLeavesDocumentAsItWas) {
    // The first entry would give a null "usedGateways" and the second node groups, before the
    // third is found without "nodeGroups" for a version the service has.
    MergerNodes step(json::parse(R"({"protocols":{"http":{"port":80}},"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],
         "apiVersions":[{"version":"1","nodeGroups":["bound"]}]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1","nodeGroups":["n"]}]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"}]}]})"));
    const json original = json::parse(
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"}]}]})");
    json document = original;
    MergeResult result = step.mergeInPlace(document);
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorFname(), "nodes.json");
    EXPECT_EQ(result.getErrorMessage(), "\"apiVersions.nodeGroups\" does not exists in service");
    EXPECT_EQ(document, original);
}

TEST(MergeInPlaceTest, StepsChangeTheDocumentAsMergeWouldReturnIt) {
    const json services = json::parse(R"({"schema_version":"3","services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"1"},{"version":"2"}]},
        {"subsystem":"S","deploymentUnit":"E","usedGateways":["g"],"apiVersions":[{"version":"1"}]}]})");
    const json nodes = json::parse(R"({"protocols":"p","services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],"apiVersions":[{"version":"1","nodeGroups":["x"]}]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"2","nodeGroups":["old"]}]},
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"version":"2","nodeGroups":["new"]}]},
        {"subsystem":"S","deploymentUnit":"E","usedGateways":["g"],"apiVersions":[{"version":"1","nodeGroups":["e"]}]}]})");
    const json routing = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"E","routing":["r1"]},
        {"subsystem":"S","deploymentUnit":"E","routing":["r2"]}]})");
    const json limits = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"E","usedGateways":["h"],"quotas":["other"]},
        {"subsystem":"S","deploymentUnit":"E","quotas":["q"]}]})");

    MergerNodes nodesStep(nodes);
    MergerRouting routingStep(routing);
    MergerLimits limitsStep(limits);
    MergerRoutingV0 routingV0Step(json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","apiVersions":[{"routing":["first"]},{"routing":["second"]}]}]})"));
    for (MergerBase* step :
         std::initializer_list<MergerBase*>{&nodesStep, &routingStep, &limitsStep, &routingV0Step}) {
        json document = services;
        ASSERT_TRUE(step->mergeInPlace(document).getIsOk());
        EXPECT_EQ(document, step->merge(services).getJson());
    }

    json document = services;
    ASSERT_TRUE(nodesStep.mergeInPlace(document).getIsOk());
    EXPECT_EQ(document, json::parse(R"({"schema_version":"3","protocols":"p","services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":null,
         "apiVersions":[{"version":"1"},{"version":"2","nodeGroups":["new"]}]},
        {"subsystem":"S","deploymentUnit":"E","usedGateways":["g"],
         "apiVersions":[{"version":"1","nodeGroups":["e"]}]}]})"));
    document = services;
    ASSERT_TRUE(routingV0Step.mergeInPlace(document).getIsOk());
    EXPECT_EQ(document["services"][0]["routing"], json::parse(R"(["first"])"));
}

TEST(MergeInPlaceTest, TakingMergerLeavesTheInputPresentAndMergesAlike) {
    const json services = json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "usedGateways":["g"],"apiVersions":[{"version":"1"}]}]})");
    const json nodes = json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":["n"]}]}]})");
    const json routing = json::parse(
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":["r"]}]})");
    const json limits = json::parse(
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":["q"]}]})");
    InputData input(InputFlags(ArgumentMap()), InputJson("services.json", services),
                    InputJson("nodes.json", nodes), InputJson("routing.json", routing),
                    InputJson("limits.json", limits), "out");
    const json expected = generation::defaultMerger(input).merge(services).getJson();

    MergeResult taken = generation::takingMerger(input).merge(services);
    EXPECT_EQ(taken.getJson(), expected);
    EXPECT_TRUE(input.nodesRef().isPresent());
    EXPECT_TRUE(input.routingRef().isPresent());
    EXPECT_TRUE(input.limitsRef().isPresent());
    EXPECT_TRUE(input.nodesRef().json().is_null());
}

TEST(MergeInPlaceTest, SpendingMergeGivesEveryMatchTheValue) {
    // Two services with the same keys (as a gateway named twice leaves them), one of them with
    // the same version twice: every match must receive the value, not only the last.
    const json services = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],
         "apiVersions":[{"version":"1"},{"version":"1"}]},
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],"apiVersions":[{"version":"1"}]}]})");
    const json nodes = json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"version":"1","nodeGroups":["n"]}]}]})");
    const json routing = json::parse(
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":["r"]}]})");
    const json limits = json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],"quotas":["q"]}]})");
    const json expected = Merger(nodes, routing, limits).merge(services).getJson();
    EXPECT_EQ(expected["services"][0]["apiVersions"][1]["nodeGroups"], json::parse(R"(["n"])"));
    EXPECT_EQ(expected["services"][1]["quotas"], json::parse(R"(["q"])"));

    Merger spent(nodes, routing, limits);
    EXPECT_EQ(spent.mergeSpending(json(services)).getJson(), expected);
    MergerV0 spentV0(nodes, json::parse(R"({"services":[{"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"routing":["first"]}]}]})"));
    const json mergedV0 = spentV0.mergeSpending(json(services)).getJson();
    EXPECT_EQ(mergedV0["services"][0]["routing"], json::parse(R"(["first"])"));
    EXPECT_EQ(mergedV0["services"][1]["routing"], json::parse(R"(["first"])"));
}
