#include "checkers/LimitsChecker.h"

#include <gtest/gtest.h>

namespace {

std::string limitsMessage(const std::string& quotas) {
    const Json service =
        Json::parse(R"({"subsystem":"S","deploymentUnit":"D","quotas":)" + quotas + "}");
    return LimitsChecker(service).check().getErrorMessage();
}

}  // namespace

TEST(LimitsCheckerTest, QuotasAreOptionalButMustBeAnArray) {
    const Json service = Json::parse(R"({"subsystem":"S","deploymentUnit":"D"})");
    EXPECT_TRUE(LimitsChecker(service).check().getIsOk());
    EXPECT_EQ(LimitsChecker(service).check().getErrorMessage(), "\n");
    EXPECT_EQ(limitsMessage("[]"), "\n");
    EXPECT_EQ(limitsMessage("{}"), "\n\"quotas\" must be array\n");
}

TEST(LimitsCheckerTest, ValidQuotasPass) {
    EXPECT_EQ(limitsMessage(R"([{"type":"rpsdefault","rpslimit":0},
        {"type":"rpsbyconsumer","subsystem":"","deploymentUnit":"","rpslimit":2147483647}])"),
              "\n");
}

TEST(LimitsCheckerTest, EveryRuleOfAQuotaInOrder) {
    EXPECT_EQ(limitsMessage(R"([
        {"type":"rpsbyconsumer","rpslimit":-5},
        {"type":"RpsDefault"},
        {"type":5,"rpslimit":10.0},
        {"type":"rpsbyconsumer","subsystem":1,"deploymentUnit":[],"rpslimit":"10"},
        {"type":"rpsdefault","subsystem":1,"rpslimit":2147483648},
        "quota"])"),
              "\n"
              "\"quota.subsystem\" not exists\n"
              "\"quota.deploymentUnit\" not exists\n"
              "\"rpslimit\" must be unsigned number\n"
              "\"quota.type\" has invalid value. Fill in the field with value: "
              "\"rpsbyconsumer\" or \"rpsdefault\".\n"
              "\"rpslimit\" not exists\n"
              "\"quota.type\" must be string\n"
              "\"rpslimit\" must be unsigned number\n"
              "\"quota.subsystem\" must be string\n"
              "\"quota.deploymentUnit\" must be string\n"
              "\"rpslimit\" must be unsigned number\n"
              "\"rpslimit\" must be <= 2147483647\n"
              "\"quota.type\" not exists\n"
              "\"rpslimit\" not exists\n");
}
