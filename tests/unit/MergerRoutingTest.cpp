#include "mergers/MergerRouting.h"

#include <gtest/gtest.h>

using json = Json;

namespace {

std::string outcome(const MergeResult& result) {
    return result.getIsOk() ? "ok" : result.getErrorFname() + ": " + result.getErrorMessage();
}

MergeResult mergeRouting(const char* routing, const char* services) {
    return MergerRouting(json::parse(routing)).merge(json::parse(services));
}

}  // namespace

TEST(MergerRoutingTest, DocumentsWithoutServices) {
    EXPECT_EQ(outcome(mergeRouting("{}", "{}")),
              "routing.json: \"services\" section does not exists");
    EXPECT_EQ(outcome(mergeRouting(R"({"services":[]})", R"({"routes":[]})")),
              "services.json: \"services\" section does not exists");
}

TEST(MergerRoutingTest, PairOrderDecidesTheFirstFailure) {
    // First entry, then every service, then the remaining entries.
    EXPECT_EQ(
        outcome(mergeRouting(
            R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1},{"subsystem":"S"}]})",
            R"({"services":[{"subsystem":"S","deploymentUnit":"D"},{"deploymentUnit":"D"}]})")),
        "services.json: \"subsystem\" does not exists in service");
    EXPECT_EQ(outcome(mergeRouting(R"({"services":[{"subsystem":"S","deploymentUnit":"D"}]})",
                                   R"({"services":[{"deploymentUnit":"D"}]})")),
              "routing.json: \"routing\" does not exists in service");
    EXPECT_EQ(
        outcome(mergeRouting(
            R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1},{"subsystem":"S"}]})",
            R"({"services":[{"subsystem":"S","deploymentUnit":"D"}]})")),
        "routing.json: \"deploymentUnit\" does not exists in service");
    // Without services no entry is tested, and without entries no service is.
    EXPECT_EQ(outcome(mergeRouting(R"({"services":[{"subsystem":"S"}]})", R"({"services":[]})")),
              "ok");
    EXPECT_EQ(outcome(mergeRouting(R"({"services":[]})", R"({"services":[{}]})")), "ok");
}

TEST(MergerRoutingTest, RoutingGoesToMatchingServicesLastEntryWins) {
    MergeResult result = mergeRouting(
        R"({"services":[
            {"subsystem":"S","deploymentUnit":"D","routing":"first"},
            {"subsystem":"S","deploymentUnit":"X","routing":"nobody"},
            {"subsystem":"S","deploymentUnit":"D","usedGateways":["other"],"routing":["second"]}]})",
        R"({"schema_version":"2","services":[
            {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"]},
            {"subsystem":"T","deploymentUnit":"D"},
            {"subsystem":"S","deploymentUnit":"D","routing":"old"}]})");
    ASSERT_EQ(outcome(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(R"({"schema_version":"2","services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["g"],"routing":["second"]},
        {"subsystem":"T","deploymentUnit":"D"},
        {"subsystem":"S","deploymentUnit":"D","routing":["second"]}]})"));
}

TEST(MergerRoutingTest, WrongTypes) {
    EXPECT_EQ(
        outcome(mergeRouting(R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1}]})",
                             R"({"services":[{"subsystem":"S","deploymentUnit":7}]})")),
        "services.json: \"deploymentUnit\" must be string");
    EXPECT_EQ(
        outcome(mergeRouting(R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1},
                                                   {"subsystem":["S"],"deploymentUnit":"D","routing":1}]})",
                             R"({"services":[{"subsystem":"S","deploymentUnit":"D"}]})")),
        "routing.json: \"subsystem\" must be string");
    EXPECT_EQ(outcome(mergeRouting(R"({"services":{}})", R"({"services":[]})")),
              "routing.json: \"services\" section must be array");
    // Gateways are not read by this step.
    EXPECT_EQ(outcome(mergeRouting(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1,
                                                    "usedGateways":[1]}]})",
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":[2]}]})")),
              "ok");
}

TEST(MergerRoutingTest, KeyTypesInPairOrderAfterEveryPresenceTest) {
    // The first entry's types, then every service's, then the remaining entries'.
    EXPECT_EQ(outcome(mergeRouting(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1},
                                  {"subsystem":"S","deploymentUnit":5,"routing":1}]})",
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D"},
                                  {"subsystem":3,"deploymentUnit":"D"}]})")),
              "services.json: \"subsystem\" must be string");
    EXPECT_EQ(
        outcome(mergeRouting(R"({"services":[{"subsystem":7,"deploymentUnit":"D","routing":1}]})",
                             R"({"services":[{"subsystem":3,"deploymentUnit":"D"}]})")),
        "routing.json: \"subsystem\" must be string");
    // A service's wrong type waits for a later service's and a later entry's missing member.
    EXPECT_EQ(outcome(mergeRouting(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1}]})",
                  R"({"services":[{"subsystem":3,"deploymentUnit":"D"},{"deploymentUnit":"D"}]})")),
              "services.json: \"subsystem\" does not exists in service");
    EXPECT_EQ(outcome(mergeRouting(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","routing":1},
                                  {"subsystem":"S","deploymentUnit":"D"}]})",
                  R"({"services":[{"subsystem":3,"deploymentUnit":"D"}]})")),
              "routing.json: \"routing\" does not exists in service");
}
