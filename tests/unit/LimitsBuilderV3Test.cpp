#include "generator_v3/LimitsBuilderV3.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/ConfigHeaderScheme3.h"

using json = Json;

namespace {

const std::string k_header =
    "# ostrel v2.4.5 \n"
    "# scheme3\n";

struct Built {
    bool ok;
    std::string text;
    std::string log;
};

Built buildLimits(const json& quotas) {
    json service = {{"subsystem", "PAY"}, {"deploymentUnit", "pay-gate.main"}, {"quotas", quotas}};
    Built built;
    testing::internal::CaptureStdout();
    built.ok =
        LimitsBuilderV3(std::make_shared<ConfigHeaderScheme3>()).build(service, false, built.text);
    built.log = testing::internal::GetCapturedStdout();
    return built;
}

std::string warning(const std::string& count) {
    return "ostrel v2.4.5 INPUT FILE ='limits.json' NOT VALID: 'warning: rpsdefault count = " +
           count + ". rpsdefault must be uniq.'\n";
}

const std::string k_shopLimit =
    "    # SHOP_shop-front limit\n"
    "    map $http_zul_subsystemcode$http_zul_deploymentunit"
    " $PAY_pay_gate_main_SHOP_shop_front_limit_key {\n"
    "        default \"\";\n"
    "        \"SHOPshop-front\" \"1\";\n"
    "    }\n"
    "    limit_req_zone $PAY_pay_gate_main_SHOP_shop_front_limit_key"
    " zone=PAY_pay_gate_main_SHOP_shop_front_req_zone:10m rate=50r/s;\n"
    "\n";

std::string defaultLimit(const std::string& excludes, const std::string& rate) {
    return "# default subsystem limit \n"
           "    map $http_zul_subsystemcode$http_zul_deploymentunit"
           " $PAY_pay_gate_main_default_limit_key {\n"
           "        default $http_zul_subsystemcode$http_zul_deploymentunit;\n"
           "        \"\" \"1\";        # unknown subsystem\n" +
           excludes +
           "    }\n"
           "    limit_req_zone $PAY_pay_gate_main_default_limit_key"
           " zone=PAY_pay_gate_main_default_req_zone:10m rate=" +
           rate +
           "r/s;\n"
           "\n";
}

}  // namespace

TEST(LimitsBuilderV3Test, ConsumerQuotaAndDefault) {
    Built built = buildLimits(json::parse(R"([
        {"type": "rpsbyconsumer", "subsystem": "SHOP", "deploymentUnit": "shop-front",
         "rpslimit": 50},
        {"type": "rpsdefault", "rpslimit": 20}])"));
    EXPECT_TRUE(built.ok);
    EXPECT_EQ(built.log, "");
    EXPECT_EQ(
        built.text,
        k_header + k_shopLimit +
            defaultLimit("        \"SHOPshop-front\" \"\"; # exclude SHOPshop-front\n", "20"));
}

TEST(LimitsBuilderV3Test, TwoConsumersWithTheDefaultQuotaFirst) {
    Built built = buildLimits(json::parse(R"([
        {"type": "rpsdefault", "rpslimit": 0},
        {"type": "rpsbyconsumer", "subsystem": "SHOP", "deploymentUnit": "shop-front",
         "rpslimit": 50},
        {"type": "other", "subsystem": "X", "deploymentUnit": "y", "rpslimit": 1},
        {"type": "rpsbyconsumer", "subsystem": "CRM", "deploymentUnit": "crm.api",
         "rpslimit": 7}])"));
    EXPECT_TRUE(built.ok);
    EXPECT_EQ(built.text,
              k_header + k_shopLimit +
                  "    # CRM_crm.api limit\n"
                  "    map $http_zul_subsystemcode$http_zul_deploymentunit"
                  " $PAY_pay_gate_main_CRM_crm_api_limit_key {\n"
                  "        default \"\";\n"
                  "        \"CRMcrm.api\" \"1\";\n"
                  "    }\n"
                  "    limit_req_zone $PAY_pay_gate_main_CRM_crm_api_limit_key"
                  " zone=PAY_pay_gate_main_CRM_crm_api_req_zone:10m rate=7r/s;\n"
                  "\n" +
                  defaultLimit("        \"SHOPshop-front\" \"\"; # exclude SHOPshop-front\n"
                               "        \"CRMcrm.api\" \"\"; # exclude CRMcrm.api\n",
                               "0"));
}

TEST(LimitsBuilderV3Test, OnlyTheDefaultQuota) {
    Built built = buildLimits(json::parse(R"([{"type": "rpsdefault", "rpslimit": 20}])"));
    EXPECT_TRUE(built.ok);
    EXPECT_EQ(built.text, k_header + defaultLimit("", "20"));
}

TEST(LimitsBuilderV3Test, DefaultQuotaCountOtherThanOneIsReported) {
    Built none = buildLimits(json::array());
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.log, warning("0"));
    // The file still defines the default zone that the locations name.
    EXPECT_EQ(none.text, k_header + defaultLimit("", LimitsBuilderV3::k_rateWithoutDefaultQuota));
    EXPECT_EQ(std::string(LimitsBuilderV3::k_rateWithoutDefaultQuota), "100");

    Built two = buildLimits(json::parse(R"([{"type": "rpsdefault", "rpslimit": 20},
        {"type": "rpsdefault", "rpslimit": 30}])"));
    EXPECT_FALSE(two.ok);
    EXPECT_EQ(two.log, warning("2"));
    EXPECT_EQ(two.text, k_header + defaultLimit("", "30"));
}

TEST(LimitsBuilderV3Test, RatesBeyondSignedRangeAreWrittenExactly) {
    Built built = buildLimits(json::parse(R"([{"type": "rpsdefault", "rpslimit": 3000000000}])"));
    EXPECT_EQ(built.text, k_header + defaultLimit("", "3000000000"));
    EXPECT_NO_THROW(buildLimits(json::parse(R"([5, {"type": 1}, {"type": "rpsbyconsumer"},
        {"type": "rpsdefault", "rpslimit": "x"}])")));
    EXPECT_NO_THROW(buildLimits("not a list"));
}
