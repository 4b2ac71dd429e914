#include "mergers/MergerLimits.h"

#include <gtest/gtest.h>

using json = Json;

namespace {

std::string outcome(const MergeResult& result) {
    return result.getIsOk() ? "ok" : result.getErrorFname() + ": " + result.getErrorMessage();
}

MergeResult mergeLimits(const char* limits, const char* services) {
    return MergerLimits(json::parse(limits)).merge(json::parse(services));
}

}  // namespace

TEST(MergerLimitsTest, OnlyMissingServicesSectionsFail) {
    EXPECT_EQ(outcome(mergeLimits("{}", "{}")),
              "limits.json: \"services\" section does not exists");
    EXPECT_EQ(outcome(mergeLimits(R"({"services":[]})", "[]")),
              "services.json: \"services\" section does not exists");
    MergeResult result = mergeLimits(
        R"({"services":[{"deploymentUnit":"D","quotas":1},{"subsystem":"S","quotas":1},
                        {"subsystem":"S","deploymentUnit":"D"},7]})",
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":[]},{"subsystem":"S"},{}]})");
    ASSERT_EQ(outcome(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":[]},{"subsystem":"S"},{}]})"));
}

TEST(MergerLimitsTest, QuotasOfTheLastTakingPartEntry) {
    MergeResult result = mergeLimits(
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":["first"]},
                        {"subsystem":"S","deploymentUnit":"D"},
                        {"subsystem":"S","deploymentUnit":"D","usedGateways":["B"],"quotas":["B only"]}]})",
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":["A"]},
                        {"subsystem":"S","deploymentUnit":"D","usedGateways":["A","B"]},
                        {"subsystem":"S","deploymentUnit":"D"}]})");
    ASSERT_EQ(outcome(result), "ok");
    EXPECT_EQ(result.getJson(), json::parse(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["A"],"quotas":["first"]},
        {"subsystem":"S","deploymentUnit":"D","usedGateways":["A","B"],"quotas":["B only"]},
        {"subsystem":"S","deploymentUnit":"D"}]})"));
}

TEST(MergerLimitsTest, WrongTypesOnlyWhereRead) {
    const char* service =
        R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":["A"]}]})";
    EXPECT_EQ(outcome(mergeLimits(
                  R"({"services":[{"subsystem":1,"deploymentUnit":"D","quotas":[]}]})", service)),
              "limits.json: \"subsystem\" must be string");
    EXPECT_EQ(outcome(mergeLimits(R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":[],
                                                   "usedGateways":[null]}]})",
                                  service)),
              "limits.json: \"usedGateways\" elements must be strings");
    EXPECT_EQ(outcome(mergeLimits(
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":[]}]})",
                  R"({"services":[{"subsystem":"S","deploymentUnit":"D","usedGateways":[{}]}]})")),
              "services.json: \"usedGateways\" elements must be strings");
    EXPECT_EQ(outcome(mergeLimits(R"({"services":"all"})", service)),
              "limits.json: \"services\" section must be array");
    // An entry without "quotas" and a service without "usedGateways" take no part: their keys are
    // not read.
    EXPECT_EQ(
        outcome(mergeLimits(R"({"services":[{"subsystem":1,"deploymentUnit":"D"}]})", service)),
        "ok");
    EXPECT_EQ(
        outcome(mergeLimits(R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":[]}]})",
                            R"({"services":[{"subsystem":1,"deploymentUnit":"D"}]})")),
        "ok");
}

TEST(MergerLimitsTest, EntriesTypesBeforeServicesTypes) {
    const char* services = R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","usedGateways":[]},
        {"subsystem":1,"deploymentUnit":"D","usedGateways":[]}]})";
    EXPECT_EQ(outcome(mergeLimits(R"({"services":[
        {"subsystem":"S","deploymentUnit":"D","quotas":[]},
        {"subsystem":"S","deploymentUnit":"D","quotas":[],"usedGateways":[2]}]})",
                                  services)),
              "limits.json: \"usedGateways\" elements must be strings");
    EXPECT_EQ(
        outcome(mergeLimits(R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":[]}]})",
                            services)),
        "services.json: \"subsystem\" must be string");
    // A service that does not take part (no "usedGateways") is not read.
    EXPECT_EQ(
        outcome(mergeLimits(R"({"services":[{"subsystem":"S","deploymentUnit":"D","quotas":[]}]})",
                            R"({"services":[{"subsystem":1,"deploymentUnit":"D"},
                                  {"subsystem":"S","deploymentUnit":"D","usedGateways":[]}]})")),
        "ok");
}
